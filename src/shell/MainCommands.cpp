#include "MainCommands.h"

#include "DialogFilter.h"
#include "FindInFilesHost.h"
#include "MainActions.h"
#include "MainMenus.h"
#include "RecentFilesMenu.h"
#include "WindowArranger.h"
#include "recovery/DiskChangeGuard.h"
#include "recovery/SessionStore.h"
#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmReplace.h"
#include "editor/TextEncoding.h"
#include "editor/clsScintilla.h"
#include "frmDoc.h"
#include "frmMain.h"
#include "highlight/HighlighterFolders.h"
#include "highlight/HtmlExport.h"
#include "highlight/modHighlighter.h"
#include "platform/FileDialogSeam.h"
#include "platform/MessageBoxSeam.h"
#include "platform/PdfFileOutput.h"
#include "platform/PrinterSeam.h"
#include "platform/TryStep.h"
#include "platform/WebSite.h"
#include "platform/WriteFailure.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QStatusBar>
#include <optional>

MainCommands::MainCommands(frmMain *main, MainActions *a, MainMenus *menus)
    : QObject(main), m_main(main), m_menus(menus)
{
    const std::pair<QAction *, void (MainCommands::*)()> commands[] = {
        {a->mnuNew, &MainCommands::New},
        {a->mnuOpen, &MainCommands::Open},
        {a->mnuReload, &MainCommands::Reload},
        {a->mnuSave, &MainCommands::Save},
        {a->mnuSaveAs, &MainCommands::SaveAs},
        {a->mnuSaveAll, &MainCommands::SaveAll},
        {a->mnuExportHTML, &MainCommands::ExportHtml},
        {a->mnuClose, &MainCommands::Close},
        {a->mnuCloseAll, &MainCommands::CloseAll},
        {a->mnuPrint, &MainCommands::Print},
        {a->mnuPrintPreview, &MainCommands::PrintPreview},
        {a->mnuExit, &MainCommands::Exit},
        {a->mnuUndo, &MainCommands::Undo},
        {a->mnuRedo, &MainCommands::Redo},
        {a->mnuCut, &MainCommands::Cut},
        {a->mnuCopy, &MainCommands::Copy},
        {a->mnuPaste, &MainCommands::Paste},
        {a->mnuSelAll, &MainCommands::SelectAll},
        {a->mnuSyntax, &MainCommands::SyntaxSettings},
        {a->mnuTimeDate, &MainCommands::TimeDate},
        {a->mnuFind, &MainCommands::Find},
        {a->mnuReplace, &MainCommands::Replace},
        {a->mnuFindNext, &MainCommands::FindNext},
        {a->mnuFindPrevious, &MainCommands::FindPrevious},
        {a->mnuGoto, &MainCommands::Goto},
        {a->mnuHor, &MainCommands::TileHorizontally},
        {a->mnuVertical, &MainCommands::TileVertically},
        {a->mnuArrange, &MainCommands::ArrangeIcons},
        {a->mnuCascade, &MainCommands::Cascade},
        {a->mnuAbout, &MainCommands::About},
        // The formatting buttons have no command of their own.
        {a->tbBold, &MainCommands::FocusActiveEditor},
        {a->tbItalic, &MainCommands::FocusActiveEditor},
        {a->tbUnderline, &MainCommands::FocusActiveEditor},
        {a->tbAlignLeft, &MainCommands::FocusActiveEditor},
        {a->tbAlignCentre, &MainCommands::FocusActiveEditor},
        {a->tbAlignRight, &MainCommands::FocusActiveEditor},
    };
    for (const auto &[action, command] : commands)
        connect(action, &QAction::triggered, this, command);
    a->mnuReloadQuietly->setChecked(DiskChangeGuard::ReloadsQuietly());
    connect(a->mnuReloadQuietly, &QAction::toggled, this, &DiskChangeGuard::SetReloadsQuietly);
    a->mnuRestoreSession->setChecked(SessionStore::RestoresAtStart());
    connect(a->mnuRestoreSession, &QAction::toggled, this, &SessionStore::SetRestoresAtStart);
    connect(a->help, &QAction::triggered, this, [this] { OpenWebPage(WebSite::ReleasePage); });
    connect(a->sj, &QAction::triggered, this, [this] { OpenWebPage(WebSite::UpgradePage); });
    connect(a->zy, &QAction::triggered, this, [this] { OpenWebPage(WebSite::HomePage); });
    FindInFilesHost *findInFiles = main->FindInFiles();
    connect(a->mnuFindInFiles, &QAction::triggered, findInFiles, &FindInFilesHost::Ask);
    connect(a->mnuNextHit, &QAction::triggered, findInFiles, &FindInFilesHost::NextHit);
    connect(a->mnuPreviousHit, &QAction::triggered, findInFiles, &FindInFilesHost::PreviousHit);

    connect(main, &frmMain::DocumentOpened, this, &MainCommands::GiveUpCloseKeys);
    connect(menus, &MainMenus::HighlighterChosen, this, &MainCommands::ApplyHighlighterItem);
    connect(menus->mnuWindowList, &QMenu::aboutToShow, this, &MainCommands::FillWindowList);
    new RecentFilesMenu(main, menus->mnuRecentFiles, a->mnuClearRecent);
    connect(menus->mnuHighlighters, &QMenu::aboutToShow, this, &MainCommands::MarkActiveLanguage);
    connect(menus, &MainMenus::ReopenEncodingChosen, this, &MainCommands::ReopenWithEncoding);
    connect(menus, &MainMenus::ConvertEncodingChosen, this, &MainCommands::ConvertEncoding);
    connect(menus->mnuReopenEncoding, &QMenu::aboutToShow, this,
            [this] { MarkCurrentEncoding(m_menus->mnuReopenEncoding, false); });
    connect(menus->mnuConvertEncoding, &QMenu::aboutToShow, this,
            [this] { MarkCurrentEncoding(m_menus->mnuConvertEncoding, true); });
}

