#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>

class MainActions;
class MainCommands;
class MainMenus;
class MainToolbar;
class QMdiArea;
class QMdiSubWindow;
class StatusBarPanels;
class TextEncoding;
class WindowPlacement;
class clsScintilla;
class frmDoc;
class FindInFilesHost;

// The main window: a frame whose document area holds the document windows,
// with the menus, toolbar and status bar around it.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    static const QString Caption;

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Start-up: highlighters, their menu, placement, the first document,
    // cascade.
    void Setup();

    // The only way document windows are made.
    frmDoc *OpenDocument(const QString &name);

    // Saves a document by the Save rule: to its file when it has one,
    // otherwise under a name chosen in the save dialog. Says why in a
    // message when the save fails; true when the document was saved.
    bool SaveDoc(frmDoc *doc);
    // Asks for a new name and saves there; title, file name and highlighter
    // follow the new name. False when cancelled or failed.
    bool DoSaveAs(frmDoc *doc);
    // Reads the document's file again as another encoding, asking first when
    // that gives up unsaved changes. True when the file was read.
    bool ReopenDocument(frmDoc *doc, const TextEncoding &encoding);

    // The highlighter menu, built from the highlighter table.
    void SetupMenu();
    void AddMenu(const QString &sCaption, const QString &sTag, int iIndex);

    // The one file dialog of the main window: it offers the name chosen
    // last (or the document's own) and answers the chosen path, empty when
    // cancelled.
    enum class FileDialogKind { Open, SaveAs, ExportHtml };
    QString AskFileName(FileDialogKind kind, const QString &documentPath);
    static QString OpenFilter();
    static QString SaveFilter();

    // The About box: one at a time, brought to the front when asked again.
    void ShowAbout();
    QWidget *AboutBox() const { return m_about; }

    MainActions *Actions() const { return m_actions; }
    MainMenus *Menus() const { return m_menus; }
    MainToolbar *Toolbar() const { return m_toolbar; }
    FindInFilesHost *FindInFiles() const { return m_findInFiles; }

    frmDoc *ActiveDocument() const;
    QList<frmDoc *> Documents() const;
    // The editors of all documents, in the order the documents were made.
    QList<clsScintilla *> Editors() const;
    QMdiArea *MdiArea() const { return m_mdiArea; }

    // Written by the main window alone, from the current document's editor.
    StatusBarPanels *stb = nullptr;
    // Counts every document window made in this run, files included.
    long lDocCount = 0;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void MDIForm_Load();
    void MDIForm_Unload();
    bool QueryCloseDocuments();
    void CloseDocuments();
    void OnSubWindowActivated(QMdiSubWindow *window);
    frmDoc *CurrentDocument() const;
    // The status bar follows one editor: the current document's.
    void WatchEditor(clsScintilla *sci);
    void ShowCaretPosition();
    void ShowModifiedMarker();
    void ShowEncoding();
    bool LoadDocumentFile(frmDoc *doc, const QString &path);
    void ReportSaveFailure(const QString &path, const QString &reason);
    bool WriteDocument(frmDoc *doc, const QString &path);

    QMdiArea *m_mdiArea = nullptr;
    MainActions *m_actions = nullptr;
    MainMenus *m_menus = nullptr;
    MainToolbar *m_toolbar = nullptr;
    MainCommands *m_commands = nullptr;
    FindInFilesHost *m_findInFiles = nullptr;
    WindowPlacement *m_placement = nullptr;
    QString m_cdFileName; // the file name chosen last in any of the file dialogs
    QPointer<QWidget> m_about;
    QPointer<clsScintilla> m_watched; // the editor the status bar shows
};
