#pragma once

#include <QDialog>
#include <QPointer>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class clsScintilla;

// The replace dialog: stays open beside the documents and searches, replaces
// and replaces all in the editor it was last given. There is one at a time.
// The editor may be closed while the dialog is open; its buttons then do
// nothing until it is given another one.
class frmReplace : public QDialog
{
    Q_OBJECT

public:
    // The open dialog, or a new one owned by the owner.
    static frmReplace *Load(QWidget *owner);
    static frmReplace *Instance() { return s_instance; }

    ~frmReplace() override;

    // Shows the dialog without taking the keyboard from the document.
    void ShowModeless();

    // The editor the buttons work on.
    QPointer<clsScintilla> cScintilla;

    std::array<QLabel *, 2> lblData;
    QComboBox *cmbFind;
    QComboBox *cmbReplace;
    QCheckBox *chkWrap;
    QCheckBox *chkWhole;
    QCheckBox *chkCase;
    QCheckBox *chkRegExp;
    QPushButton *cmdFindNext;
    QPushButton *cmdReplace;
    QPushButton *cmdReplaceAll;
    QPushButton *cmdClose;
    QLabel *lblReplace;

    void cmdFindNext_Click();
    void cmdReplace_Click();
    void cmdReplaceAll_Click();

protected:
    void done(int result) override;

private:
    explicit frmReplace(QWidget *owner);
    void Form_Load();
    void Form_Unload();
    bool EditorReady() const;
    bool FindNextMatch();

    bool m_unloaded = false;
    // The match a replacement with nothing selected last, in which editor.
    QPointer<clsScintilla> m_shownIn;
    long m_shownStart = -1;
    long m_shownEnd = -1;
    static QPointer<frmReplace> s_instance;
};

// Opens the replace dialog (the one already open, if any) for an editor:
// its buttons work on that editor from now on, and the editor's selection,
// if any, is the text to find. Returns at once.
void DoReplace(clsScintilla &sci);
