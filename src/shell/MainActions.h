#pragma once

#include <QObject>

class QAction;
class QActionGroup;

// Every command of the main window as one action, made here and nowhere
// else, with the caption, shortcut and toolbar tooltip it has always had. The
// menu bar and the toolbar show these same actions; MainCommands gives them
// their work. An action that needs a document is disabled while none is open.
class MainActions : public QObject
{
    Q_OBJECT

public:
    explicit MainActions(QObject *parent);

    // File
    QAction *const mnuNew;
    QAction *const mnuOpen;
    QAction *const mnuClearRecent; // in the recent files' submenu
    QAction *const mnuReload;
    QAction *const mnuSave;
    QAction *const mnuSaveAs;
    QAction *const mnuSaveAll;
    QAction *const mnuExportHTML;
    QAction *const mnuClose;
    QAction *const mnuCloseAll;
    QAction *const mnuPrint;
    QAction *const mnuPrintPreview;
    // Two switches kept in the settings: an unmodified document follows
    // changes made to its file by other programs; the next start reopens
    // the files open at exit.
    QAction *const mnuReloadQuietly;
    QAction *const mnuRestoreSession;
    QAction *const mnuExit;
    // Edit
    QAction *const mnuUndo;
    QAction *const mnuRedo;
    QAction *const mnuCut;
    QAction *const mnuCopy;
    QAction *const mnuPaste;
    QAction *const mnuSelAll;
    QAction *const mnuSyntax;
    QAction *const mnuTimeDate;
    // Search
    QAction *const mnuFind;
    QAction *const mnuReplace;
    QAction *const mnuFindNext;
    QAction *const mnuFindPrevious;
    QAction *const mnuGoto;
    QAction *const mnuFindInFiles;
    QAction *const mnuNextHit;
    QAction *const mnuPreviousHit;
    // Window
    QAction *const mnuHor;
    QAction *const mnuVertical;
    QAction *const mnuArrange;
    QAction *const mnuCascade;
    // Help
    QAction *const help;
    QAction *const sj;
    QAction *const zy;
    QAction *const mnuAbout;
    // The toolbar's formatting buttons, which only give the editor the focus
    // back.
    QAction *const tbBold;
    QAction *const tbItalic;
    QAction *const tbUnderline;
    QAction *const tbAlignLeft;
    QAction *const tbAlignCentre;
    QAction *const tbAlignRight;

    // The actions that work on the active document, including those the
    // menus add (the highlighter items, the encoding submenus).
    QActionGroup *const needsDocument;
    void SetDocumentOpen(bool open);

private:
    QAction *Make(const char *name, const char *caption, const char *shortcut = nullptr,
                  const char *otherShortcut = nullptr);
    QAction *MakeButton(const char *name, const char *tooltip, const char *icon);
};
