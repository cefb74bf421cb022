#include "RecordingBrowser.h"
#include "dialogs/AboutPicture.h"
#include "dialogs/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AboutBoxTest : public ::testing::Test
{
protected:
    void SetUp() override { owner.show(); }

    frmAbout *Open()
    {
        box = new frmAbout(&owner);
        box->show();
        QApplication::processEvents();
        return box;
    }
    bool Closed() const { return box == nullptr || !box->isVisible(); }

    QWidget owner;
    QPointer<frmAbout> box;
};

TEST_F(AboutBoxTest, ShowsVersionAndTwoButtonsWithoutBlocking)
{
    Open();
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("关于"));
    EXPECT_EQ(box->Label1->text(), QStringLiteral("v1.0 正式版"));
    EXPECT_DOUBLE_EQ(box->Label1->font().pointSizeF(), 10.5);
    EXPECT_EQ(box->cmdOK->text(), QStringLiteral("确定"));
    EXPECT_TRUE(box->cmdOK->isDefault());
    EXPECT_EQ(box->cmdSysInfo->text(), QStringLiteral("升级"));
}

TEST_F(AboutBoxTest, UpgradeOpensThePageAndTheBoxStays)
{
    RecordingBrowser browser;
    Open()->cmdSysInfo->click();
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_TRUE(browser.opened[0].toString().endsWith(QStringLiteral("/Quorvane.html")));
    EXPECT_FALSE(Closed());
}

TEST_F(AboutBoxTest, OkAndEscapeCloseTheBox)
{
    Open()->cmdOK->click();
    EXPECT_TRUE(Closed());

    Open();
    ASSERT_FALSE(Closed());
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(Closed());

    QTest::keyClick(Open()->cmdOK, Qt::Key_Return);
    EXPECT_TRUE(Closed());
}

// A click gives 升级 the focus; Enter then still belongs to 确定.
TEST_F(AboutBoxTest, EnterAfterUpgradeClosesTheBox)
{
    RecordingBrowser browser;
    Open();
    QApplication::setActiveWindow(box);
    QTest::mouseClick(box->cmdSysInfo, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), box->cmdSysInfo);
    EXPECT_TRUE(box->cmdOK->isDefault());

    QTest::keyClick(box->cmdSysInfo, Qt::Key_Return);
    EXPECT_EQ(browser.opened.size(), 1); // opened once, by the click
    EXPECT_TRUE(Closed());
}

TEST(AboutPictureTest, IsDrawnAtItsSize)
{
    const QImage picture = AboutPicture::Draw().toImage();
    EXPECT_EQ(picture.size(), QSize(378, 209));
    EXPECT_NE(picture.pixelColor(10, 10), picture.pixelColor(10, 200)); // sky above, panel below
}

} // namespace
