#pragma once

#include <QObject>
#include <QString>

class MainMenus;
class MainToolbar;
class clsScintilla;
class frmMain;

// What the menu items and toolbar buttons of the main window do. Every
// command acts on the active document window and does nothing to any
// document when none is open; afterwards the active editor has the focus.
class MainCommands : public QObject
{
    Q_OBJECT

public:
    MainCommands(frmMain *main, MainMenus *menus, MainToolbar *toolbar);

    // File
    void New();
    void Open();
    void Save();
    void SaveAs();
    void ExportHtml();
    void Print();
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
    void ToolbarClicked(const QString &key);

    // The text that Date and time inserts: local time with seconds, " | ",
    // the short local date.
    static QString TimeDateText();

private:
    void Connect(const char *item, void (MainCommands::*command)());
    void FillWindowList();
    void MarkCurrentEncoding(const QString &menuName, bool sameMark);
    clsScintilla *ActiveEditor() const;
    void FocusActiveEditor();
    // Runs an edit command on the active editor, then gives it the focus.
    void OnActiveEditor(void (clsScintilla::*command)());
    // The active editor unless it is still reading its file.
    clsScintilla *SearchableEditor() const;

    frmMain *m_main;
    MainMenus *m_menus;
};
