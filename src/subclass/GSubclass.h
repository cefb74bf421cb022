#pragma once

#include "ISubclass.h"

// The service as its clients see it: every member forwards to MSubclass.
class GSubclass
{
public:
    // Start subclassing for a particular message.
    static void AttachMessage(ISubclass *iwp, win::HWND hWnd, std::int32_t iMsg);
    // Stop subclassing for a particular message.
    static void DetachMessage(ISubclass *iwp, win::HWND hWnd, std::int32_t iMsg);
    // Returns the message currently being worked on.  Only valid in the
    // MsgResponse and WindowProc items of your implemented interface.
    static std::int32_t CurrentMessage();
    // Calls the window procedure for this handle which was installed before
    // you added the subclass.
    static win::LRESULT CallOldWindowProc(win::HWND hWnd, std::int32_t iMsg, win::WPARAM wParam,
                                          win::LPARAM lParam);
};
