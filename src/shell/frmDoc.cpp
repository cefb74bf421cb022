#include "frmDoc.h"

#include "editor/clsScintilla.h"
#include "frmMain.h"
#include "platform/MessageBoxSeam.h"

#include <QCloseEvent>

const QString frmDoc::DefaultHighlighter = QStringLiteral("CPP");

frmDoc::frmDoc(frmMain *mdiParent)
    : m_mdiParent(mdiParent)
{
    m_hWnd = win::CreateWindowHandle(this, &frmDoc::WindowProc, this);
}

// The window goes first (WM_DESTROY takes the hooks off it), then the editor,
// which also forgets any registration it still holds.
frmDoc::~frmDoc()
{
    win::DestroyWindow(m_hWnd);
    sciMain.reset();
}

win::LRESULT frmDoc::WindowProc(win::HWND, std::int32_t, win::WPARAM, win::LPARAM)
{
    return 0;
}

QSize frmDoc::sizeHint() const
{
    return QSize(312, 213); // design client area, 4680 x 3195 twips
}

void frmDoc::Form_Load()
{
    sciMain = std::make_unique<clsScintilla>();

    sciMain->CreateScintilla(this, vbTrue, m_mdiParent);
    sciMain->ScrollWidth(10000);
    sciMain->Attach(this);
    sciMain->Folding(vbTrue);
    sciMain->ShowCallTips(vbTrue);
    sciMain->LineNumbers(vbTrue);
    sciMain->AutoIndent(vbTrue);
    sciMain->SetMarginWidth(0, LineNumberMarginWidth);
}

void frmDoc::Form_Activate()
{
    if (sciMain)
        sciMain->SetFocus();
}

void frmDoc::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (sciMain)
        sciMain->SizeScintilla(0, 0, width(), height());
}

// Yes saves by the Save command's rule; a save that does not happen (it
// failed, or no file name was chosen) keeps the window open.
bool frmDoc::QueryClose()
{
    if (!sciMain)
        return true;
    if (sciMain->IsLoading())
        return false; // the file is still coming in
    if (!sciMain->Modified())
        return true;

    const QString text = QStringLiteral("文件 [") + windowTitle() + QStringLiteral("]\r\n")
                         + QStringLiteral("已经发生修改.  请问是否保存?");
    switch (MsgBox(this, text, QStringLiteral("已修改"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                   QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return m_mdiParent->SaveDoc(this);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void frmDoc::closeEvent(QCloseEvent *event)
{
    if ((m_closeApproved && !(sciMain && sciMain->IsLoading())) || QueryClose())
        event->accept();
    else
        event->ignore();
}
