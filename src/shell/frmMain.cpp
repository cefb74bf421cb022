#include "frmMain.h"

#include "DialogFilter.h"
#include "FindInFilesHost.h"
#include "MainActions.h"
#include "MainCommands.h"
#include "MainMenus.h"
#include "MainToolbar.h"
#include "StatusBarPanels.h"
#include "StatusProgress.h"
#include "WindowArranger.h"
#include "WindowPlacement.h"
#include "dialogs/frmAbout.h"
#include "editor/TextEncoding.h"
#include "editor/clsScintilla.h"
#include "frmDoc.h"
#include "highlight/modHighlighter.h"
#include "platform/FileDialogSeam.h"
#include "platform/MessageBoxSeam.h"
#include "platform/TryStep.h"
#include "platform/WriteFailure.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <Qsci/qsciscintillabase.h>

const QString frmMain::Caption = QStringLiteral("Ferrolan多文档编辑器2009 v1.0 正式版");

namespace {

// Draw the main window once, when a new document window is fully set up.
class FrozenDrawing
{
public:
    explicit FrozenDrawing(QWidget *window)
        : m_window(window), m_wasEnabled(window->updatesEnabled())
    {
        m_window->setUpdatesEnabled(false);
    }
    ~FrozenDrawing() { m_window->setUpdatesEnabled(m_wasEnabled); }

private:
    QWidget *m_window;
    bool m_wasEnabled;
};

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(Caption);
    setObjectName(QStringLiteral("frmMain"));

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setBackground(palette().brush(QPalette::Dark)); // the application-workspace colour
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::OnSubWindowActivated);

    m_actions = new MainActions(this);
    m_menus = new MainMenus(this, m_actions);
    m_toolbar = new MainToolbar(m_actions, this);
    addToolBar(m_toolbar);
    m_findInFiles = new FindInFilesHost(this);
    m_commands = new MainCommands(this, m_actions, m_menus);

    stb = new StatusBarPanels(this);
    stb->setObjectName(QStringLiteral("stb"));
    setStatusBar(stb);
    new StatusProgress(stb); // long searches and replacements show their progress there

    resize(690, 479); // design client area, 10350 x 7185 twips
    m_placement = new WindowPlacement(this);
    MDIForm_Load();
}

// The documents report to the main window while they go (the activation
// change, the status bar): they go first, while it is still whole, and the
// document area's signals are no longer heard.
frmMain::~frmMain()
{
    disconnect(m_mdiArea, nullptr, this, nullptr);
    delete m_mdiArea;
}

void frmMain::MDIForm_Load()
{
    Setup();
}

void frmMain::Setup()
{
    // The table is complete before any document asks for a highlighter.
    LoadHighlighters(QCoreApplication::applicationDirPath() + QStringLiteral("/highlighters"));
    SetupMenu();
    m_placement->Restore();
    OpenDocument(QStringLiteral("新建文档"));
    WindowArranger::Cascade(m_mdiArea);
}

frmDoc *frmMain::OpenDocument(const QString &name)
{
    auto *doc = new frmDoc(this);
    doc->setObjectName(QStringLiteral("frmDoc"));
    // Hooking the editor to its window may fail; the window still comes up.
    TryStep("Form_Load", [&] { doc->Form_Load(); });
    ++lDocCount;

    if (QFileInfo::exists(name)) {
        if (!LoadDocumentFile(doc, name)) {
            delete doc; // never leave an empty document bound to a file it could not read
            return nullptr;
        }
    } else {
        doc->setWindowTitle(name + QLatin1Char(' ') + QString::number(lDocCount));
        // A file got its own language as it was read: the text is coloured
        // once, by the language it is in.
        if (doc->sciMain)
            ApplyHighlighter(*doc->sciMain, frmDoc::DefaultHighlighter);
    }

    // Frozen only while the window appears, not while a big file loads: the
    // interface keeps drawing between the chunks of a load.
    FrozenDrawing frozen(this);
    QMdiSubWindow *window = m_mdiArea->addSubWindow(doc);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Beside a maximized document the area has maximized the new one already;
    // its size hint would then be the bare document's and leave a patch.
    if (!window->isMaximized())
        window->resize(window->sizeHint());
    window->show();
    m_mdiArea->setActiveSubWindow(window);
    if (doc->sciMain)
        doc->sciMain->SetFocus();
    return doc;
}

