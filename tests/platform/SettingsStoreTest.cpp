#include "LogCapture.h"
#include "UnprivilegedScope.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

TEST(SettingsStoreTest, ValuesAreTextPerApplicationAndSection)
{
    SettingsStore::SaveSetting(QStringLiteral("AppOne"), QStringLiteral("Settings"), QStringLiteral("Key"), QStringLiteral("值 1"));
    SettingsStore::SaveSetting(QStringLiteral("AppTwo"), QStringLiteral("Settings"), QStringLiteral("Key"), QStringLiteral("2"));
    EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("AppOne"), QStringLiteral("Settings"), QStringLiteral("Key")),
              QStringLiteral("值 1"));
    EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("AppTwo"), QStringLiteral("Settings"), QStringLiteral("Key")),
              QStringLiteral("2"));
    EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("AppOne"), QStringLiteral("Other"), QStringLiteral("Key"),
                                        QStringLiteral("default")),
              QStringLiteral("default"));
    // One INI file per application name, under the user's config directory.
    const QSettings one(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ferrolan"), QStringLiteral("AppOne"));
    EXPECT_TRUE(one.fileName().endsWith(QStringLiteral("/Ferrolan/AppOne.ini"))) << one.fileName().toStdString();
}

// A place or an option that cannot be stored is no reason to stop the
// user, but it must not vanish without a word.
TEST(SettingsStoreTest, AValueThatCannotBeWrittenIsLogged)
{
    LogCapture log("ferrolan.settings");
    SettingsStore::SaveSetting(QStringLiteral("Open"), QStringLiteral("Settings"), QStringLiteral("Key"), QStringLiteral("1"));
    EXPECT_TRUE(log.warnings.isEmpty()) << log.warnings.join('\n').toStdString();

    UnprivilegedScope user; // the settings folder is root's
    if (!user.active())
        GTEST_SKIP() << "file permissions do not bind here";
    SettingsStore::SaveSetting(QStringLiteral("Locked"), QStringLiteral("Settings"), QStringLiteral("Key"), QStringLiteral("1"));
    ASSERT_EQ(log.warnings.size(), 1);
    EXPECT_TRUE(log.warnings[0].contains(QStringLiteral("Settings/Key"))) << log.warnings[0].toStdString();
    EXPECT_TRUE(log.warnings[0].contains(QStringLiteral("Locked.ini"))) << log.warnings[0].toStdString();
    EXPECT_TRUE(log.warnings[0].contains(QStringLiteral("access denied"))) << log.warnings[0].toStdString();
}

TEST(SettingsStoreTest, SingleTextHasSevenSignificantDigitsAndWholeNumbersPlain)
{
    EXPECT_EQ(SettingsStore::SingleText(10350), QStringLiteral("10350"));
    EXPECT_EQ(SettingsStore::SingleText(-450), QStringLiteral("-450"));
    EXPECT_EQ(SettingsStore::SingleText(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(SettingsStore::SingleText(1.0 / 3.0), QStringLiteral("0.3333333"));
    const QString large = SettingsStore::SingleText(123456789);
    EXPECT_DOUBLE_EQ(*SettingsStore::ReadNumber(large), 123456800.0); // single precision, 7 digits
}

TEST(SettingsStoreTest, ValuesEditedByHandAreRefusedNotGuessed)
{
    for (const char *text : {"", "abc", "12abc", "nan", "inf"})
        EXPECT_FALSE(SettingsStore::ReadNumber(QString::fromLatin1(text)).has_value()) << text;
    EXPECT_DOUBLE_EQ(*SettingsStore::ReadNumber(QStringLiteral(" 2250 ")), 2250.0);

    EXPECT_EQ(SettingsStore::ReadInteger16(QStringLiteral("2.5")), 2); // halves to even
    EXPECT_EQ(SettingsStore::ReadInteger16(QStringLiteral("3.5")), 4);
    EXPECT_FALSE(SettingsStore::ReadInteger16(QStringLiteral("40000")).has_value());

    EXPECT_EQ(SettingsStore::ReadBoolean(QStringLiteral("True")), true);
    EXPECT_EQ(SettingsStore::ReadBoolean(QStringLiteral("false")), false);
    EXPECT_EQ(SettingsStore::ReadBoolean(QStringLiteral("-1")), true);
    EXPECT_EQ(SettingsStore::ReadBoolean(QStringLiteral("0")), false);
    EXPECT_FALSE(SettingsStore::ReadBoolean(QStringLiteral("yes")).has_value());
}

TEST(TwipsTest, CentringRoundsHalvesToEvenThenTruncates)
{
    EXPECT_EQ(Twips::CentredEdge(15360, 10350), 2505);
    EXPECT_EQ(Twips::CentredEdge(100.5, 0), 50);  // 100.5 rounds to 100
    EXPECT_EQ(Twips::CentredEdge(101.5, 0), 51);  // 101.5 rounds to 102
    EXPECT_EQ(Twips::CentredEdge(0, 15), -7);     // truncation toward zero
    EXPECT_EQ(Twips::ToPixels(22.5), 2);          // 1.5 pixels: halves to even
    EXPECT_EQ(Twips::ToPixels(37.5), 2);          // 2.5 pixels
}

} // namespace
