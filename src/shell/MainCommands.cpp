#include "MainCommands.h"

#include "DialogFilter.h"
#include "FindInFilesHost.h"
#include "MainActions.h"
#include "MainMenus.h"
#include "WindowArranger.h"
#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmReplace.h"
#include "editor/TextEncoding.h"
#include "editor/clsScintilla.h"
#include "frmDoc.h"
#include "frmMain.h"
#include "highlight/HtmlExport.h"
#include "highlight/modHighlighter.h"
#include "platform/FileDialogSeam.h"
#include "platform/MessageBoxSeam.h"
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

MainCommands::MainCommands(frmMain *main, MainActions *a, MainMenus *menus)
    : QObject(main), m_main(main), m_menus(menus)
{
    const std::pair<QAction *, void (MainCommands::*)()> commands[] = {
        {a->mnuNew, &MainCommands::New},
        {a->mnuOpen, &MainCommands::Open},
        {a->mnuSave, &MainCommands::Save},
        {a->mnuSaveAs, &MainCommands::SaveAs},
        {a->mnuExportHTML, &MainCommands::ExportHtml},
        {a->mnuPrint, &MainCommands::Print},
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
    connect(a->help, &QAction::triggered, this, [this] { OpenWebPage(WebSite::ReleasePage); });
    connect(a->sj, &QAction::triggered, this, [this] { OpenWebPage(WebSite::UpgradePage); });
    connect(a->zy, &QAction::triggered, this, [this] { OpenWebPage(WebSite::HomePage); });
    FindInFilesHost *findInFiles = main->FindInFiles();
    connect(a->mnuFindInFiles, &QAction::triggered, findInFiles, &FindInFilesHost::Ask);
    connect(a->mnuNextHit, &QAction::triggered, findInFiles, &FindInFilesHost::NextHit);
    connect(a->mnuPreviousHit, &QAction::triggered, findInFiles, &FindInFilesHost::PreviousHit);

    connect(menus, &MainMenus::HighlighterChosen, this, &MainCommands::ApplyHighlighterItem);
    connect(menus->mnuWindowList, &QMenu::aboutToShow, this, &MainCommands::FillWindowList);
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
    const QString path = m_main->AskFileName(frmMain::FileDialogKind::Open, QString());
    if (!path.isEmpty())
        m_main->OpenDocument(path);
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

// The document itself (title, file name, modified marker) is left alone.
void MainCommands::ExportHtml()
{
    frmDoc *doc = m_main->ActiveDocument();
    const QString path = m_main->AskFileName(frmMain::FileDialogKind::ExportHtml, doc ? doc->strFile : QString());
    if (!path.isEmpty() && doc && doc->sciMain) {
        const FileIoResult result = ::ExportHtml(path, *doc->sciMain);
        if (!result.ok())
            MsgBox(m_main, WriteFailureMessage(WrittenFile::HtmlPage, {{path, result.reason}}),
                   QStringLiteral("导出为HTML"), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
    }
    FocusActiveEditor();
}

void MainCommands::Print()
{
    clsScintilla *sci = ActiveEditor();
    if (!sci)
        return;
    const PrintResult result = sci->PrintDoc();
    if (result.outcome == PrintResult::NoPrinter)
        MsgBox(m_main, result.reason, QStringLiteral("打印"), QMessageBox::Ok, QMessageBox::Ok,
               QMessageBox::Information);
    else if (!result.ok())
        MsgBox(m_main, QStringLiteral("打印失败。\n%1").arg(result.reason), QStringLiteral("打印"), QMessageBox::Ok,
               QMessageBox::Ok, QMessageBox::Warning);
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
    ShowHighlighterSettings(QCoreApplication::applicationDirPath() + QStringLiteral("/highlighters/"), m_main);
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
        DoFind(*sci);
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
        sci->FindNext();
        sci->SetFocus();
    }
}

void MainCommands::FindPrevious()
{
    if (clsScintilla *sci = SearchableEditor()) {
        sci->FindPrev();
        sci->SetFocus();
    }
}

void MainCommands::Goto()
{
    if (clsScintilla *sci = SearchableEditor())
        TryStep("DoGoto", [&] { DoGoto(*sci); }); // a box that holds no number
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
        QAction *item = list->addAction(QString(window->windowTitle()).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setCheckable(true);
        item->setChecked(window == area->activeSubWindow());
        connect(item, &QAction::triggered, area, [area, window] { area->setActiveSubWindow(window); });
    }
}
