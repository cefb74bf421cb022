#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

// The About box: the program's picture, its version, "确定" and an upgrade
// button that opens the upgrade page. Not modal; it closes on OK, Enter,
// Esc or its close box.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *owner);

    QLabel *Label1 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();

    QPixmap m_picture;
};