// Shows the file in the window, or says in Chinese why it cannot be read.
bool frmMain::LoadDocumentFile(frmDoc *doc, const QString &path)
{
    FileIoResult result = FileIoResult::Failure(QStringLiteral("编辑器不可用。"));
    if (doc->sciMain)
        result = doc->sciMain->LoadFile(path);
    if (!result.ok()) {
        MsgBox(this, QStringLiteral("无法打开文件“%1”。\n%2").arg(path, result.reason), QStringLiteral("打开文件"),
               QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }
    doc->setWindowTitle(path);
    doc->strFile = path;
    ApplyHighlighter(*doc->sciMain, HighlighterForFile(path));
    return true;
}

bool frmMain::SaveDoc(frmDoc *doc)
{
    if (!doc || !doc->sciMain)
        return false;
    if (doc->strFile.isEmpty())
        return DoSaveAs(doc);
    return WriteDocument(doc, doc->strFile);
}

// A failed write keeps the old name: the document is not where the new
// name says.
bool frmMain::DoSaveAs(frmDoc *doc)
{
    const QString path = AskFileName(FileDialogKind::SaveAs, doc ? doc->strFile : QString());
    if (path.isEmpty() || !doc || !doc->sciMain)
        return false;
    if (!WriteDocument(doc, path))
        return false;
    doc->strFile = path;
    doc->setWindowTitle(path);
    ApplyHighlighter(*doc->sciMain, HighlighterForFile(path));
    return true;
}

QString frmMain::OpenFilter()
{
    QString filter = QStringLiteral("全部 (*.*)|*.*|");
    for (const Highlighter &entry : HighlighterTable)
        filter += entry.Filter;
    return filter;
}

QString frmMain::SaveFilter()
{
    QString filter = QStringLiteral("全部文件 (*.*)|*.*|");
    for (const Highlighter &entry : HighlighterTable)
        filter += entry.Filter;
    return filter;
}

QString frmMain::AskFileName(FileDialogKind kind, const QString &documentPath)
{
    FileDialogRequest request;
    switch (kind) {
    case FileDialogKind::Open:
        request.title = QStringLiteral("打开文件");
        request.filters = DialogFilter::ToQtFilters(OpenFilter());
        request.initialPath = m_cdFileName;
        break;
    case FileDialogKind::SaveAs:
        request.title = QStringLiteral("另存为");
        request.filters = DialogFilter::ToQtFilters(SaveFilter());
        request.initialPath = documentPath.isEmpty() ? m_cdFileName : documentPath;
        request.confirmOverwrite = true;
        break;
    case FileDialogKind::ExportHtml:
        request.title = QStringLiteral("导出为HTML");
        request.filters = DialogFilter::ToQtFilters(
            QStringLiteral("HTML 文件 (*.html, *.htm)|*.html;*.htm|全部文件 (*.*)|*.*|"));
        request.initialPath = documentPath.isEmpty()
                                  ? m_cdFileName
                                  : QFileInfo(documentPath).path() + QLatin1Char('/')
                                        + QFileInfo(documentPath).completeBaseName() + QStringLiteral(".html");
        request.confirmOverwrite = true;
        break;
    }
    const QString path = kind == FileDialogKind::Open ? FileDialogSeam::Current().GetOpenFileName(this, request)
                                                      : FileDialogSeam::Current().GetSaveFileName(this, request);
    if (!path.isEmpty())
        m_cdFileName = path;
    return path;
}

void frmMain::ShowAbout()
{
    if (!m_about)
        m_about = new frmAbout(this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void frmMain::SetupMenu()
{
    for (int i = 0; i < int(HighlighterTable.size()); ++i)
        AddMenu(HighlighterTable[i].LangName, HighlighterTable[i].LangName, i);
}

void frmMain::AddMenu(const QString &sCaption, const QString &sTag, int iIndex)
{
    m_menus->AddMenu(sCaption, sTag, iIndex);
}

// Every save goes through here (the Save command, Save as, the close prompt,
// Exit). A character the document's encoding cannot hold is found before
// anything is written; the user may then save as UTF-8 or not at all.
bool frmMain::WriteDocument(frmDoc *doc, const QString &path)
{
    FileIoResult result = doc->sciMain->SaveToFile(path);
    if (result.outcome == FileIoResult::Unencodable) {
        const QString text = QStringLiteral("无法保存文件“%1”：%2\n\n选择“是”改为以 UTF-8 编码保存；"
                                            "选择“取消”则不保存，文件保持原样。")
                                 .arg(path, result.reason);
        if (MsgBox(this, text, QStringLiteral("编码无法表示"), QMessageBox::Yes | QMessageBox::Cancel,
                   QMessageBox::Yes, QMessageBox::Warning)
            != QMessageBox::Yes) {
            // Show the user what stood in the way.
            const long at = long(result.position);
            doc->sciMain->SetSel(at, doc->sciMain->SendEditor(QsciScintillaBase::SCI_POSITIONAFTER, at));
            return false;
        }
        doc->sciMain->ConvertEncoding(TextEncoding(TextEncoding::Utf8));
        result = doc->sciMain->SaveToFile(path);
    }
    if (!result.ok())
        ReportSaveFailure(path, result.reason);
    return result.ok();
}

bool frmMain::ReopenDocument(frmDoc *doc, const TextEncoding &encoding)
{
    if (!doc || !doc->sciMain || doc->sciMain->IsLoading())
        return false;
    const QString title = QStringLiteral("以其他编码重新打开");
    const QString path = doc->strFile;
    if (path.isEmpty()) {
        MsgBox(this, QStringLiteral("这个文档还没有保存过，没有可以重新读取的文件。"), title, QMessageBox::Ok,
               QMessageBox::Ok, QMessageBox::Information);
        return false;
    }
    if (doc->sciMain->Modified()) {
        const QString text = QStringLiteral("文件 [") + doc->windowTitle() + QStringLiteral("]\r\n")
                             + QStringLiteral("已经发生修改.  按 %1 编码重新打开将放弃这些修改, 是否继续?")
                                   .arg(encoding.Name());
        if (MsgBox(this, text, title, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Warning)
            != QMessageBox::Yes)
            return false;
    }
    const FileIoResult result = doc->sciMain->LoadFile(path, encoding);
    if (result.ok())
        return true;
    QString text = QStringLiteral("无法按 %1 编码重新打开文件“%2”。\n%3")
                       .arg(encoding.Name(), path,
                            result.outcome == FileIoResult::NotFound ? QStringLiteral("文件已不存在。") : result.reason);
    if (result.partial) {
        // Only part of the file is on screen: a later Save must not write it
        // over the whole file.
        doc->strFile.clear();
        doc->setWindowTitle(path + QStringLiteral(" (未读完)"));
        text += QStringLiteral("\n窗口中只有文件的一部分，已不再与文件关联；文件本身没有改变。");
    }
    MsgBox(this, text, title, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
    return false;
}

void frmMain::ReportSaveFailure(const QString &path, const QString &reason)
{
    MsgBox(this, WriteFailureMessage(WrittenFile::Document, {{path, reason}}), QStringLiteral("保存失败"),
           QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
}

frmDoc *frmMain::ActiveDocument() const
{
    const QMdiSubWindow *window = m_mdiArea->activeSubWindow();
    return window ? qobject_cast<frmDoc *>(window->widget()) : nullptr;
}

QList<frmDoc *> frmMain::Documents() const
{
    QList<frmDoc *> documents;
    for (const QMdiSubWindow *window : m_mdiArea->subWindowList())
        if (auto *doc = qobject_cast<frmDoc *>(window->widget()))
            documents.append(doc);
    return documents;
}

QList<clsScintilla *> frmMain::Editors() const
{
    QList<clsScintilla *> editors;
    for (frmDoc *doc : Documents())
        if (doc->sciMain)
            editors.append(doc->sciMain.get());
    return editors;
}

// Also when the frame itself loses the focus (window is then nullptr, the
// current document stays) and when the last document has gone.
void frmMain::OnSubWindowActivated(QMdiSubWindow *window)
{
    frmDoc *doc = CurrentDocument();
    WatchEditor(doc ? doc->sciMain.get() : nullptr);
    if (window && doc)
        doc->Form_Activate();
    m_actions->SetDocumentOpen(!Documents().isEmpty());
}

frmDoc *frmMain::CurrentDocument() const
{
    const QMdiSubWindow *window = m_mdiArea->currentSubWindow();
    return window ? qobject_cast<frmDoc *>(window->widget()) : nullptr;
}

// Only the current document's editor is heard: one changed or saved in the
// background (the close prompt saves each in turn) leaves the panels alone.
void frmMain::WatchEditor(clsScintilla *sci)
{
    if (sci != m_watched) {
        if (m_watched)
            disconnect(m_watched, nullptr, this, nullptr);
        m_watched = sci;
        if (sci) {
            connect(sci, &clsScintilla::UpdateUI, this, &frmMain::ShowCaretPosition);
            connect(sci, &clsScintilla::SavePointLeft, this, &frmMain::ShowModifiedMarker);
            connect(sci, &clsScintilla::SavePointReached, this, &frmMain::ShowModifiedMarker);
            // Converting (back) also changes whether the document is modified.
            connect(sci, &clsScintilla::EncodingChanged, this, &frmMain::ShowEncoding);
            connect(sci, &clsScintilla::EncodingChanged, this, &frmMain::ShowModifiedMarker);
        }
    }
    ShowCaretPosition();
    ShowModifiedMarker();
    ShowEncoding();
}

// Panel 1: the caret, zero-based, and the line count. With no document it
// keeps what it showed last.
void frmMain::ShowCaretPosition()
{
    if (!m_watched)
        return;
    stb->SetPanelText(1, QStringLiteral("当前行: ") + QString::number(m_watched->GetCurLine())
                             + QStringLiteral(" 列: ") + QString::number(m_watched->GetColumn())
                             + QStringLiteral(" 总行数: ") + QString::number(m_watched->GetLineCount()));
}

// Panel 2: the modified marker; a converted encoding keeps the document
// modified until it is saved.
void frmMain::ShowModifiedMarker()
{
    stb->SetPanelText(2, m_watched && m_watched->Modified() ? QStringLiteral("已编辑") : QString());
}

// Panel 3: the encoding the document is saved in.
void frmMain::ShowEncoding()
{
    stb->SetPanelText(3, m_watched ? m_watched->Encoding().Name() : QString());
}

// Every document may refuse; one refusal keeps everything open and writes no
// setting.
bool frmMain::QueryCloseDocuments()
{
    for (frmDoc *doc : Documents())
        if (!doc->QueryClose())
            return false;
    return true;
}

void frmMain::CloseDocuments()
{
    for (frmDoc *doc : Documents()) {
        doc->ApproveClose();
        if (QWidget *window = doc->parentWidget())
            window->close();
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!QueryCloseDocuments()) {
        event->ignore();
        return;
    }
    CloseDocuments();
    MDIForm_Unload();
    event->accept();
}

void frmMain::MDIForm_Unload()
{
    m_placement->Save();
}
