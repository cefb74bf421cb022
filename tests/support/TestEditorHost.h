#pragma once

#include "editor/clsScintilla.h"
#include "subclass/WindowLayer.h"

#include <QList>
#include <QWidget>
#include <memory>

// A host window with a real editor in it, attached the way a document window
// attaches its editor, and a base procedure that records what reaches it.
class TestEditorHost : public QWidget
{
public:
    TestEditorHost();
    ~TestEditorHost() override;

    win::HWND hWnd() const { return m_hWnd; }
    clsScintilla &sci() { return *m_sci; }

    // Messages that reached the host's own procedure.
    QList<std::int32_t> seenByHost;

    // Replaces the editor's text directly (a test fixture, not the wrapper's API).
    void SetTextRaw(const QByteArray &bytes);
    void MoveCaret(long position);

private:
    static win::LRESULT HostProc(win::HWND hWnd, std::int32_t iMsg, win::WPARAM wParam, win::LPARAM lParam);

    win::HWND m_hWnd = 0;
    std::unique_ptr<clsScintilla> m_sci;
};
