#include "MSubclass.h"

#include "platform/RuntimeError.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace win;

QString MSubclass::OldProcName(HWND hWnd)
{
    return QString::number(hWnd);
}

QString MSubclass::AttachCountName(HWND hWnd)
{
    return QLatin1Char('C') + QString::number(hWnd);
}

QString MSubclass::ClientCountName(HWND hWnd, std::int32_t iMsg)
{
    return QString::number(hWnd) + QLatin1Char('#') + QString::number(iMsg) + QLatin1Char('C');
}

QString MSubclass::ClientName(HWND hWnd, std::int32_t iMsg, long index)
{
    return QString::number(hWnd) + QLatin1Char('#') + QString::number(iMsg) + QLatin1Char('#')
           + QString::number(index);
}

long MSubclass::ObjectErrorNumber(long number)
{
    return long(0x80040000L + number);
}

// Storing 0 removes the record; a window that is gone makes the store fail.
void MSubclass::Store(HWND hWnd, const QString &name, std::intptr_t value)
{
    if (value == 0) {
        s_lastStoreSucceeded = IsWindow(hWnd);
        RemoveProp(hWnd, name);
    } else {
        s_lastStoreSucceeded = SetProp(hWnd, name, value);
    }
}

long MSubclass::WindowAttachCount(HWND hWnd)
{
    return long(GetProp(hWnd, AttachCountName(hWnd)));
}

void MSubclass::WindowAttachCount(HWND hWnd, long count)
{
    Store(hWnd, AttachCountName(hWnd), count);
}

WNDPROC MSubclass::OldWindowProc(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(GetProp(hWnd, OldProcName(hWnd)));
}

void MSubclass::OldWindowProc(HWND hWnd, WNDPROC proc)
{
    Store(hWnd, OldProcName(hWnd), reinterpret_cast<std::intptr_t>(proc));
}

long MSubclass::MessageClientCount(HWND hWnd, std::int32_t iMsg)
{
    return long(GetProp(hWnd, ClientCountName(hWnd, iMsg)));
}

void MSubclass::MessageClientCount(HWND hWnd, std::int32_t iMsg, long count)
{
    Store(hWnd, ClientCountName(hWnd, iMsg), count);
}

ISubclass *MSubclass::MessageClient(HWND hWnd, std::int32_t iMsg, long index)
{
    return reinterpret_cast<ISubclass *>(GetProp(hWnd, ClientName(hWnd, iMsg, index)));
}

void MSubclass::MessageClient(HWND hWnd, std::int32_t iMsg, long index, ISubclass *client)
{
    Store(hWnd, ClientName(hWnd, iMsg, index), reinterpret_cast<std::intptr_t>(client));
}

bool MSubclass::IsOwnProcessWindow(HWND hWnd)
{
    return GetWindowProcessId(hWnd) == GetCurrentProcessId();
}

std::int32_t MSubclass::CurrentMessage()
{
    return s_currentMessage;
}

void MSubclass::AttachMessage(ISubclass *iwp, HWND hWnd, std::int32_t iMsg)
{
    if (!IsWindow(hWnd))
        RaiseSubclassError(eeInvalidWindow);
    if (!IsOwnProcessWindow(hWnd))
        RaiseSubclassError(eeNoExternalWindow);

    const long n = MessageClientCount(hWnd, iMsg);
    for (long i = 1; i <= n; ++i)
        if (MessageClient(hWnd, iMsg, i) == iwp)
            RaiseSubclassError(eeAlreadyAttached);

    MessageClientCount(hWnd, iMsg, n + 1);
    if (!s_lastStoreSucceeded)
        RaiseSubclassError(RuntimeError::InvalidProcedureCall);

    MessageClient(hWnd, iMsg, n + 1, iwp);
    if (!s_lastStoreSucceeded) {
        MessageClientCount(hWnd, iMsg, n);
        RaiseSubclassError(RuntimeError::InvalidProcedureCall);
    }

    auto undoRegistration = [&] {
        MessageClient(hWnd, iMsg, n + 1, nullptr);
        MessageClientCount(hWnd, iMsg, n);
    };

    if (WindowAttachCount(hWnd) == 0) {
        const WNDPROC previous = SetWindowProc(hWnd, &MSubclass::SubclassWindowProc);
        if (!previous) {
            undoRegistration();
            RaiseSubclassError(eeCantSubclass);
        }
        OldWindowProc(hWnd, previous);
        if (!s_lastStoreSucceeded) {
            SetWindowProc(hWnd, previous);
            undoRegistration();
            RaiseSubclassError(RuntimeError::InvalidProcedureCall);
        }
    }

    WindowAttachCount(hWnd, WindowAttachCount(hWnd) + 1);
    if (!s_lastStoreSucceeded) {
        undoRegistration();
        if (WindowAttachCount(hWnd) == 0) {
            if (const WNDPROC saved = OldWindowProc(hWnd))
                SetWindowProc(hWnd, saved);
            OldWindowProc(hWnd, nullptr);
        }
        RaiseSubclassError(RuntimeError::InvalidProcedureCall);
    }
}

