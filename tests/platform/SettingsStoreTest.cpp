#include "LogCapture.h"
#include "SmallFilesystem.h"
#include "UnprivilegedScope.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs a call on a thread of its own. A call still waiting after a few
// seconds is waiting on the pipe: the pipe gets a writer, which lets it go,
// and the answer is false.
bool EndsWithoutWaitingOn(const QString &pipe, const std::function<void()> &call)
{
    auto done = std::async(std::launch::async, call);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready)
        return true;
    const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
    done.wait();
    if (fd >= 0)
        ::close(fd);
    return false;
}

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
    EXPECT_EQ(SettingsStore::FileOf(QStringLiteral("AppOne")), one.fileName());
}

// A pipe, a device or a huge file where a settings file belongs (the
// application's own or the organisation-wide one beside the folder) neither
// holds up the program nor fills its memory: it reads as empty, takes no
// writes and stays what it was.
TEST(SettingsStoreTest, SpecialFilesWhereTheSettingsBelongAreLeftAlone)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QDir().mkpath(config + QStringLiteral("/Ferrolan"));
    const QString key = QStringLiteral("Key");
    const QString section = QStringLiteral("Settings");
    const auto pipe = [](const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; };

    // One pipe at a time: a call held up by one is let go by its writer.
    for (const QString &waitedOn : {config + QStringLiteral("/Ferrolan.ini"), SettingsStore::FileOf(QStringLiteral("PipeApp"))}) {
        ASSERT_TRUE(pipe(waitedOn));
        EXPECT_TRUE(EndsWithoutWaitingOn(waitedOn, [&] {
            SettingsStore::SaveSetting(QStringLiteral("PipeApp"), section, key, QStringLiteral("1"));
        })) << waitedOn.toStdString();
        QString read;
        EXPECT_TRUE(EndsWithoutWaitingOn(waitedOn, [&] {
            read = SettingsStore::GetSetting(QStringLiteral("PipeApp"), section, key, QStringLiteral("default"));
        })) << waitedOn.toStdString();
        EXPECT_EQ(read, waitedOn.endsWith(QStringLiteral("PipeApp.ini")) ? QStringLiteral("default") : QStringLiteral("1"));
        struct stat info{};
        ASSERT_EQ(::stat(QFile::encodeName(waitedOn).constData(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode));
        ::unlink(QFile::encodeName(waitedOn).constData());
        QFile::remove(SettingsStore::FileOf(QStringLiteral("PipeApp")));
    }

    const QString zero = SettingsStore::FileOf(QStringLiteral("ZeroApp"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    SettingsStore::SaveSetting(QStringLiteral("ZeroApp"), section, key, QStringLiteral("1"));
    EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("ZeroApp"), section, key, QStringLiteral("default")),
              QStringLiteral("default"));
    EXPECT_EQ(QFileInfo(zero).symLinkTarget(), QStringLiteral("/dev/zero"));

    const QString huge = SettingsStore::FileOf(QStringLiteral("HugeApp"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\nKey=stored\n");
        ASSERT_TRUE(file.resize(64 * 1024 * 1024)); // sparse: no disk space
    }
    EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("HugeApp"), section, key, QStringLiteral("default")),
              QStringLiteral("default"));

    EXPECT_EQ(QFileInfo(huge).size(), 64 * 1024 * 1024);
}

// A settings write onto a full disk keeps the file as it was: the window
// placement and the dialogs' options are not lost with it.
TEST(SettingsStoreTest, AFullDiskKeepsTheStoredSettings)
{
    const QString folder = QFileInfo(SettingsStore::FileOf(QStringLiteral("FullApp"))).path();
    SmallFilesystem disk(folder, 64);
    if (!disk.mounted())
        GTEST_SKIP() << "no privilege to mount a small file system here";
    const QString section = QStringLiteral("Settings");
    SettingsStore::SaveSetting(QStringLiteral("FullApp"), section, QStringLiteral("Kept"), QString(3000, u'k'));
    QFile file(SettingsStore::FileOf(QStringLiteral("FullApp")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    ASSERT_GT(before.size(), 3000);
    ASSERT_GE(disk.FillLeaving(0), 0);

    SettingsStore::SaveSetting(QStringLiteral("FullApp"), section, QStringLiteral("Added"), QString(5000, u'a'));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("FullApp"), section, QStringLiteral("Kept")), QString(3000, u'k'));
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
