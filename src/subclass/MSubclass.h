#pragma once

#include "ISubclass.h"
#include "WindowLayer.h"

// The message-hook engine. A listener registers for one (window, message)
// pair at a time; the first registration on a window installs the engine's
// own procedure in front of the window's, which then fans every registered
// message out to its listeners, most recent first, and calls the previous
// procedure before, after or not at all, as the first listener asks.
//
// All bookkeeping lives in the window's own property store under names built
// from decimal numbers (H = window handle, M = message, I = list position):
//   H          the window's previous procedure
//   "C" H      registrations held on the window, over all messages
//   H#M"C"     listeners registered for the message
//   H#M#I      the listener at position I (its raw identity, not a reference)
// Registrations do not keep a listener alive: it must detach itself, or its
// window be destroyed, before it goes away.
class MSubclass
{
public:
    static constexpr long eeCantSubclass = 13081;
    static constexpr long eeAlreadyAttached = 13082;
    static constexpr long eeInvalidWindow = 13083;
    static constexpr long eeNoExternalWindow = 13084;

    // Raises RuntimeError with the numbers above (as object errors) or 5.
    static void AttachMessage(ISubclass *iwp, win::HWND hWnd, std::int32_t iMsg);
    // Silent in every failure case.
    static void DetachMessage(ISubclass *iwp, win::HWND hWnd, std::int32_t iMsg);

    static std::int32_t CurrentMessage();
    static win::LRESULT CallOldWindowProc(win::HWND hWnd, std::int32_t iMsg, win::WPARAM wParam,
                                          win::LPARAM lParam);

    // Record names, as stored on the window.
    static QString OldProcName(win::HWND hWnd);
    static QString AttachCountName(win::HWND hWnd);
    static QString ClientCountName(win::HWND hWnd, std::int32_t iMsg);
    static QString ClientName(win::HWND hWnd, std::int32_t iMsg, long index);

    // The error number a subclassing error is raised with (0x80040000 + n).
    static long ObjectErrorNumber(long number);

private:
    static long WindowAttachCount(win::HWND hWnd);
    static void WindowAttachCount(win::HWND hWnd, long count);
    static win::WNDPROC OldWindowProc(win::HWND hWnd);
    static void OldWindowProc(win::HWND hWnd, win::WNDPROC proc);
    static long MessageClientCount(win::HWND hWnd, std::int32_t iMsg);
    static void MessageClientCount(win::HWND hWnd, std::int32_t iMsg, long count);
    static ISubclass *MessageClient(win::HWND hWnd, std::int32_t iMsg, long index);
    static void MessageClient(win::HWND hWnd, std::int32_t iMsg, long index, ISubclass *client);
    static void Store(win::HWND hWnd, const QString &name, std::intptr_t value);

    static bool IsOwnProcessWindow(win::HWND hWnd);
    static void RemoveSubclass(win::HWND hWnd);
    static win::LRESULT SubclassWindowProc(win::HWND hWnd, std::int32_t iMsg, win::WPARAM wParam,
                                           win::LPARAM lParam);
    [[noreturn]] static void RaiseSubclassError(long number);

    static inline std::int32_t s_currentMessage = 0;
    static inline bool s_lastStoreSucceeded = true;
};
