#include "TestFiles.h"
#include "app/CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace {

class CommandLineTest : public ::testing::Test, protected TestFiles
{
protected:
    CommandLine Parse(const QStringList &arguments) const { return CommandLine::Parse(arguments, dir.path()); }
    QList<FileToOpen> Files(const QStringList &arguments) const { return Parse(arguments).files; }
    QString In(const QString &name) const { return QDir::cleanPath(Path(name)); }
};

TEST_F(CommandLineTest, FilesComeInOrderWithRelativeNamesTakenFromTheWorkingDirectory)
{
    const CommandLine line = Parse({"b.c", "sub/../a.c", "/etc/hostname", "file://" + Path("url name.txt")});
    EXPECT_EQ(line.action, CommandLine::Action::Start);
    EXPECT_FALSE(line.newInstance);
    EXPECT_EQ(line.files, (QList<FileToOpen>{{In("b.c")}, {In("a.c")}, {"/etc/hostname"}, {In("url name.txt")}}));
    EXPECT_TRUE(Files({}).isEmpty());
}

TEST_F(CommandLineTest, PlusLineGoesWithTheFileAfterItOrBeforeItWhenLast)
{
    EXPECT_EQ(Files({"+12", "a.c", "b.c"}), (QList<FileToOpen>{{In("a.c"), 12}, {In("b.c")}}));
    EXPECT_EQ(Files({"a.c", "+7"}), (QList<FileToOpen>{{In("a.c"), 7}}));
    EXPECT_EQ(Files({"+3", "a.c:9:4"}), (QList<FileToOpen>{{In("a.c"), 3}})) << "+N decides over :N:M";
    // Not a line: a file whose name begins with "+".
    EXPECT_EQ(Files({"+x"}), (QList<FileToOpen>{{In("+x")}}));
}

TEST_F(CommandLineTest, FileColonLineAndColumnUnlessAFileHasThatVeryName)
{
    EXPECT_EQ(Files({"a.c:40"}), (QList<FileToOpen>{{In("a.c"), 40}}));
    EXPECT_EQ(Files({"a.c:40:5"}), (QList<FileToOpen>{{In("a.c"), 40, 5}}));
    EXPECT_EQ(Files({"odd:name:3:2"}), (QList<FileToOpen>{{In("odd:name"), 3, 2}}));
    EXPECT_EQ(Files({"notes:x"}), (QList<FileToOpen>{{In("notes:x")}}));
    EXPECT_EQ(Files({"a.c:"}), (QList<FileToOpen>{{In("a.c:")}}));
    // A real file named "log:12" is that file, not line 12 of "log".
    Write("log:12", "x");
    EXPECT_EQ(Files({"log:12"}), (QList<FileToOpen>{{In("log:12")}}));
    EXPECT_EQ(Files({"log:12:3"}), (QList<FileToOpen>{{In("log:12"), 3}}));
}

TEST_F(CommandLineTest, NewInstanceHelpVersionAndRefusalsInChinese)
{
    const CommandLine separate = Parse({"--new-instance", "a.c"});
    EXPECT_TRUE(separate.newInstance);
    EXPECT_EQ(separate.files, (QList<FileToOpen>{{In("a.c")}}));

    QCoreApplication::setApplicationVersion("9.8");
    const CommandLine version = Parse({"--version"});
    EXPECT_EQ(version.action, CommandLine::Action::ShowVersion);
    EXPECT_EQ(version.text, "Ferrolan 9.8\n");
    EXPECT_EQ(Parse({"-v"}).action, CommandLine::Action::ShowVersion);

    const CommandLine help = Parse({"a.c", "--help"});
    EXPECT_EQ(help.action, CommandLine::Action::ShowHelp);
    for (const char *part : {"用法：", "[选项]", "选项：", "参数：", "--new-instance", "显示本帮助并退出。", "文件:行:列"})
        EXPECT_TRUE(help.text.contains(QString::fromUtf8(part))) << part << "\n" << help.text.toStdString();
    EXPECT_FALSE(help.text.contains("Usage")) << help.text.toStdString();
    EXPECT_TRUE(help.files.isEmpty());

    const CommandLine refused = Parse({"--colour", "a.c"});
    EXPECT_EQ(refused.action, CommandLine::Action::Refuse);
    EXPECT_TRUE(refused.text.startsWith("未知的选项“colour”。")) << refused.text.toStdString();
    EXPECT_TRUE(refused.files.isEmpty());
    // After "--" everything is a file.
    EXPECT_EQ(Files({"--", "--colour"}), (QList<FileToOpen>{{In("--colour")}}));
}

} // namespace
