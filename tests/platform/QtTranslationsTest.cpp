#include "LogCapture.h"
#include "platform/QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// Takes every translator the test installed off the application again.
class QtTranslationsTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (QTranslator *translator : qApp->findChildren<QTranslator *>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
};

TEST_F(QtTranslationsTest, QtsOwnDialogsSpeakChinese)
{
    ASSERT_TRUE(QtTranslations::Install(*qApp));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
    // The file dialog's overwrite question and the print dialog's file
    // printer, which is there even on a machine without printers.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?"),
              QStringLiteral("%1 已存在。\n您想要替换它吗？"));
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print to File (PDF)"), QStringLiteral("打印到文件(PDF)"));
}

TEST_F(QtTranslationsTest, AMissingCatalogueIsLoggedAndLeavesEnglish)
{
    LogCapture log("ferrolan.language");
    EXPECT_FALSE(QtTranslations::Install(*qApp, QLocale(QLocale::Zulu, QLocale::SouthAfrica)));
    ASSERT_EQ(log.warnings.size(), 1);
    EXPECT_TRUE(log.warnings[0].contains(QStringLiteral("zu_ZA")));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
}

} // namespace
