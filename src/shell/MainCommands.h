#pragma once

#include <QObject>
#include <QString>
#include <memory>

class MainActions;
class MainMenus;
class clsScintilla;
enum class SearchOutcome;
class frmMain;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class frmDoc;
struct PrintResult;

// What the actions of the main window do (its menu items and toolbar
// buttons). Every command acts on the active document window and does
// nothing to any document when none is open; afterwards the active editor
// has the focus.
class MainCommands : public QObject
{
    Q_OBJECT

public:
    MainCommands(frmMain *main, MainActions *actions, MainMenus *menus);

    // File
    void New();
    void Open();
    void Reload();
    void Save();
    void SaveAs();
    // Every modified document, each by the Save rule.
    void SaveAll();
    void ExportHtml();
    // The active document, through its close prompt.
    void Close();
    // Document after document; a Cancel in a close prompt keeps the rest.
    void CloseAll();
    void Print();
    void PrintPreview();
    void ReopenWithEncoding(const QString &encodingName);
    void ConvertEncoding(const QString &encodingName);
    void Exit();
    // Edit
    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    void SelectAll();
    void TimeDate();
    void SyntaxSettings();
    // Search
    void Find();
    void Replace();
    void FindNext();
    void FindPrevious();
    void Goto();
    // Highlighting, windows, help
    void ApplyHighlighterItem(int index);
    void TileHorizontally();
    void TileVertically();
    void ArrangeIcons();
    void Cascade();
    void OpenWebPage(const QString &path);
    void About();

    // The text that Date and time inserts: local time with seconds, " | ",
    // the short local date.
    static QString TimeDateText();

private:
    void GiveUpCloseKeys(QMdiSubWindow *window);
    void FillWindowList();
    std::unique_ptr<QPrinter> PrinterToUse(const frmDoc &doc) const;
    void ReportPrint(const PrintResult &result);
    void ReportStoppedPrint(const PrintResult &result, const QPrinter &printer, bool toFile);
    void TellSearch(bool found, const clsScintilla &sci);
    void TellSearch(SearchOutcome outcome, const clsScintilla &sci);
    static constexpr int MessageTime = 5000; // ms a search's message stays
    void MarkActiveLanguage();
    void MarkCurrentEncoding(QMenu *menu, bool sameMark);
    clsScintilla *ActiveEditor() const;
    void FocusActiveEditor();
    // Runs an edit command on the active editor, then gives it the focus.
    void OnActiveEditor(void (clsScintilla::*command)());
    // The active editor unless it is still reading its file.
    clsScintilla *SearchableEditor() const;

    frmMain *m_main;
    MainMenus *m_menus;
};