void MSubclass::DetachMessage(ISubclass *iwp, HWND hWnd, std::int32_t iMsg)
{
    if (!IsWindow(hWnd) || !IsOwnProcessWindow(hWnd))
        return;
    const long n = MessageClientCount(hWnd, iMsg);
    if (n <= 0)
        return;

    long k = 0;
    for (long i = 1; i <= n; ++i) {
        if (MessageClient(hWnd, iMsg, i) == iwp) {
            k = i;
            break;
        }
    }
    if (k == 0)
        return;

    for (long i = k; i < n; ++i)
        MessageClient(hWnd, iMsg, i, MessageClient(hWnd, iMsg, i + 1));
    MessageClient(hWnd, iMsg, n, nullptr);
    MessageClientCount(hWnd, iMsg, n - 1);

    const long attached = WindowAttachCount(hWnd);
    if (attached == 1) {
        if (const WNDPROC saved = OldWindowProc(hWnd))
            SetWindowProc(hWnd, saved);
        OldWindowProc(hWnd, nullptr);
    }
    WindowAttachCount(hWnd, attached - 1);
}

void MSubclass::RemoveSubclass(HWND hWnd)
{
    if (WindowAttachCount(hWnd) > 0) {
        if (const WNDPROC saved = OldWindowProc(hWnd))
            SetWindowProc(hWnd, saved);
        OldWindowProc(hWnd, nullptr);
        WindowAttachCount(hWnd, 0);
    }
}

LRESULT MSubclass::CallOldWindowProc(HWND hWnd, std::int32_t iMsg, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC previous = OldWindowProc(hWnd);
    return previous ? CallWindowProc(previous, hWnd, iMsg, wParam, lParam) : 0;
}

LRESULT MSubclass::SubclassWindowProc(HWND hWnd, std::int32_t iMsg, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC previous = OldWindowProc(hWnd);
    if (!previous)
        return 0;

    const long n = MessageClientCount(hWnd, iMsg);
    if (n < 1) {
        if (iMsg == WM_DESTROY)
            RemoveSubclass(hWnd);
        return CallWindowProc(previous, hWnd, iMsg, wParam, lParam);
    }

    // Listeners may attach or detach while we dispatch: the count is read
    // once, each entry is read afresh, and empty positions are skipped.
    bool called = false;
    LRESULT result = 0;
    ISubclass *last = nullptr;
    for (long i = n; i >= 1; --i) {
        ISubclass *listener = MessageClient(hWnd, iMsg, i);
        if (!listener)
            continue;
        last = listener;
        s_currentMessage = iMsg;
        if (i == 1 && listener->MsgResponse() == emrPreprocess && !called) {
            CallWindowProc(previous, hWnd, iMsg, wParam, lParam);
            called = true;
        }
        result = listener->WindowProc(hWnd, iMsg, wParam, lParam);
    }
    if (last && last->MsgResponse() == emrPostProcess && !called)
        result = CallWindowProc(previous, hWnd, iMsg, wParam, lParam);
    return result;
}

void MSubclass::RaiseSubclassError(long number)
{
    if (number > 1000) {
        static const QHash<long, QString> descriptions = {
            {eeCantSubclass, QStringLiteral("Can't subclass window")},
            {eeAlreadyAttached, QStringLiteral("Message already handled by another class")},
            {eeInvalidWindow, QStringLiteral("Invalid window")},
            {eeNoExternalWindow, QStringLiteral("Can't modify external window")},
        };
        const QString exeName = QCoreApplication::instance()
                                    ? QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
                                    : QStringLiteral("ferrolan");
        throw RuntimeError(ObjectErrorNumber(number), exeName + QStringLiteral(".WindowProc"),
                           descriptions.value(number));
    }
    throw RuntimeError(number, QString(), QStringLiteral("Invalid procedure call or argument"));
}
