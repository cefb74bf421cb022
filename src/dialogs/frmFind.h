#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class clsScintilla;

// The find dialog: what to search for and how. Modal and short-lived: DoFind
// shows it, reads its fields and throws it away. Its place and options are
// written back whenever it goes, however it is closed.
class frmFind : public QDialog
{
    Q_OBJECT

public:
    explicit frmFind(QWidget *owner = nullptr);
    ~frmFind() override;

    // 1 once the Find button closed the dialog, else 0.
    std::int16_t DoWhat = 0;

    QLabel *lblFind;
    QComboBox *cmbFind;
    QCheckBox *chkWrap;
    QCheckBox *chkWhole;
    QCheckBox *chkCase;
    QCheckBox *chkRegExp;
    QGroupBox *frmDirection;
    QRadioButton *optUp;
    QRadioButton *optDown;
    QPushButton *cmdFind;
    QPushButton *cmdCancel;

private:
    void Form_Load();
    void Form_Unload();
    void cmdFind_Click();
};

// Runs the find dialog for an editor (its selection, if any, is the text to
// find) and searches as the dialog says; the editor has the focus afterwards.
// Says whether a search ran (not cancelled, not stopped) and found.
enum class SearchOutcome { NotRun, Found, NotFound };
SearchOutcome DoFind(clsScintilla &sci);