clsScintilla *MainCommands::ActiveEditor() const
{
    frmDoc *doc = m_main->ActiveDocument();
    return doc ? doc->sciMain.get() : nullptr;
}

void MainCommands::FocusActiveEditor()
{
    if (clsScintilla *sci = ActiveEditor())
        sci->SetFocus();
}

void MainCommands::OnActiveEditor(void (clsScintilla::*command)())
{
    if (clsScintilla *sci = ActiveEditor()) {
        (sci->*command)();
        sci->SetFocus();
    }
}

// ---- File ----

void MainCommands::New()
{
    m_main->OpenDocument(QStringLiteral("New Document"));
}

void MainCommands::Open()
{
    m_main->OpenFiles(FilesAt(m_main->AskOpenFileNames()));
    FocusActiveEditor();
}

void MainCommands::Reload()
{
    if (frmDoc *doc = m_main->ActiveDocument())
        m_main->ReloadDocument(doc);
    FocusActiveEditor();
}

void MainCommands::Save()
{
    if (frmDoc *doc = m_main->ActiveDocument())
        m_main->SaveDoc(doc);
    FocusActiveEditor();
}

void MainCommands::SaveAs()
{
    frmDoc *doc = m_main->ActiveDocument();
    if (doc)
        m_main->DoSaveAs(doc);
    else
        m_main->AskFileName(frmMain::FileDialogKind::SaveAs, QString()); // shown, nothing to write
    FocusActiveEditor();
}

// Only modified documents are written: an unmodified one may stand for a
// file changed on disk since. A document without a file shows itself while
// its save dialog asks for a name; the one that was active is active again.
void MainCommands::SaveAll()
{
    QMdiArea *area = m_main->MdiArea();
    QMdiSubWindow *active = area->activeSubWindow();
    for (frmDoc *doc : m_main->Documents()) {
        if (!doc->sciMain || doc->sciMain->IsLoading() || !doc->sciMain->Modified())
            continue;
        if (doc->strFile.isEmpty())
            area->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(doc->parentWidget()));
        m_main->SaveDoc(doc);
    }
    if (active)
        area->setActiveSubWindow(active);
    FocusActiveEditor();
}

