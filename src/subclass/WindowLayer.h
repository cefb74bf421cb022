#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class QWidget;

// A small window-message layer in the manner of the classic desktop API:
// integer window handles, a window procedure per handle that can be replaced,
// a property store per window, SendMessage, and destruction that delivers
// WM_DESTROY. Widgets that take part register a handle; everything else in
// Qt is untouched by it.
namespace win {

using HWND = std::int32_t;
using WPARAM = std::intptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using WNDPROC = LRESULT (*)(HWND hWnd, std::int32_t iMsg, WPARAM wParam, LPARAM lParam);

constexpr std::int32_t WM_DESTROY = 2;
constexpr std::int32_t WM_NOTIFY = 78;

// Registers a window and its own (base) procedure; userData is handed back by
// GetUserData so the procedure can find its object. Handles are never reused.
HWND CreateWindowHandle(QWidget *widget, WNDPROC baseProc, void *userData = nullptr);

// The same for a window that belongs to another process (its owner id given).
HWND CreateForeignWindowHandle(WNDPROC baseProc, std::int64_t ownerProcessId);

// Delivers WM_DESTROY through the window's current procedure, then the handle
// and all its properties are gone.
void DestroyWindow(HWND hWnd);

bool IsWindow(HWND hWnd);
std::int64_t GetWindowProcessId(HWND hWnd);
std::int64_t GetCurrentProcessId();

HWND HandleOf(const QWidget *widget); // 0 when the widget has none
QWidget *WidgetOf(HWND hWnd);
void *GetUserData(HWND hWnd);

WNDPROC GetWindowProc(HWND hWnd);
// Installs a new procedure; answers the previous one, or nullptr on failure.
WNDPROC SetWindowProc(HWND hWnd, WNDPROC newProc);
LRESULT CallWindowProc(WNDPROC proc, HWND hWnd, std::int32_t iMsg, WPARAM wParam, LPARAM lParam);
// Calls the window's current procedure; 0 for a handle that is no window.
LRESULT SendMessage(HWND hWnd, std::int32_t iMsg, WPARAM wParam, LPARAM lParam);

// Named 64-bit values per window (wide enough for an address).
bool SetProp(HWND hWnd, const QString &name, std::intptr_t value); // false: no such window
std::intptr_t GetProp(HWND hWnd, const QString &name);              // 0 when missing
std::intptr_t RemoveProp(HWND hWnd, const QString &name);
QStringList PropNames(HWND hWnd);

} // namespace win
