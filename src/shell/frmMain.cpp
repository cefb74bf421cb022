#include "frmMain.h"

#include "DialogFilter.h"
#include "FileDropTarget.h"
#include "FindInFilesHost.h"
#include "EditorContextMenu.h"
#include "LineEndMenu.h"
#include "MainActions.h"
#include "MainCommands.h"
#include "MainMenus.h"
#include "MainToolbar.h"
#include "ProgramIcon.h"
#include "StatusBarPanels.h"
#include "StatusProgress.h"
#include "TitleMarker.h"
#include "ViewMenu.h"
#include "WindowArranger.h"
#include "WindowPlacement.h"
#include "recovery/DiskChangeGuard.h"
#include "recovery/DocumentBackups.h"
#include "recovery/RecoveryPrompt.h"
#include "recovery/SessionStore.h"
#include "dialogs/frmAbout.h"
#include "editor/TextEncoding.h"
#include "editor/clsScintilla.h"
#include "frmDoc.h"
#include "highlight/HighlighterFolders.h"
#include "highlight/modHighlighter.h"
#include "platform/FileKey.h"
#include "platform/FileDialogSeam.h"
#include "platform/MessageBoxSeam.h"
#include "platform/TryStep.h"
#include "platform/WriteFailure.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <utility>
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

frmMain::frmMain(QWidget *parent, const QList<FileToOpen> &startFiles)
    : QMainWindow(parent)
{
    setWindowTitle(Caption);
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(ProgramIcon::Icon()); // the document windows and dialogs take it from here

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setBackground(palette().brush(QPalette::Dark)); // the application-workspace colour
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::OnSubWindowActivated);
    // Files dragged from a file manager onto the document area open, once
    // the drop is over (the file manager waits for its end).
    connect(new FileDropTarget(m_mdiArea->viewport()), &FileDropTarget::FilesDropped, this,
            [this](const QStringList &paths) { OpenFiles(FilesAt(paths)); }, Qt::QueuedConnection);

    m_actions = new MainActions(this);
    m_menus = new MainMenus(this, m_actions);
    m_toolbar = new MainToolbar(m_actions, this);
    addToolBar(m_toolbar);
    m_findInFiles = new FindInFilesHost(this);
    m_commands = new MainCommands(this, m_actions, m_menus);
    new EditorContextMenu(this, m_actions);
    new ViewMenu(this, m_actions, m_menus);
    new TitleMarker(this);
    new LineEndMenu(this, m_actions, m_menus);

    stb = new StatusBarPanels(this);
    stb->setObjectName(QStringLiteral("stb"));
    setStatusBar(stb);
    new StatusProgress(stb); // long searches and replacements show their progress there
    m_lineEndsLater = new QTimer(this);
    m_lineEndsLater->setSingleShot(true);
    m_lineEndsLater->setInterval(300);
    connect(m_lineEndsLater, &QTimer::timeout, this, &frmMain::ShowLineEnds);

    resize(690, 479); // design client area, 10350 x 7185 twips
    m_placement = new WindowPlacement(this);
    m_diskGuard = new DiskChangeGuard(this);
    m_backups = new DocumentBackups(this);
    m_diskGuard->onPartialRead = [this](clsScintilla *sci) {
        for (frmDoc *doc : Documents())
            if (doc->sciMain.get() == sci)
                DetachFromFile(doc);
    };
    MDIForm_Load(startFiles);
}

// The documents report to the main window while they go (the activation
// change, the status bar): they go first, while it is still whole, and the
// document area's signals are no longer heard.
frmMain::~frmMain()
{
    disconnect(m_mdiArea, nullptr, this, nullptr);
    delete m_mdiArea;
}

void frmMain::MDIForm_Load(const QList<FileToOpen> &startFiles)
{
    Setup(startFiles);
}

void frmMain::Setup(const QList<FileToOpen> &startFiles)
{
    // The table is complete before any document asks for a highlighter: the
    // user's own languages, the installed ones, those beside the program.
    LoadHighlighterFolders(HighlighterFolders::ForProgram().lookup);
    SetupMenu();
    m_placement->Restore();
    OpenStartDocuments(startFiles);
    WindowArranger::Cascade(m_mdiArea);
    // Once the window is up, so the question has something to stand on.
    QTimer::singleShot(0, this, &frmMain::OfferRecovery);
}

