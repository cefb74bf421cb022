#include "frmAbout.h"

#include "AboutPicture.h"
#include "platform/WebSite.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    m_picture = AboutPicture::Draw(devicePixelRatioF());

    Label1 = new QLabel(QStringLiteral("v1.0 正式版"), this);
    QFont song(QStringLiteral("宋体"));
    song.setPointSizeF(10.5);
    song.setBold(false);
    Label1->setFont(song);
    Label1->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    // Grey over white: an etched rule.
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("升级"), this);
    // A clicked button takes the focus; it must not take Enter from "确定".
    cmdSysInfo->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    auto *version = new QHBoxLayout;
    version->addStretch(240);
    version->addWidget(Label1);
    version->addStretch(33);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 8, 8, 8);
    layout->addStretch(88);
    layout->addLayout(version);
    layout->addStretch(50);
    layout->addWidget(rule);
    layout->addLayout(buttons);

    setMinimumSize(AboutPicture::Width + 4, AboutPicture::Height + 1); // 5730 x 3150 twips
    resize(minimumSize());
    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();
}

void frmAbout::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_picture);
}

void frmAbout::cmdOK_Click()
{
    close();
}

// The box stays open; a browser that cannot start says nothing.
void frmAbout::cmdSysInfo_Click()
{
    WebSite::Open(WebSite::UpgradePage);
}