void MainCommands::Close()
{
    if (QMdiSubWindow *window = m_main->MdiArea()->activeSubWindow())
        window->close();
    FocusActiveEditor();
}

// Each document window's own menu closes it on Ctrl+W and Ctrl+F4 too: with
// two windows open the key would be ambiguous and close nothing.
void MainCommands::GiveUpCloseKeys(QMdiSubWindow *window)
{
    const QList<QKeySequence> closeKeys = m_main->Actions()->mnuClose->shortcuts();
    for (QAction *item : window->systemMenu()->actions()) {
        QList<QKeySequence> keys = item->shortcuts();
        keys.removeIf([&](const QKeySequence &key) { return closeKeys.contains(key); });
        item->setShortcuts(keys);
    }
}

void MainCommands::CloseAll()
{
    for (QMdiSubWindow *window : m_main->MdiArea()->subWindowList())
        if (!window->close())
            break;
    FocusActiveEditor();
}

// The document itself (title, file name, modified marker) is left alone.
void MainCommands::ExportHtml()
{
    frmDoc *doc = m_main->ActiveDocument();
    const QString path = m_main->AskFileName(frmMain::FileDialogKind::ExportHtml, doc ? doc->strFile : QString());
    if (!path.isEmpty() && doc && doc->sciMain) {
        const FileIoResult result = ::ExportHtml(path, *doc->sciMain);
        if (result.outcome == FileIoResult::Stopped)
            m_main->statusBar()->showMessage(QStringLiteral("已取消导出为HTML，文件没有写入。"), MessageTime);
        else if (!result.ok())
            MsgBox(m_main, WriteFailureMessage(WrittenFile::HtmlPage, {{path, result.reason}}),
                   QStringLiteral("导出为HTML"), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
    }
    FocusActiveEditor();
}

// Without an installed printer the dialog still prints to a PDF file,
// offered beside the document.
std::unique_ptr<QPrinter> MainCommands::PrinterToUse(const frmDoc &doc) const
{
    std::unique_ptr<QPrinter> printer = PrinterSeam::Current().DefaultPrinter();
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        const QFileInfo file(doc.strFile.isEmpty() ? QDir::home().filePath(doc.windowTitle()) : doc.strFile);
        printer->setOutputFileName(file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".pdf"));
    }
    printer->setDocName(doc.windowTitle());
    return printer;
}

void MainCommands::ReportPrint(const PrintResult &result)
{
    if (!result.ok())
        MsgBox(m_main, QStringLiteral("打印失败。\n%1").arg(result.reason), QStringLiteral("打印"), QMessageBox::Ok,
               QMessageBox::Ok, QMessageBox::Warning);
}

// A stopped print says so in the status bar, not in a box: the user asked
// for it. A printer that cannot take a job back still gets the pages drawn.
void MainCommands::ReportStoppedPrint(const PrintResult &result, const QPrinter &printer, bool toFile)
{
    QString text;
    if (toFile)
        text = QStringLiteral("已取消打印，PDF 文件没有写入。");
    else if (printer.printerState() == QPrinter::Aborted || result.Pages() == 0)
        text = QStringLiteral("已取消打印。");
    else
        text = QStringLiteral("已停止打印：已排好的 %1 页仍可能由打印机打印出来。").arg(result.Pages());
    m_main->statusBar()->showMessage(text, MessageTime);
}

// The print dialog first: printer, pages, copies, or a PDF file.
void MainCommands::Print()
{
    frmDoc *doc = m_main->ActiveDocument();
    if (!doc || !doc->sciMain || doc->sciMain->IsLoading())
        return;
    std::unique_ptr<QPrinter> printer = PrinterToUse(*doc);
    if (PrinterSeam::Current().AskPrintSettings(*printer, m_main)) {
        PdfFileOutput output(*printer);
        PrintResult result = doc->sciMain->PrintTo(*printer, doc->windowTitle());
        if (result.ok() && output.ToFile())
            if (const FileWriteResult written = output.Commit(); !written)
                result = PrintResult::Failure(
                    QStringLiteral("无法写入 PDF 文件“%1”：%2").arg(output.Target(), written.reason));
        if (result.outcome == PrintResult::Stopped)
            ReportStoppedPrint(result, *printer, output.ToFile());
        else
            ReportPrint(result);
    }
    doc->sciMain->SetFocus();
}

