#pragma once

#include "FileToOpen.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class DiskChangeGuard;
class DocumentBackups;
struct RecoverableDocument;
class MainActions;
class MainCommands;
class MainMenus;
class MainToolbar;
class QMdiArea;
class QMdiSubWindow;
class QTimer;
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

    // Starts with the files given (the command line's), or with one new
    // document when there are none.
    explicit frmMain(QWidget *parent = nullptr, const QList<FileToOpen> &startFiles = {});
    ~frmMain() override;

    // Start-up: highlighters, their menu, placement, the first documents
    // (OpenStartDocuments), cascade.
    void Setup(const QList<FileToOpen> &startFiles = {});

    // Start-up's one way in for documents: the files named (on the command
    // line), or, when none are, the files of the last session if the
    // setting says so.
    void OpenAtStart(const QStringList &files);

    // The only way document windows are made.
    frmDoc *OpenDocument(const QString &name);

    // Every way of opening files ends here (start-up, the open dialog, a
    // drop, the recent files, a second start of the program): each in turn,
    // the last one active. A file that is open already has its window
    // brought forward, a file that does not exist yet opens as an empty
    // document that will be saved there, and a given line and column take
    // the caret there. Answers the documents, in order.
    QList<frmDoc *> OpenFiles(const QList<FileToOpen> &files);
    // The files to start with; one new document ("新建文档 1") when there
    // are none, or when none of them could be opened.
    void OpenStartDocuments(const QList<FileToOpen> &files);
    // The document of that file, however its path is spelled.
    frmDoc *FindDocument(const QString &path) const;
    // Shows the main window in front, restored if it was minimized.
    void BringToFront();

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
    // Reads the document's file again in its encoding, keeping the caret
    // line; asks first when that gives up unsaved changes.
    bool ReloadDocument(frmDoc *doc);
    // Notices what other programs do to the documents' files.
    DiskChangeGuard *DiskGuard() const { return m_diskGuard; }
    // Backs up the unsaved documents while the program runs.
    DocumentBackups *Backups() const { return m_backups; }
    // What a run that did not end normally left behind: offered once, at
    // start.
    void OfferRecovery();

    // The highlighter menu, built from the highlighter table.
    void SetupMenu();
    void AddMenu(const QString &sCaption, const QString &sTag, int iIndex);

    // The one file dialog of the main window: it offers the name chosen
    // last (or the document's own) and answers the chosen path, empty when
    // cancelled.
    enum class FileDialogKind { Open, SaveAs, ExportHtml };
    QString AskFileName(FileDialogKind kind, const QString &documentPath);
    // The open dialog with several files selectable; empty when cancelled.
    QStringList AskOpenFileNames();
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

signals:
    // A document now belongs to this file: it was opened, or saved under a
    // new name.
    void FileNamed(const QString &path);
    // A document window has been made and shown in the document area.
    void DocumentOpened(QMdiSubWindow *window, frmDoc *doc);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void MDIForm_Load(const QList<FileToOpen> &startFiles);
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
    void ShowLineEnds();
    void ShowLanguage();
    bool LoadDocumentFile(frmDoc *doc, const QString &path);
    QString LanguageForLoadedFile(const clsScintilla &sci, const QString &path);
    frmDoc *OpenFile(const FileToOpen &file);
    frmDoc *OpenMissingFile(const QString &path);
    frmDoc *MakeDocument();
    void ShowDocument(frmDoc *doc);
    QMdiSubWindow *PlaceDocument(frmDoc *doc);
    void ActivateDocument(frmDoc *doc);
    static void PlaceCaret(frmDoc *doc, const FileToOpen &file);
    static long CharacterPosition(const clsScintilla &sci, long line, long column);
    void TakeDroppedUri(const QString &uri);
    void ReportSaveFailure(const QString &path, const QString &reason);
    void ReportStoppedSave();
    void DetachFromFile(frmDoc *doc);
    bool RestoreBackup(const RecoverableDocument &document);
    void SaveSession();
    void RestoreSession();
    bool WriteDocument(frmDoc *doc, const QString &path);

    QMdiArea *m_mdiArea = nullptr;
    MainActions *m_actions = nullptr;
    MainMenus *m_menus = nullptr;
    MainToolbar *m_toolbar = nullptr;
    MainCommands *m_commands = nullptr;
    FindInFilesHost *m_findInFiles = nullptr;
    WindowPlacement *m_placement = nullptr;
    DiskChangeGuard *m_diskGuard = nullptr;
    DocumentBackups *m_backups = nullptr;
    QString m_cdFileName; // the file name chosen last in any of the file dialogs
    QPointer<QWidget> m_about;
    QPointer<clsScintilla> m_watched; // the editor the status bar shows
    QList<FileToOpen> m_droppedFiles; // the files of a drop on an editor, until it has ended
    QTimer *m_lineEndsLater = nullptr; // panel 4 once typing pauses: the line ends are counted again
};
