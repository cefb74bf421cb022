// The folder search end to end on real files: which files it reads, in
// which encoding, open documents in place of their files, results that
// arrive while it runs, and stopping.
#include "SearchRun.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

class FolderSearchTest : public ::testing::Test, protected TestFiles
{
protected:
    QString Put(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(Path(name)).absolutePath());
        return Write(name, bytes);
    }

    FindInFilesRequest Request(const QString &text, const QString &patterns = QStringLiteral("*")) const
    {
        FindInFilesRequest request;
        request.query.text = text;
        request.folder = dir.path();
        request.patterns = patterns;
        return request;
    }

    static QStringList Lines(const FileHits &file)
    {
        QStringList lines;
        for (const LineHit &hit : file.hits)
            lines << QStringLiteral("%1:%2").arg(hit.line + 1).arg(hit.text);
        return lines;
    }
};

TEST_F(FolderSearchTest, PatternsSubfoldersAndSkippedFiles)
{
    Put("a.c", "needle\n");
    Put("b.H", "x needle\n");          // patterns ignore case
    Put("notes.txt", "needle\n");      // not a pattern
    Put("sub/deep/d.c", "needle\n");
    Put(".hidden/e.c", "needle\n");    // hidden folder
    Put(".git/f.c", "needle\n");
    Put(".dotfile.c", "needle\n");     // a hidden file is searched: only folders are skipped
    Put("bin.c", QByteArray("needle\0\x01\x02", 9) + "needle\n"); // binary
    ASSERT_TRUE(QFile::link(Path("a.c"), Path("link.c")));
    QDir().mkpath(Path("looped"));
    ASSERT_TRUE(QFile::link(dir.path(), Path("looped/up")));  // a folder link would loop

    SearchRun all(Request("needle", "*.c;*.h"));
    ASSERT_TRUE(all.RunToEnd());
    EXPECT_EQ(all.ByFile().keys(), (QStringList{".dotfile.c", "a.c", "b.H", "sub/deep/d.c"}));
    EXPECT_EQ(all.search.Result().filesNotText, 1);
    EXPECT_EQ(all.search.Result().filesSearched, 5);

    FindInFilesRequest flat = Request("needle", "*.c, *.h");
    flat.subfolders = false;
    SearchRun top(flat);
    ASSERT_TRUE(top.RunToEnd());
    EXPECT_EQ(top.ByFile().keys(), (QStringList{".dotfile.c", "a.c", "b.H"}));

    SearchRun everything(Request("needle", "*.*"));
    ASSERT_TRUE(everything.RunToEnd());
    EXPECT_TRUE(everything.ByFile().contains("notes.txt"));
}

TEST_F(FolderSearchTest, LegacyEncodedSourcesAreSearchedAsTheirText)
{
    const QString simplified = QStringLiteral("int main() {\n    // 打开文件并读取配置\n    return 0; /* 没有错误 */\n}\n");
    const QString traditional = QStringLiteral("int main() {\n    // 開啟檔案並讀取設定\n    return 0; /* 沒有錯誤 */\n}\n");
    Put("gb.c", QStringEncoder("GB18030").encode(simplified));
    Put("big5.c", QStringEncoder("Big5").encode(traditional));
    Put("utf16.c", QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char *>(simplified.utf16()),
                                                            simplified.size() * 2));

    SearchRun gb(Request(QStringLiteral("读取配置")));
    ASSERT_TRUE(gb.RunToEnd());
    const auto found = gb.ByFile();
    ASSERT_EQ(found.keys(), (QStringList{"gb.c", "utf16.c"}));
    EXPECT_EQ(found["gb.c"].encoding.codec, TextEncoding::GB18030);
    EXPECT_EQ(Lines(found["gb.c"]), QStringList{QStringLiteral("2:// 打开文件并读取配置")});
    EXPECT_EQ(found["utf16.c"].encoding.codec, TextEncoding::Utf16LE);

    SearchRun big5(Request(QStringLiteral("讀取設定")));
    ASSERT_TRUE(big5.RunToEnd());
    ASSERT_EQ(big5.ByFile().keys(), QStringList{"big5.c"});
    EXPECT_EQ(big5.ByFile()["big5.c"].encoding.codec, TextEncoding::Big5);
}