// The preview draws its pages with the printing code itself.
void MainCommands::PrintPreview()
{
    frmDoc *doc = m_main->ActiveDocument();
    if (!doc || !doc->sciMain || doc->sciMain->IsLoading())
        return;
    std::unique_ptr<QPrinter> printer = PrinterToUse(*doc);
    clsScintilla *sci = doc->sciMain.get();
    const QString title = doc->windowTitle();
    PrintResult last;
    PrinterSeam::Current().ShowPreview(*printer, m_main, [&](QPrinter *target) { last = sci->PrintTo(*target, title); });
    if (last.outcome == PrintResult::Stopped)
        m_main->statusBar()->showMessage(QStringLiteral("已停止排版打印预览的页面。"), MessageTime);
    else
        ReportPrint(last);
    sci->SetFocus();
}

// Reinterprets the file on disk; the document's own text is given up.
void MainCommands::ReopenWithEncoding(const QString &encodingName)
{
    const auto encoding = TextEncoding::FromName(encodingName);
    if (frmDoc *doc = m_main->ActiveDocument(); doc && encoding)
        m_main->ReopenDocument(doc, *encoding);
    FocusActiveEditor();
}

// Keeps the text; the next save writes it in the new encoding.
void MainCommands::ConvertEncoding(const QString &encodingName)
{
    const auto encoding = TextEncoding::FromName(encodingName);
    if (clsScintilla *sci = ActiveEditor(); sci && encoding && !sci->IsLoading())
        sci->ConvertEncoding(*encoding);
    FocusActiveEditor();
}

// The active document's encoding is checked (reopening ignores the mark: the
// file decides that).
void MainCommands::MarkCurrentEncoding(QMenu *menu, bool sameMark)
{
    const clsScintilla *sci = ActiveEditor();
    // The items sit in group submenus; only the encodings can be checked.
    for (QAction *item : menu->findChildren<QAction *>()) {
        if (!item->isCheckable())
            continue;
        const auto encoding = TextEncoding::FromName(item->data().toString());
        item->setChecked(sci && encoding && encoding->codec == sci->Encoding().codec
                         && (!sameMark || encoding->bom == sci->Encoding().bom));
    }
}

// Leaving asks about unsaved work like closing the window does.
void MainCommands::Exit()
{
    m_main->close();
}

// ---- Edit ----

void MainCommands::Undo() { OnActiveEditor(&clsScintilla::Undo); }
void MainCommands::Redo() { OnActiveEditor(&clsScintilla::Redo); }
void MainCommands::Cut() { OnActiveEditor(&clsScintilla::Cut); }
void MainCommands::Copy() { OnActiveEditor(&clsScintilla::Copy); }
void MainCommands::Paste() { OnActiveEditor(&clsScintilla::Paste); }
void MainCommands::SelectAll() { OnActiveEditor(&clsScintilla::SelectAll); }

QString MainCommands::TimeDateText()
{
    const QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t')).replace(QStringLiteral("  "), QStringLiteral(" ")); // no time zone
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.time(), timeFormat.trimmed()) + QStringLiteral(" | ")
           + locale.toString(now.date(), QLocale::ShortFormat);
}

void MainCommands::TimeDate()
{
    if (clsScintilla *sci = ActiveEditor()) {
        sci->SelText(TimeDateText());
        sci->SetFocus();
    }
}

void MainCommands::SyntaxSettings()
{
    ShowHighlighterSettings(HighlighterFolders::ForProgram(), m_main);
    ReapplyHighlighters(m_main->Editors());
    FocusActiveEditor();
    m_main->SetupMenu();
}

// ---- Search ----

clsScintilla *MainCommands::SearchableEditor() const
{
    clsScintilla *sci = ActiveEditor();
    return sci && !sci->IsLoading() ? sci : nullptr;
}

