#include "RecordingBrowser.h"
#include "dialogs/AboutPicture.h"
#include "dialogs/frmAbout.h"
#include "highlight/modHighlighter.h"
#include "shell/MainMenus.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AboutBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetHighlighterTable();
        window.show();
        QApplication::processEvents();
    }

    frmAbout *Box() const { return qobject_cast<frmAbout *>(window.AboutBox()); }
    void ChooseAbout() { window.Menus()->Item(QStringLiteral("mnuAbout"))->trigger(); }

    frmMain window;
};

TEST_F(AboutBoxTest, OneBoxThatStaysWhenChosenAgain)
{
    ChooseAbout();
    frmAbout *box = Box();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("关于"));
    EXPECT_EQ(box->Label1->text(), QStringLiteral("v1.0 正式版"));
    EXPECT_DOUBLE_EQ(box->Label1->font().pointSizeF(), 10.5);
    EXPECT_EQ(box->cmdOK->text(), QStringLiteral("确定"));
    EXPECT_TRUE(box->cmdOK->isDefault());
    EXPECT_EQ(box->cmdSysInfo->text(), QStringLiteral("升级"));

    ChooseAbout();
    EXPECT_EQ(Box(), box);
    EXPECT_EQ(window.findChildren<frmAbout *>().size(), 1);
}

TEST_F(AboutBoxTest, UpgradeOpensThePageAndTheBoxStays)
{
    RecordingBrowser browser;
    ChooseAbout();
    Box()->cmdSysInfo->click();
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_TRUE(browser.opened[0].toString().endsWith(QStringLiteral("/Quorvane.html")));
    EXPECT_TRUE(Box()->isVisible());
}

TEST_F(AboutBoxTest, OkAndEscapeCloseTheBox)
{
    auto closed = [this] { return Box() == nullptr || !Box()->isVisible(); };
    ChooseAbout();
    Box()->cmdOK->click();
    EXPECT_TRUE(closed());

    ChooseAbout();
    ASSERT_FALSE(closed());
    QTest::keyClick(Box(), Qt::Key_Escape);
    EXPECT_TRUE(closed());

    ChooseAbout();
    QTest::keyClick(Box()->cmdOK, Qt::Key_Return);
    EXPECT_TRUE(closed());
}

// A click gives 升级 the focus; Enter then still belongs to 确定.
TEST_F(AboutBoxTest, EnterAfterUpgradeClosesTheBox)
{
    RecordingBrowser browser;
    ChooseAbout();
    frmAbout *box = Box();
    QApplication::setActiveWindow(box);
    QTest::mouseClick(box->cmdSysInfo, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), box->cmdSysInfo);
    EXPECT_TRUE(box->cmdOK->isDefault());

    QTest::keyClick(box->cmdSysInfo, Qt::Key_Return);
    EXPECT_EQ(browser.opened.size(), 1); // opened once, by the click
    EXPECT_TRUE(Box() == nullptr || !Box()->isVisible());
}

TEST(AboutPictureTest, IsDrawnAtItsSize)
{
    const QImage picture = AboutPicture::Draw().toImage();
    EXPECT_EQ(picture.size(), QSize(378, 209));
    EXPECT_NE(picture.pixelColor(10, 10), picture.pixelColor(10, 200)); // sky above, panel below
}

} // namespace