void frmMain::OfferRecovery()
{
    RecoverySets sets = RecoverySets::FindLeftOver();
    if (sets.IsEmpty()) {
        sets.Discard(); // sets of runs that ended with nothing unsaved
        return;
    }
    switch (RecoveryPrompt::Current().Ask(this, sets.Documents())) {
    case RecoveryPrompt::Answer::Recover: {
        bool all = true;
        for (const RecoverableDocument &document : sets.Documents())
            all &= RestoreBackup(document);
        if (all)
            sets.Discard();
        return;
    }
    case RecoveryPrompt::Answer::Discard:
        sets.Discard();
        return;
    case RecoveryPrompt::Answer::Later:
        sets.Keep();
        return;
    }
}

void frmMain::OpenAtStart(const QStringList &files)
{
    if (files.isEmpty()) {
        if (SessionStore::RestoresAtStart())
            RestoreSession();
        return;
    }
    QList<FileToOpen> named;
    for (const QString &file : files)
        named.append(FileToOpen{QFileInfo(file).absoluteFilePath()});
    OpenFiles(named);
}

// Files that have gone since are left out, and the status bar says which.
void frmMain::RestoreSession()
{
    QStringList missing;
    for (const SessionDocument &entry : SessionStore::Load()) {
        if (!QFileInfo(entry.path).isFile()) {
            missing << entry.path;
            continue;
        }
        frmDoc *doc = OpenDocument(entry.path);
        if (!doc || !doc->sciMain)
            continue;
        clsScintilla &sci = *doc->sciMain;
        if (const auto encoding = TextEncoding::FromName(entry.encoding); encoding && *encoding != sci.Encoding())
            ReopenDocument(doc, *encoding);
        // A language that has gone since leaves the one the file's name picks.
        if (!HighlighterTable.empty()
            && HighlighterTable[size_t(FindHighlighter(entry.highlighter))].LangName.compare(
                   entry.highlighter, Qt::CaseInsensitive) == 0)
            ApplyHighlighter(sci, entry.highlighter);
        sci.GotoLine(entry.caretLine);
        sci.SendEditor(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, entry.firstVisibleLine);
    }
    if (!missing.isEmpty())
        stb->showMessage(QStringLiteral("上次打开的文件已不存在，未能重新打开：%1").arg(missing.join(QStringLiteral("、"))),
                         15000);
}

