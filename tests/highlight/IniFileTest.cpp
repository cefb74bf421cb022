#include "SmallFilesystem.h"
#include "TestFiles.h"
#include "highlight/modIni.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class IniTest : public ::testing::Test, protected TestFiles
{
protected:

};

TEST_F(IniTest, NamesMatchWithoutCaseAndTheFirstOfANameCounts)
{
    const QString file = Write("a.ini", "orphan=before any section\r\n"
                                        "[Data]\r\n"
                                        "  LangName = C++  \r\n"
                                        "; LangName=commented out\r\n"
                                        "Keywords[0]=int char\r\n"
                                        "langname=second\r\n"
                                        "[other]\r\n"
                                        "LangName=other section\r\n"
                                        "[DATA]\r\n"
                                        "Late=unreachable\r\n");
    EXPECT_EQ(ReadIniValue("data", "LANGNAME", file), "C++");
    EXPECT_EQ(ReadIniValue("dAtA", "keywords[0]", file), "int char");
    EXPECT_EQ(ReadIniValue("OTHER", "langname", file), "other section");
    EXPECT_EQ(ReadIniValue("data", "Late", file), "");
    EXPECT_EQ(ReadIniValue("data", "orphan", file), "");
    EXPECT_EQ(ReadIniValue("data", "missing", file), "");
    EXPECT_EQ(ReadIniValue("nosuch", "LangName", file), "");
    EXPECT_EQ(ReadIniValue("data", "LangName", Path("absent.ini")), "");
}

TEST_F(IniTest, ValuesAreReadWholeAsUtf8)
{
    const QString longList = QString("keyword ").repeated(2000).trimmed();
    const QString file = Write("b.ini", "\xEF\xBB\xBF[data]\nName=中文名称\nList=" + longList.toUtf8()
                                            + "\nStyle[5]=B:::V:C:::宋体:10:255:0:注释=说明::");
    EXPECT_EQ(ReadIniValue("data", "Name", file), QStringLiteral("中文名称"));
    EXPECT_EQ(ReadIniValue("data", "List", file), longList); // no cut at 254 bytes
    EXPECT_EQ(ReadIniValue("data", "style[5]", file), QStringLiteral("B:::V:C:::宋体:10:255:0:注释=说明::"));
}

TEST_F(IniTest, WritingOneKeyKeepsEveryOtherByte)
{
    const QByteArray before = "; made by hand\r\n"
                              "[Data]\r\n"
                              "LangName = Old\r\n"
                              "Unknown=\xFF\xFE not utf-8\r\n"
                              "\r\n"
                              "[extra]\n"
                              "keep=me";
    const QString file = Write("c.ini", before);

    ASSERT_TRUE(WriteIniValue("data", "langname", "新名字", file));
    QByteArray expected = before;
    expected.replace("LangName = Old", "LangName = 新名字");
    EXPECT_EQ(Read(file), expected);

    // A new key goes after the section's last line, before its blank lines,
    // with that line's line end.
    ASSERT_TRUE(WriteIniValue("DATA", "Filter", "C (*.c)|*.c|", file));
    expected.replace("not utf-8\r\n", "not utf-8\r\nFilter=C (*.c)|*.c|\r\n");
    EXPECT_EQ(Read(file), expected);

    // A new section goes at the end; the unterminated last line gets its end.
    ASSERT_TRUE(WriteIniValue("more", "k", "v", file));
    EXPECT_EQ(Read(file), expected + "\r\n[more]\r\nk=v\r\n");
    EXPECT_EQ(ReadIniValue("extra", "keep", file), "me");
    EXPECT_EQ(ReadIniValue("data", "unknown", file), QString::fromUtf8("\xFF\xFE not utf-8"));
}

// Found by the INI fuzzer: a lone CR put (or left) right before a blank LF
// line reads back as one CR LF line end, and the blank line is gone.
TEST_F(IniTest, KeysComeAndGoWithoutJoiningLinesOfMixedLineEnds)
{
    IniFile added = IniFile::FromBytes("[data]\ra=1\n\n[other]\nb=2\n");
    added.SetValue("data", "k", "v");
    EXPECT_EQ(added.ToBytes(), QByteArray("[data]\ra=1\nk=v\n\n[other]\nb=2\n"));

    IniFile removed = IniFile::FromBytes("[data]\ra=1\rk=v\n\n[other]\n");
    removed.RemoveKey("data", "k");
    EXPECT_EQ(removed.ToBytes(), QByteArray("[data]\ra=1\r\r\n[other]\n"));

    // Found by the INI fuzzer: with two blank lines after it, a CR given to
    // the first joined the second's LF.
    IniFile twoBlank = IniFile::FromBytes("[data]\rk=v\n\n\nx=1\r");
    twoBlank.RemoveKey("data", "k");
    EXPECT_EQ(twoBlank.ToBytes(), QByteArray("[data]\r\r\n\nx=1\r"));
}

