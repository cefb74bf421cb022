#include "GSubclass.h"

#include "MSubclass.h"

void GSubclass::AttachMessage(ISubclass *iwp, win::HWND hWnd, std::int32_t iMsg)
{
    MSubclass::AttachMessage(iwp, hWnd, iMsg);
}

void GSubclass::DetachMessage(ISubclass *iwp, win::HWND hWnd, std::int32_t iMsg)
{
    MSubclass::DetachMessage(iwp, hWnd, iMsg);
}

std::int32_t GSubclass::CurrentMessage()
{
    return MSubclass::CurrentMessage();
}

win::LRESULT GSubclass::CallOldWindowProc(win::HWND hWnd, std::int32_t iMsg, win::WPARAM wParam,
                                          win::LPARAM lParam)
{
    return MSubclass::CallOldWindowProc(hWnd, iMsg, wParam, lParam);
}