TEST_F(FolderSearchTest, OpenDocumentsAreSearchedInPlaceOfTheirFiles)
{
    const QString open = Put("open.c", "disk text\n");
    Put("closed.c", "disk text\n");
    OpenTexts texts;
    texts.insert(QFileInfo(open).canonicalFilePath(), {"first\nedited text\n", TextEncoding(TextEncoding::Utf8)});

    SearchRun edited(Request("edited"), texts);
    ASSERT_TRUE(edited.RunToEnd());
    ASSERT_EQ(edited.ByFile().keys(), QStringList{"open.c"});
    EXPECT_TRUE(edited.ByFile()["open.c"].fromEditor);
    EXPECT_EQ(Lines(edited.ByFile()["open.c"]), QStringList{"2:edited text"});

    SearchRun disk(Request("disk"), texts);
    ASSERT_TRUE(disk.RunToEnd());
    EXPECT_EQ(disk.ByFile().keys(), QStringList{"closed.c"});
}

TEST_F(FolderSearchTest, MatchesFollowTheEditorsRules)
{
    Put("a.txt", "Foo foo FOO food\r\nfoo_bar foo\rÄfoo föo\n");
    auto lines = [&](TextQuery query) {
        FindInFilesRequest request = Request(query.text);
        request.query = query;
        SearchRun run(request);
        EXPECT_TRUE(run.RunToEnd());
        QStringList found;
        for (const FileHits &file : run.delivered)
            for (const LineHit &hit : file.hits)
                found << QStringLiteral("%1@%2").arg(hit.line + 1).arg(QString::fromUtf8(hit.matched));
        return found;
    };
    EXPECT_EQ(lines({"foo", false, false, false}),
              (QStringList{"1@Foo", "1@foo", "1@FOO", "1@foo", "2@foo", "2@foo", "3@foo"}));
    EXPECT_EQ(lines({"foo", true, true, false}), (QStringList{"1@foo", "2@foo"}));
    // Only ASCII letters fold, as in the editor: "ö" does not match "Ö".
    EXPECT_EQ(lines({QStringLiteral("FÖO"), false, false, false}), QStringList{});
    EXPECT_EQ(lines({"^foo\\w*", true, false, true}), (QStringList{"2@foo_bar"}));
    EXPECT_EQ(lines({"o$", true, false, true}), (QStringList{"2@o", "3@o"}));
    // A match never runs over a line end.
    EXPECT_EQ(lines({"foo\\s+foo", false, false, true}), (QStringList{"1@Foo foo", "1@FOO foo"}));
}

TEST_F(FolderSearchTest, ResultsArriveWhileTheSearchRunsAndKeepTheWalkOrder)
{
    for (const char *name : {"a.c", "b.c", "c.c", "d.c"})
        Put(name, "hit\n");
    Put("z.c", "hit\n");
    std::atomic<bool> release{false};
    SearchRun run(Request("hit"));
    run.search.beforeFile = [&](const QString &path) {
        while (path.endsWith("z.c") && !release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    run.search.Start();
    // Four files are delivered while the fifth is held back.
    EXPECT_TRUE(QTest::qWaitFor([&] { return run.delivered.size() == 4; }, 20000));
    EXPECT_TRUE(run.search.IsRunning());
    release = true;
    ASSERT_TRUE(run.RunToEnd());
    ASSERT_EQ(run.delivered.size(), 5);
    EXPECT_TRUE(run.delivered.back().path.endsWith("z.c"));
    const QStringList walked{"a.c", "b.c", "c.c", "d.c", "z.c"};
    for (const FileHits &file : run.delivered)
        EXPECT_EQ(QFileInfo(file.path).fileName(), walked.value(int(file.order)));
}

TEST_F(FolderSearchTest, StopEndsTheSearchBeforeTheRestIsRead)
{
    for (int i = 0; i < 400; ++i)
        Put(QStringLiteral("f%1.c").arg(i, 3, 10, QLatin1Char('0')), "hit\n");
    SearchRun run(Request("hit"));
    std::atomic<int> read{0};
    run.search.beforeFile = [&](const QString &) {
        ++read;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    };
    run.search.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !run.delivered.isEmpty(); }, 20000));
    run.search.Stop();
    ASSERT_TRUE(run.RunToEnd());
    EXPECT_TRUE(run.search.Result().stopped);
    EXPECT_LT(read.load(), 400);
    EXPECT_LT(run.search.Result().filesSearched, 400);
}

TEST_F(FolderSearchTest, AMissingFolderOrUnreadableFileIsReported)
{
    FindInFilesRequest request = Request("x");
    request.folder = Path("nowhere");
    SearchRun run(request);
    ASSERT_TRUE(run.RunToEnd());
    ASSERT_EQ(run.search.Result().problems.size(), 1);
    EXPECT_TRUE(run.delivered.isEmpty());
}

} // namespace
