#include "MainCommands.h"

#include "DialogFilter.h"
#include "MainMenus.h"
#include "MainToolbar.h"
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

MainCommands::MainCommands(frmMain *main, MainMenus *menus, MainToolbar *toolbar)
    : QObject(main), m_main(main), m_menus(menus)
{
    Connect("mnuNew", &MainCommands::New);
    Connect("mnuOpen", &MainCommands::Open);
    Connect("mnuSave", &MainCommands::Save);
    Connect("mnuSaveAs", &MainCommands::SaveAs);
    Connect("mnuExportHTML", &MainCommands::ExportHtml);
    Connect("mnuPrint", &MainCommands::Print);
    Connect("mnuExit", &MainCommands::Exit);
    Connect("mnuUndo", &MainCommands::Undo);
    Connect("mnuRedo", &MainCommands::Redo);
    Connect("mnuCut", &MainCommands::Cut);
    Connect("mnuCopy", &MainCommands::Copy);
    Connect("mnuPaste", &MainCommands::Paste);
    Connect("mnuSelAll", &MainCommands::SelectAll);
    Connect("mnuSyntax", &MainCommands::SyntaxSettings);
    Connect("mnuTimeDate", &MainCommands::TimeDate);
    Connect("mnuFind", &MainCommands::Find);
    Connect("mnuReplace", &MainCommands::Replace);
    Connect("mnuFindNext", &MainCommands::FindNext);
    Connect("mnuFindPrevious", &MainCommands::FindPrevious);
    Connect("mnuGoto", &MainCommands::Goto);
    Connect("mnuHor", &MainCommands::TileHorizontally);
    Connect("mnuVertical", &MainCommands::TileVertically);
    Connect("mnuArrange", &MainCommands::ArrangeIcons);
    Connect("mnuCascade", &MainCommands::Cascade);
    Connect("mnuAbout", &MainCommands::About);
    connect(menus->Item(QStringLiteral("help")), &QAction::triggered, this,
            [this] { OpenWebPage(WebSite::ReleasePage); });
    connect(menus->Item(QStringLiteral("sj")), &QAction::triggered, this,
            [this] { OpenWebPage(WebSite::UpgradePage); });
    connect(menus->Item(QStringLiteral("zy")), &QAction::triggered, this,
            [this] { OpenWebPage(WebSite::HomePage); });
    connect(menus, &MainMenus::HighlighterChosen, this, &MainCommands::ApplyHighlighterItem);
    connect(menus->Menu(QStringLiteral("mnuWindowList")), &QMenu::aboutToShow, this, &MainCommands::FillWindowList);
    connect(toolbar, &MainToolbar::ButtonClicked, this, &MainCommands::ToolbarClicked);
    connect(menus, &MainMenus::ReopenEncodingChosen, this, &MainCommands::ReopenWithEncoding);
    connect(menus, &MainMenus::ConvertEncodingChosen, this, &MainCommands::ConvertEncoding);
    connect(menus->Menu(QStringLiteral("mnuReopenEncoding")), &QMenu::aboutToShow, this,
            [this] { MarkCurrentEncoding(QStringLiteral("mnuReopenEncoding"), false); });
    connect(menus->Menu(QStringLiteral("mnuConvertEncoding")), &QMenu::aboutToShow, this,
            [this] { MarkCurrentEncoding(QStringLiteral("mnuConvertEncoding"), true); });
}

void MainCommands::Connect(const char *item, void (MainCommands::*command)())
{
    connect(m_menus->Item(QString::fromLatin1(item)), &QAction::triggered, this, command);
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
void MainCommands::MarkCurrentEncoding(const QString &menuName, bool sameMark)
{
    const clsScintilla *sci = ActiveEditor();
    for (QAction *item : m_menus->Menu(menuName)->actions()) {
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

// The toolbar's key decides; the formatting and alignment buttons only hand
// the focus back to the editor.
void MainCommands::ToolbarClicked(const QString &key)
{
    const QString command = key.toLower();
    if (command == QLatin1String("new"))
        New();
    else if (command == QLatin1String("open"))
        Open();
    else if (command == QLatin1String("save"))
        Save();
    else if (command == QLatin1String("print"))
        Print();
    else if (command == QLatin1String("cut"))
        Cut();
    else if (command == QLatin1String("copy"))
        Copy();
    else if (command == QLatin1String("paste"))
        Paste();
    FocusActiveEditor();
}

// The open document windows by title; the active one checked.
void MainCommands::FillWindowList()
{
    QMenu *list = m_menus->Menu(QStringLiteral("mnuWindowList"));
    list->clear();
    QMdiArea *area = m_main->MdiArea();
    for (QMdiSubWindow *window : area->subWindowList(QMdiArea::CreationOrder)) {
        QAction *item = list->addAction(QString(window->windowTitle()).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setCheckable(true);
        item->setChecked(window == area->activeSubWindow());
        connect(item, &QAction::triggered, area, [area, window] { area->setActiveSubWindow(window); });
    }
}