// Find and Go to give the editor the focus themselves; the replace dialog
// stays open beside the document, which keeps the keyboard.
void MainCommands::Find()
{
    if (clsScintilla *sci = SearchableEditor())
        TellSearch(DoFind(*sci), *sci);
}

void MainCommands::Replace()
{
    if (clsScintilla *sci = SearchableEditor()) {
        DoReplace(*sci);
        sci->SetFocus();
    }
}

void MainCommands::FindNext()
{
    if (clsScintilla *sci = SearchableEditor()) {
        TellSearch(sci->FindNext(), *sci);
        sci->SetFocus();
    }
}

void MainCommands::FindPrevious()
{
    if (clsScintilla *sci = SearchableEditor()) {
        TellSearch(sci->FindPrev(), *sci);
        sci->SetFocus();
    }
}

void MainCommands::Goto()
{
    clsScintilla *sci = SearchableEditor();
    if (!sci)
        return;
    std::optional<long> line;
    TryStep("DoGoto", [&] { line = DoGoto(*sci); }); // a box that holds no number
    if (!line)
        return;
    if (*line < 1 || *line > sci->GetLineCount())
        m_main->statusBar()->showMessage(
            QStringLiteral("找不到第 %1 行（文档共 %2 行）").arg(*line).arg(sci->GetLineCount()), MessageTime);
    else
        m_main->statusBar()->clearMessage();
}

// A search that finds nothing says so in the status bar; the next one that
// finds takes the words away.
void MainCommands::TellSearch(bool found, const clsScintilla &sci)
{
    TellSearch(found ? SearchOutcome::Found : SearchOutcome::NotFound, sci);
}

void MainCommands::TellSearch(SearchOutcome outcome, const clsScintilla &sci)
{
    if (outcome == SearchOutcome::NotRun || sci.WasStopped())
        return;
    if (outcome == SearchOutcome::Found)
        m_main->statusBar()->clearMessage();
    else if (sci.LastSearchText().isEmpty())
        m_main->statusBar()->showMessage(QStringLiteral("还没有要查找的内容，请先用“查找”。"), MessageTime);
    else
        m_main->statusBar()->showMessage(QStringLiteral("找不到“%1”").arg(sci.LastSearchText()), MessageTime);
}

// ---- Highlighting, windows, help ----

void MainCommands::ApplyHighlighterItem(int index)
{
    const QList<QAction *> items = m_menus->HighlighterItems();
    if (clsScintilla *sci = ActiveEditor(); sci && index >= 0 && index < items.size()) {
        ApplyHighlighter(*sci, items[index]->data().toString());
        sci->SetFocus();
    }
}

void MainCommands::MarkActiveLanguage()
{
    const clsScintilla *sci = ActiveEditor();
    const QList<QAction *> items = m_menus->HighlighterItems();
    for (qsizetype i = 0; i < items.size(); ++i)
        items[i]->setChecked(sci && sci->lHighlighterNum == i);
}

void MainCommands::TileHorizontally() { WindowArranger::TileHorizontally(m_main->MdiArea()); }
void MainCommands::TileVertically() { WindowArranger::TileVertically(m_main->MdiArea()); }
void MainCommands::ArrangeIcons() { WindowArranger::ArrangeIcons(m_main->MdiArea()); }
void MainCommands::Cascade() { WindowArranger::Cascade(m_main->MdiArea()); }

void MainCommands::OpenWebPage(const QString &path)
{
    WebSite::Open(path);
}

void MainCommands::About()
{
    m_main->ShowAbout();
}

// The open document windows by title; the active one checked.
void MainCommands::FillWindowList()
{
    QMenu *list = m_menus->mnuWindowList;
    list->clear();
    QMdiArea *area = m_main->MdiArea();
    for (QMdiSubWindow *window : area->subWindowList(QMdiArea::CreationOrder)) {
        // The document's own title, without the frame's modified marker.
        const QString title = window->widget() ? window->widget()->windowTitle() : window->windowTitle();
        QAction *item = list->addAction(QString(title).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setCheckable(true);
        item->setChecked(window == area->activeSubWindow());
        connect(item, &QAction::triggered, area, [area, window] { area->setActiveSubWindow(window); });
    }
}
