#include "TestEditorHost.h"
#include "TestFiles.h"
#include "highlight/HighlighterFolders.h"
#include "highlight/modHighlighter.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// The three places of a language, as an installed program sees them.
class FoldersTest : public ::testing::Test, protected TestFiles
{
protected:
    void SetUp() override
    {
        ResetHighlighterTable();
        for (const char *folder : {"user", "installed", "beside"})
            QDir(dir.path()).mkdir(folder);
        folders = {{Path("user"), Path("installed"), Path("beside")}, Path("user")};
    }
    void TearDown() override { ResetHighlighterTable(); }

    QString Chl(const QString &where, const QString &name) const
    {
        return Write(where + "/" + name, "[data]\r\nLangName=" + (where + " " + name).toUtf8() + "\r\n");
    }

    QStringList Names() const
    {
        QStringList names;
        for (const Highlighter &h : HighlighterTable)
            names.append(h.LangName);
        return names;
    }

    HighlighterFolders folders;
};

TEST_F(FoldersTest, AnEarlierFolderHidesAFileOfTheSameNameAndTheTableKeepsNameOrder)
{
    Chl("user", "CPP.CHL");
    Chl("user", "python.chl"); // another spelling hides it all the same
    Chl("installed", "CPP.CHL");
    Chl("installed", "Python.CHL");
    Chl("installed", "YAML.CHL");
    Chl("beside", "YAML.CHL");
    Chl("beside", "Lua.CHL");
    Chl("beside", "CPP.CHL");

    LoadHighlighterFolders(folders.lookup);
    EXPECT_EQ(Names(), (QStringList{"user CPP.CHL", "beside Lua.CHL", "user python.chl", "installed YAML.CHL"}));
    EXPECT_EQ(HighlighterTable[0].FilePath, Path("user/CPP.CHL"));
    EXPECT_EQ(folders.Find("yaml.chl"), Path("installed/YAML.CHL"));
    EXPECT_EQ(folders.Find("Lua.CHL"), Path("beside/Lua.CHL"));
    EXPECT_EQ(folders.Find("None.CHL"), QString());
}

TEST_F(FoldersTest, ApiFilesAreLookedUpInTheSameOrder)
{
    Chl("user", "CPP.CHL"); // the user's copy of the language, without an API file of its own
    Chl("installed", "CPP.CHL");
    Write("installed/CPP.api", "installed_one(int a)\ninstalled_two(int b)\n");
    Write("beside/CPP.api", "beside_one(int a)\n");
    LoadHighlighterFolders(folders.lookup);
    TestEditorHost host;
    ApplyHighlighter(host.sci(), "user CPP.CHL");
    EXPECT_EQ(host.sci().APIEntryCount(), 2);

    Write("user/CPP.api", "mine(int a)\nmine2(int a)\nmine3(int a)\n");
    ApplyHighlighter(host.sci(), "user CPP.CHL");
    EXPECT_EQ(host.sci().APIEntryCount(), 3);
}

TEST_F(FoldersTest, TheProgramLooksInTheUsersFolderItsInstallTreeAndBesideItself)
{
    const HighlighterFolders program = HighlighterFolders::ForProgramIn("/opt/ferrolan/bin");
    const QString user =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Ferrolan/highlighters";
    ASSERT_TRUE(user.startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
    EXPECT_EQ(program.user, user);
    EXPECT_EQ(program.lookup,
              (QStringList{user, "/opt/ferrolan/share/ferrolan/highlighters", "/opt/ferrolan/bin/highlighters"}));
}

TEST_F(FoldersTest, TheUsersCopyKeepsEveryByteAndIsMadeOnce)
{
    const QByteArray original = "; by hand\r\n[data]\r\nLangName=Mine\r\nOdd key=\xff\xfe\r\n";
    const QString installed = Write("installed/Mine.CHL", original);
    folders.user = Path("user/not yet/made");
    ASSERT_TRUE(folders.CopyToUser(installed));
    EXPECT_EQ(folders.UserPath(installed), Path("user/not yet/made/Mine.CHL"));
    EXPECT_EQ(Read(folders.UserPath(installed)), original);

    Write("user/not yet/made/Mine.CHL", "changed");
    ASSERT_TRUE(folders.CopyToUser(installed));
    EXPECT_EQ(Read(folders.UserPath(installed)), "changed") << "an existing copy is the user's";
    // A file of the user's folder itself is not copied onto itself.
    EXPECT_TRUE(folders.CopyToUser(folders.UserPath(installed)));
    EXPECT_EQ(Read(folders.UserPath(installed)), "changed");
}

} // namespace
