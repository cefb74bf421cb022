#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class clsScintilla;

// The go-to dialog: a line and a column, one-based, digits only. Modal and
// short-lived: DoGoto fills its labels, shows it and reads the boxes when Go
// closed it. Its place is written back whenever it goes.
class frmGoto : public QDialog
{
    Q_OBJECT

public:
    explicit frmGoto(QWidget *owner = nullptr);
    ~frmGoto() override;

    // 1 when Go closed the dialog, else 0.
    std::int16_t iWhatToDo = 0;

    std::array<QLabel *, 2> lblData;
    QLineEdit *txtLine;
    QLineEdit *txtColumn;
    QLabel *lblCurLine;
    QLabel *lblColumn;
    QLabel *lblLineCount;
    QPushButton *cmdGo;
    QPushButton *cmdCancel;

private:
    void Form_Load();
    void Form_Unload();
    void cmdGo_Click();
    void cmdCancel_Click();
};

// Runs the go-to dialog for an editor (caret line, last line and column
// shown) and, when Go closed it, moves the caret to the one-based line and
// column entered (an empty box counts as 1). The editor has the focus
// afterwards. A box that holds no number, or one beyond 32 bits, raises a
// RuntimeError before the dialog goes. Answers the one-based line gone to,
// nothing when cancelled.
std::optional<long> DoGoto(clsScintilla &sci);