void frmMain::SaveSession()
{
    QList<SessionDocument> documents;
    for (frmDoc *doc : Documents()) {
        if (!doc->sciMain || doc->strFile.isEmpty())
            continue;
        const clsScintilla &sci = *doc->sciMain;
        SessionDocument entry;
        entry.path = QFileInfo(doc->strFile).absoluteFilePath();
        entry.caretLine = sci.GetCurLine();
        entry.firstVisibleLine = sci.SendEditor(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
        if (sci.lHighlighterNum >= 0 && sci.lHighlighterNum < long(HighlighterTable.size()))
            entry.highlighter = HighlighterTable[size_t(sci.lHighlighterNum)].LangName;
        entry.encoding = sci.Encoding().Name();
        documents.append(entry);
    }
    const QString failure = SessionStore::Save(documents);
    if (!failure.isEmpty())
        MsgBox(this,
               QStringLiteral("无法保存这次打开的文件列表“%1”：\n%2\n下次启动时将不会重新打开这些文件。")
                   .arg(SessionStore::FilePath(), failure),
               QStringLiteral("保存会话"), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
}

// The document comes back modified, with its file and encoding, so one Save
// puts it where it was.
bool frmMain::RestoreBackup(const RecoverableDocument &document)
{
    QFile backup(document.textPath);
    if (!backup.open(QIODevice::ReadOnly)) {
        MsgBox(this, QStringLiteral("无法读取备份“%1”：%2\n备份保留在原处。").arg(document.textPath, backup.errorString()),
               QStringLiteral("恢复文档"), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }
    const QByteArray text = backup.readAll();
    // The session may have opened the file already: the backup goes there.
    frmDoc *doc = nullptr;
    for (frmDoc *open : Documents())
        if (!document.info.path.isEmpty() && open->strFile == document.info.path && open->sciMain
            && !open->sciMain->Modified())
            doc = open;
    if (!doc)
        doc = OpenDocument(QStringLiteral("新建文档"));
    if (!doc || !doc->sciMain)
        return false;
    clsScintilla &sci = *doc->sciMain;
    sci.SetTextBytes(text);
    if (const auto encoding = TextEncoding::FromName(document.info.encoding))
        sci.ConvertEncoding(*encoding);
    if (document.info.path.isEmpty()) {
        doc->setWindowTitle(document.info.title);
    } else {
        doc->strFile = document.info.path;
        doc->setWindowTitle(document.info.path);
        ApplyHighlighter(sci, HighlighterForFile(document.info.path));
    }
    sci.MarkModified();
    return true;
}

void frmMain::OpenStartDocuments(const QList<FileToOpen> &files)
{
    if (files.isEmpty() || OpenFiles(files).isEmpty())
        OpenDocument(QStringLiteral("新建文档"));
}

QList<frmDoc *> frmMain::OpenFiles(const QList<FileToOpen> &files)
{
    QList<frmDoc *> opened;
    for (const FileToOpen &file : files)
        if (frmDoc *doc = OpenFile(file))
            opened.append(doc);
    if (!opened.isEmpty())
        ActivateDocument(opened.last()); // one already open may have come last
    return opened;
}

// A file open already is not opened a second time: two editable copies of
// one file would overwrite each other's changes.
frmDoc *frmMain::OpenFile(const FileToOpen &file)
{
    frmDoc *doc = FindDocument(file.path);
    if (doc)
        ActivateDocument(doc);
    else
        doc = QFileInfo::exists(file.path) ? OpenDocument(file.path) : OpenMissingFile(file.path);
    if (doc)
        PlaceCaret(doc, file);
    return doc;
}

frmDoc *frmMain::FindDocument(const QString &path) const
{
    const QString key = FileKey(path);
    for (frmDoc *doc : Documents())
        if (!doc->strFile.isEmpty() && FileKey(doc->strFile) == key)
            return doc;
    return nullptr;
}

// A file named that does not exist yet: an empty document bound to the
// path, so that Save writes it there without asking.
frmDoc *frmMain::OpenMissingFile(const QString &path)
{
    frmDoc *doc = MakeDocument();
    doc->setWindowTitle(path);
    doc->strFile = path;
    if (doc->sciMain)
        ApplyHighlighter(*doc->sciMain, HighlighterForFile(path));
    ShowDocument(doc);
    return doc;
}

void frmMain::ActivateDocument(frmDoc *doc)
{
    auto *window = qobject_cast<QMdiSubWindow *>(doc->parentWidget());
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    m_mdiArea->setActiveSubWindow(window);
    if (doc->sciMain)
        doc->sciMain->SetFocus();
}

// Line and column as people count them, from 1; past the end means the
// last line, or the end of the line.
void frmMain::PlaceCaret(frmDoc *doc, const FileToOpen &file)
{
    if (file.line <= 0 || !doc->sciMain)
        return;
    clsScintilla &sci = *doc->sciMain;
    const long line = std::min<long>(file.line, sci.GetLineCount()) - 1;
    sci.SendEditor(QsciScintillaBase::SCI_GOTOPOS, CharacterPosition(sci, line, std::max(file.column, 1) - 1));
    sci.SendEditor(QsciScintillaBase::SCI_SCROLLCARET);
}

// A column counts characters, as compilers and other editors count them (a
// tab is one), and stops at the end of the line.
long frmMain::CharacterPosition(const clsScintilla &sci, long line, long column)
{
    const long start = sci.SendEditor(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const long end = sci.SendEditor(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
    const long position = sci.SendEditor(QsciScintillaBase::SCI_POSITIONRELATIVE, start, column);
    return column == 0 ? start : (position == 0 || position > end) ? end : position;
}

void frmMain::BringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

frmDoc *frmMain::MakeDocument()
{
    auto *doc = new frmDoc(this);
    doc->setObjectName(QStringLiteral("frmDoc"));
    // Hooking the editor to its window may fail; the window still comes up.
    TryStep("Form_Load", [&] { doc->Form_Load(); });
    ++lDocCount;
    // A file dropped on the editor opens like one dropped beside it. The
    // document is the connection's context, not this window: WatchEditor
    // drops every connection from an editor to this window when another
    // document comes forward.
    if (doc->sciMain)
        connect(
            doc->sciMain.get(), &clsScintilla::UriDropped, doc, [this](const QString &uri) { TakeDroppedUri(uri); });
    return doc;
}

// The component reports each URI of a drop on its own, all before the drop
// ends; they open together, in the drop's order, once it has ended (the
// file manager waits for its end). One at a time they would interleave: a
// file's load lets the interface breathe, which would start the next open.
void frmMain::TakeDroppedUri(const QString &uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return;
    if (m_droppedFiles.isEmpty())
        QTimer::singleShot(0, this, [this] { OpenFiles(std::exchange(m_droppedFiles, {})); });
    m_droppedFiles.append(FileToOpen{url.toLocalFile()});
}

frmDoc *frmMain::OpenDocument(const QString &name)
{
    frmDoc *doc = MakeDocument();

    if (QFileInfo::exists(name)) {
        // A big file's window is up while the file is read: its first part
        // shows there at once.
        QMdiSubWindow *placed = nullptr;
        if (QFileInfo(name).size() >= clsScintilla::LoadProgressFrom) {
            doc->setWindowTitle(name);
            placed = PlaceDocument(doc);
        }
        if (!LoadDocumentFile(doc, name)) {
            // never leave an empty document bound to a file it could not read
            if (placed)
                delete placed; // with the document in it
            else
                delete doc;
            return nullptr;
        }
    } else {
        doc->setWindowTitle(name + QLatin1Char(' ') + QString::number(lDocCount));
        // A file got its own language as it was read: the text is coloured
        // once, by the language it is in.
        if (doc->sciMain)
            ApplyHighlighter(*doc->sciMain, frmDoc::DefaultHighlighter);
    }
    ShowDocument(doc);
    return doc;
}

void frmMain::ShowDocument(frmDoc *doc)
{
    if (doc->sciMain)
        m_backups->Watch(doc->sciMain.get(), [doc = QPointer<frmDoc>(doc)] {
            BackupInfo info;
            if (doc && doc->sciMain) {
                info.path = doc->strFile;
                info.title = doc->windowTitle();
                info.encoding = doc->sciMain->Encoding().Name();
            }
            return info;
        });

    QMdiSubWindow *window = qobject_cast<QMdiSubWindow *>(doc->parentWidget());
    if (!window)
        window = PlaceDocument(doc);
    if (doc->sciMain)
        doc->sciMain->SetFocus();
    emit DocumentOpened(window, doc);
}

QMdiSubWindow *frmMain::PlaceDocument(frmDoc *doc)
{
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
    return window;
}

// Shows the file in the window, or says in Chinese why it cannot be read.
bool frmMain::LoadDocumentFile(frmDoc *doc, const QString &path)
{
    FileIoResult result = FileIoResult::Failure(QStringLiteral("编辑器不可用。"));
    // A big file named at start shows its progress in a window already up.
    if (!isVisible() && QFileInfo(path).size() >= clsScintilla::LoadProgressFrom)
        show();
    if (doc->sciMain) {
        // The first part shown while a big file is read is coloured already.
        const QMetaObject::Connection preview = connect(doc->sciMain.get(), &clsScintilla::PreviewShown, this,
                                                        [doc, path] { ApplyHighlighter(*doc->sciMain, HighlighterForFile(path)); });
        result = doc->sciMain->LoadFile(path);
        disconnect(preview);
    }
    if (result.outcome == FileIoResult::Stopped) {
        stb->showMessage(QStringLiteral("已取消打开“%1”").arg(path), 5000);
        return false;
    }
    if (!result.ok()) {
        MsgBox(this, QStringLiteral("无法打开文件“%1”。\n%2").arg(path, result.reason), QStringLiteral("打开文件"),
               QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }
    doc->setWindowTitle(path);
    doc->strFile = path;
    m_diskGuard->Track(doc->sciMain.get(), path);
    ApplyHighlighter(*doc->sciMain, LanguageForLoadedFile(*doc->sciMain, path));
    emit FileNamed(path);
    return true;
}

// Colouring a line of megabytes would hold up every keystroke in it: such a
// file opens as plain text, and the 高亮 menu still colours it on request.
QString frmMain::LanguageForLoadedFile(const clsScintilla &sci, const QString &path)
{
    const QString language = HighlighterForFile(path);
    const QString plain = QStringLiteral("Text");
    const bool plainThere = std::any_of(HighlighterTable.begin(), HighlighterTable.end(),
                                        [&](const Highlighter &h) { return h.LangName.compare(plain, Qt::CaseInsensitive) == 0; });
    if (!sci.HasLongLines() || !plainThere || language.compare(plain, Qt::CaseInsensitive) == 0)
        return language;
    stb->showMessage(QStringLiteral("“%1”有很长的行（最长 %2 MB），已按纯文本打开；可在“高亮”菜单中选择语言着色。")
                         .arg(QFileInfo(path).fileName())
                         .arg(double(sci.LongestLoadedLine()) / 1e6, 0, 'f', 1),
                     15000);
    return plain;
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
    emit FileNamed(path);
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

QStringList frmMain::AskOpenFileNames()
{
    FileDialogRequest request;
    request.title = QStringLiteral("打开文件");
    request.filters = DialogFilter::ToQtFilters(OpenFilter());
    request.initialPath = m_cdFileName;
    const QStringList paths = FileDialogSeam::Current().GetOpenFileNames(this, request);
    if (!paths.isEmpty())
        m_cdFileName = paths.last();
    return paths;
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
    if (!m_diskGuard->MaySave(doc->sciMain.get(), path))
        return false;
    FileIoResult result = doc->sciMain->SaveToFile(path);
    if (result.outcome == FileIoResult::Stopped) {
        ReportStoppedSave();
        return false;
    }
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
        if (result.outcome == FileIoResult::Stopped) {
            ReportStoppedSave();
            return false;
        }
    }
    if (!result.ok()) {
        ReportSaveFailure(path, result.reason);
        return false;
    }
    m_diskGuard->Track(doc->sciMain.get(), path);
    m_backups->Saved(doc->sciMain.get());
    return true;
}

// The user stopped it: not a failure, no box.
void frmMain::ReportStoppedSave()
{
    stb->showMessage(QStringLiteral("已取消保存，文件保持原样。"), 5000);
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
    if (result.ok()) {
        m_diskGuard->Track(doc->sciMain.get(), path);
        return true;
    }
    if (result.outcome == FileIoResult::Stopped) { // the document is as it was
        stb->showMessage(QStringLiteral("已取消重新打开“%1”").arg(path), 5000);
        return false;
    }
    QString text = QStringLiteral("无法按 %1 编码重新打开文件“%2”。\n%3")
                       .arg(encoding.Name(), path,
                            result.outcome == FileIoResult::NotFound ? QStringLiteral("文件已不存在。") : result.reason);
    if (result.partial) {
        DetachFromFile(doc);
        text += QStringLiteral("\n窗口中只有文件的一部分，已不再与文件关联；文件本身没有改变。");
    }
    MsgBox(this, text, title, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
    return false;
}

bool frmMain::ReloadDocument(frmDoc *doc)
{
    if (!doc || !doc->sciMain)
        return false;
    if (doc->strFile.isEmpty()) {
        MsgBox(this, QStringLiteral("这个文档还没有保存过，没有可以重新载入的文件。"), QStringLiteral("重新载入"),
               QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Information);
        return false;
    }
    return m_diskGuard->Reload(doc->sciMain.get());
}

// Only part of the file is on screen: a later Save must not write it over
// the whole file.
void frmMain::DetachFromFile(frmDoc *doc)
{
    if (doc->sciMain)
        m_diskGuard->Forget(doc->sciMain.get());
    doc->setWindowTitle(doc->strFile + QStringLiteral(" (未读完)"));
    doc->strFile.clear();
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
    if (window && doc) {
        doc->Form_Activate();
        // Asked after the switch has settled, not in the middle of it.
        QMetaObject::invokeMethod(
            m_diskGuard,
            [guard = m_diskGuard, sci = QPointer<clsScintilla>(doc->sciMain.get())] {
                if (sci)
                    guard->Check(sci);
            },
            Qt::QueuedConnection);
    }
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
            connect(sci, &clsScintilla::OnModified, m_lineEndsLater, qOverload<>(&QTimer::start));
            connect(sci, &clsScintilla::LineEndsCounted, this, &frmMain::ShowLineEnds);
            connect(sci, &clsScintilla::HighlighterApplied, this, &frmMain::ShowLanguage);
        }
    }
    ShowCaretPosition();
    ShowModifiedMarker();
    ShowEncoding();
    ShowLineEnds();
    ShowLanguage();
}

// Panel 1: the caret, zero-based, and the line count. With no document it
// keeps what it showed last.
void frmMain::ShowCaretPosition()
{
    if (!m_watched)
        return;
    if (m_watched->IsLoading()) {
        stb->SetPanelText(1, QString()); // only the start of the file is in yet
        return;
    }
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

// Panel 4: the kind of line ends the document holds.
void frmMain::ShowLineEnds()
{
    m_lineEndsLater->stop();
    stb->SetPanelText(4, m_watched && !m_watched->IsLoading() ? LineEndMenu::KindName(*m_watched) : QString());
}

// Panel 5: the language that colours the document.
void frmMain::ShowLanguage()
{
    const long index = m_watched ? m_watched->lHighlighterNum : -1;
    stb->SetPanelText(5, index >= 0 && index < long(HighlighterTable.size()) ? HighlighterTable[index].LangName
                                                                            : QString());
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
    SaveSession();
    CloseDocuments();
    MDIForm_Unload();
    event->accept();
}

void frmMain::MDIForm_Unload()
{
    m_placement->Save();
    m_backups->Finish();
}
