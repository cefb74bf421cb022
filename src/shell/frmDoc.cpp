#include "frmDoc.h"

#include "StatusBarPanels.h"
#include "editor/clsScintilla.h"
#include "frmMain.h"
#include "platform/MessageBoxSeam.h"
#include "highlight/modHighlighter.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

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
    connect(sciMain.get(), &clsScintilla::UpdateUI, this, &frmDoc::sciMain_UpdateUI);
    connect(sciMain.get(), &clsScintilla::SavePointLeft, this, &frmDoc::sciMain_SavePointLeft);
    connect(sciMain.get(), &clsScintilla::SavePointReached, this, &frmDoc::sciMain_SavePointReached);
    connect(sciMain.get(), &clsScintilla::EncodingChanged, this, &frmDoc::sciMain_EncodingChanged);

    sciMain->CreateScintilla(this, vbTrue, m_mdiParent);
    sciMain->ScrollWidth(10000);
    sciMain->Attach(this);
    sciMain->Folding(vbTrue);
    sciMain->ShowCallTips(vbTrue);
    sciMain->LineNumbers(vbTrue);
    sciMain->AutoIndent(vbTrue);
    sciMain->SetMarginWidth(0, 50);

    ApplyHighlighter(*sciMain, QStringLiteral("CPP"));
}

void frmDoc::Form_Activate()
{
    if (!sciMain)
        return;
    sciMain->SetFocus();
    sciMain_UpdateUI();
    ShowModifiedMarker();
    m_mdiParent->stb->SetPanelText(3, sciMain->Encoding().Name());
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

void frmDoc::sciMain_UpdateUI()
{
    const QString text = QStringLiteral("当前行: ") + QString::number(sciMain->GetCurLine())
                         + QStringLiteral(" 列: ") + QString::number(sciMain->GetColumn())
                         + QStringLiteral(" 总行数: ") + QString::number(sciMain->GetLineCount());
    m_mdiParent->stb->SetPanelText(1, text);
}

void frmDoc::sciMain_SavePointLeft()
{
    ShowModifiedMarker();
}

void frmDoc::sciMain_SavePointReached()
{
    ShowModifiedMarker();
}

// Panel 2 belongs to the current document: a document saved or changed in
// the background (the close prompt saves each in turn) leaves it alone, and
// a switch shows the new document's state. A converted encoding keeps the
// document changed until it is saved.
void frmDoc::ShowModifiedMarker()
{
    if (IsCurrent())
        m_mdiParent->stb->SetPanelText(2, sciMain->Modified() ? QStringLiteral("已编辑") : QString());
}

// Panel 3 belongs to the current document; a window still loading is not
// current yet and shows its encoding when it becomes so.
void frmDoc::sciMain_EncodingChanged()
{
    if (!IsCurrent())
        return;
    m_mdiParent->stb->SetPanelText(3, sciMain->Encoding().Name());
    ShowModifiedMarker(); // converting (back) changes whether it is modified
}

bool frmDoc::IsCurrent() const
{
    const QMdiSubWindow *current = m_mdiParent->MdiArea()->currentSubWindow();
    return current && current->widget() == this;
}
