#include "TestEditorHost.h"

#include "editor/EditorWindow.h"

TestEditorHost::TestEditorHost()
{
    resize(400, 300);
    m_hWnd = win::CreateWindowHandle(this, &TestEditorHost::HostProc, this);
    m_sci = std::make_unique<clsScintilla>();
    m_sci->CreateScintilla(this, vbFalse, nullptr);
    m_sci->SizeScintilla(0, 0, 400, 300);
    m_sci->Attach(this);
}

TestEditorHost::~TestEditorHost()
{
    win::DestroyWindow(m_hWnd);
    m_sci.reset();
}

win::LRESULT TestEditorHost::HostProc(win::HWND hWnd, std::int32_t iMsg, win::WPARAM, win::LPARAM)
{
    if (auto *host = static_cast<TestEditorHost *>(win::GetUserData(hWnd)))
        host->seenByHost.append(iMsg);
    return 0;
}

void TestEditorHost::SetTextRaw(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    m_sci->Editor()->SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0UL, copy.data());
}

void TestEditorHost::MoveCaret(long position)
{
    m_sci->Editor()->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(position));
}
