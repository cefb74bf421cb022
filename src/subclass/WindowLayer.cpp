#include "WindowLayer.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <unistd.h>

namespace win {
namespace {

struct WindowEntry
{
    QPointer<QWidget> widget;
    WNDPROC proc = nullptr;
    void *userData = nullptr;
    std::int64_t processId = 0;
    QHash<QString, std::intptr_t> props;
};

struct WindowTable
{
    QHash<HWND, WindowEntry> windows;
    QHash<const QWidget *, HWND> byWidget;
    HWND nextHandle = 0x10000;
};

WindowTable &Table()
{
    static WindowTable table;
    return table;
}

WindowEntry *Find(HWND hWnd)
{
    auto it = Table().windows.find(hWnd);
    return it == Table().windows.end() ? nullptr : &it.value();
}

HWND Register(QWidget *widget, WNDPROC baseProc, void *userData, std::int64_t processId)
{
    WindowTable &table = Table();
    const HWND handle = table.nextHandle++;
    WindowEntry entry;
    entry.widget = widget;
    entry.proc = baseProc;
    entry.userData = userData;
    entry.processId = processId;
    table.windows.insert(handle, entry);
    if (widget)
        table.byWidget.insert(widget, handle);
    return handle;
}

} // namespace

HWND CreateWindowHandle(QWidget *widget, WNDPROC baseProc, void *userData)
{
    return Register(widget, baseProc, userData, GetCurrentProcessId());
}

HWND CreateForeignWindowHandle(WNDPROC baseProc, std::int64_t ownerProcessId)
{
    return Register(nullptr, baseProc, nullptr, ownerProcessId);
}

void DestroyWindow(HWND hWnd)
{
    if (!IsWindow(hWnd))
        return;
    SendMessage(hWnd, WM_DESTROY, 0, 0);
    WindowTable &table = Table();
    auto it = table.windows.find(hWnd);
    if (it == table.windows.end())
        return;
    table.byWidget.remove(it->widget.data());
    table.windows.erase(it);
}

bool IsWindow(HWND hWnd)
{
    return Find(hWnd) != nullptr;
}

std::int64_t GetWindowProcessId(HWND hWnd)
{
    const WindowEntry *entry = Find(hWnd);
    return entry ? entry->processId : 0;
}

std::int64_t GetCurrentProcessId()
{
    return std::int64_t(::getpid());
}

HWND HandleOf(const QWidget *widget)
{
    return Table().byWidget.value(widget, 0);
}

QWidget *WidgetOf(HWND hWnd)
{
    const WindowEntry *entry = Find(hWnd);
    return entry ? entry->widget.data() : nullptr;
}

void *GetUserData(HWND hWnd)
{
    const WindowEntry *entry = Find(hWnd);
    return entry ? entry->userData : nullptr;
}

WNDPROC GetWindowProc(HWND hWnd)
{
    const WindowEntry *entry = Find(hWnd);
    return entry ? entry->proc : nullptr;
}

WNDPROC SetWindowProc(HWND hWnd, WNDPROC newProc)
{
    WindowEntry *entry = Find(hWnd);
    if (!entry || !newProc)
        return nullptr;
    WNDPROC previous = entry->proc;
    entry->proc = newProc;
    return previous;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hWnd, std::int32_t iMsg, WPARAM wParam, LPARAM lParam)
{
    return proc ? proc(hWnd, iMsg, wParam, lParam) : 0;
}

LRESULT SendMessage(HWND hWnd, std::int32_t iMsg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProc(GetWindowProc(hWnd), hWnd, iMsg, wParam, lParam);
}

bool SetProp(HWND hWnd, const QString &name, std::intptr_t value)
{
    WindowEntry *entry = Find(hWnd);
    if (!entry)
        return false;
    entry->props.insert(name, value);
    return true;
}

std::intptr_t GetProp(HWND hWnd, const QString &name)
{
    const WindowEntry *entry = Find(hWnd);
    return entry ? entry->props.value(name, 0) : 0;
}

std::intptr_t RemoveProp(HWND hWnd, const QString &name)
{
    WindowEntry *entry = Find(hWnd);
    return entry ? entry->props.take(name) : 0;
}

QStringList PropNames(HWND hWnd)
{
    const WindowEntry *entry = Find(hWnd);
    return entry ? QStringList(entry->props.keyBegin(), entry->props.keyEnd()) : QStringList();
}

} // namespace win
