#pragma once

#include "WindowLayer.h"

// How a listener wants the window's previous procedure handled for the
// message it is being told about. Only the first-registered listener of a
// message decides; any other value behaves as consume.
enum EMsgResponse {
    emrConsume = 0,     // the previous procedure never sees the message
    emrPostProcess = 1, // it runs after all listeners; its result is the message result
    emrPreprocess = 2,  // it runs just before the first-registered listener
};

// The callback interface of an object that listens to messages of a window
// it does not own (see MSubclass).
class ISubclass
{
public:
    virtual ~ISubclass() = default;

    // Get/set how you will respond to a message.  Raised whenever a message is
    // encountered.  Call the CurrentMessage property to determine what message
    // you are currently responding to.
    virtual int MsgResponse() { return emrConsume; }
    virtual void MsgResponse(int /*response*/) {}

    // Raised whenever a message you have subclassed is sent.
    virtual win::LRESULT WindowProc(win::HWND /*hWnd*/, std::int32_t /*iMsg*/, win::WPARAM /*wParam*/,
                                    win::LPARAM /*lParam*/)
    {
        return 0;
    }
};