// Found by the INI fuzzer: a value (or a name) that starts with U+FEFF lost
// it on reading, taken for a byte-order mark.
TEST_F(IniTest, AValueStartingWithU_FEFFKeepsIt)
{
    const QString mark(QChar(0xFEFF));
    IniFile ini = IniFile::FromBytes("[data]\na=1\n");
    ini.SetValue("data", mark + "key", mark + "value");
    EXPECT_EQ(ini.Value("data", mark + "key"), mark + "value");
    ini.SetValue("data", mark + "key", "again"); // the same key, not a second one
    EXPECT_EQ(ini.ToBytes(), QByteArray("[data]\na=1\n\xEF\xBB\xBFkey=again\n"));
}

TEST_F(IniTest, RemovingAKeyTakesOutItsLinesAndKeepsEveryOtherByte)
{
    const QByteArray before = "[Data]\r\nKeep=1\r\n  gone = a\r\n; gone=comment\r\nGONE=b\r\n[other]\r\ngone=c\r\n"
                              "[data]\r\ngone=unreachable";
    IniFile ini = IniFile::FromBytes(before);
    ini.RemoveKey("data", "Gone");
    EXPECT_EQ(ini.ToBytes(), QByteArray("[Data]\r\nKeep=1\r\n; gone=comment\r\n[other]\r\ngone=c\r\n"
                                        "[data]\r\ngone=unreachable"));
    EXPECT_EQ(ini.Value("data", "gone"), "");
    EXPECT_EQ(ini.Value("other", "gone"), "c");

    ini.RemoveKey("data", "missing");
    ini.RemoveKey("nosuch", "Keep");
    ini.SetValue("data", "New", "v"); // the index still knows where the section ends
    EXPECT_EQ(ini.ToBytes(), QByteArray("[Data]\r\nKeep=1\r\n; gone=comment\r\nNew=v\r\n[other]\r\ngone=c\r\n"
                                        "[data]\r\ngone=unreachable"));
}

TEST_F(IniTest, WritingMakesTheFileAndSectionAndKeepsValuesOnOneLine)
{
    const QString file = Path("new.CHL");
    ASSERT_TRUE(WriteIniValue("data", "LangName", "Text", file));
    ASSERT_TRUE(WriteIniValue("data", "Evil", "a\r\n[data]\nLangName=hijacked", file));
    EXPECT_EQ(Read(file), QByteArray("[data]\nLangName=Text\nEvil=a  [data] LangName=hijacked\n"));
    EXPECT_EQ(ReadIniValue("data", "LangName", file), "Text");
}

TEST_F(IniTest, AFailedWriteIsReportedAndLosesNothing)
{
    const IniWriteResult noDir = WriteIniValue("data", "k", "v", Path("missing/dir/x.CHL"));
    EXPECT_FALSE(noDir);
    EXPECT_EQ(noDir.failure.path, Path("missing/dir/x.CHL"));
    EXPECT_FALSE(noDir.failure.reason.isEmpty());
    EXPECT_FALSE(QFile::exists(Path("missing/dir/x.CHL")));

    // A file that exists but cannot be read is never replaced by a new one.
    ASSERT_TRUE(QDir(dir.path()).mkdir("adir.CHL"));
    const IniWriteResult unreadable = WriteIniValue("data", "k", "v", Path("adir.CHL"));
    EXPECT_FALSE(unreadable);
    EXPECT_TRUE(QFileInfo(Path("adir.CHL")).isDir());

    // Nor is a pipe waited on or replaced.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.CHL")).constData(), 0600), 0);
    const IniWriteResult pipe = WriteIniValue("data", "k", "v", Path("pipe.CHL"));
    EXPECT_FALSE(pipe);
    EXPECT_TRUE(pipe.failure.reason.contains("这不是一个普通文件")) << pipe.failure.reason.toStdString();
    EXPECT_EQ(ReadIniValue("data", "k", Path("pipe.CHL")), "");
    EXPECT_FALSE(QFileInfo(Path("pipe.CHL")).isFile());
}

// Small, medium and large language files onto a disk that is full or nearly
// so: the file is never emptied or cut.
TEST_F(IniTest, AFullDiskFailsTheWriteAndKeepsTheFile)
{
    for (const FullDiskCase &c : FullDiskCases) {
        SCOPED_TRACE(c.what);
        SmallFilesystem disk(Path("disk"), c.diskKiB);
        if (!disk.mounted())
            GTEST_SKIP() << "no privilege to mount a small file system here";
        const QByteArray before = "[data]\nLangName=CPP\nKeywords[0]=" + QByteArray(int(c.size) - 40, 'k') + "\n";
        const QString file = Write("disk/CPP.CHL", before);
        ASSERT_EQ(Read(file), before);
        ASSERT_LT(disk.FillLeaving(c.free), c.size);

        const IniWriteResult result = WriteIniValue("data", "LangName", "C++", file);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.failure.path, file);
        EXPECT_EQ(result.failure.reason, "磁盘空间不足。");
        EXPECT_EQ(Read(file), before);
    }
}

} // namespace
