#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

// The go-to dialog: a line and a column, one-based, digits only. Modal and
// short-lived: the editor's DoGoto fills its labels, shows it and reads the
// boxes when Go closed it. Its place is written back whenever it goes.
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
