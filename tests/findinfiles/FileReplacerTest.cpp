// Replacing what a search found, in a text and in a file on disk: only where
// the found bytes still stand, in the file's own encoding and line ends.
#include "SearchRun.h"
#include "TestFiles.h"
#include "findinfiles/FileReplacer.h"

#include <QStringEncoder>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class FileReplacerTest : public ::testing::Test, protected TestFiles
{
protected:
    FileHits Search(const QString &text)
    {
        FindInFilesRequest request;
        request.query.text = text;
        request.query.matchCase = true;
        request.folder = dir.path();
        SearchRun run(request);
        EXPECT_TRUE(run.RunToEnd());
        EXPECT_EQ(run.delivered.size(), 1);
        return run.delivered.value(0);
    }
};

TEST_F(FileReplacerTest, AFileKeepsItsEncodingAndLineEndsAndOnlyChosenHitsChange)
{
    const QString text = QStringLiteral("// 旧名字 one\r\nint 旧名字 = 1;\r\nreturn 旧名字;\r\n");
    const QString path = Write("gb.c", QStringEncoder("GB18030").encode(text));
    FileHits found = Search(QStringLiteral("旧名字"));
    ASSERT_EQ(found.encoding.codec, TextEncoding::GB18030);
    ASSERT_EQ(found.hits.size(), 3);
    found.hits[1].chosen = false;

    const FileIoResult written = FileReplacer::ReplaceInFile(found, FileReplacer::Chosen(found), QStringLiteral("新名称"));
    ASSERT_TRUE(written.ok()) << written.reason.toStdString();
    EXPECT_EQ(Read(path),
              QStringEncoder("GB18030").encode(QStringLiteral("// 新名称 one\r\nint 旧名字 = 1;\r\nreturn 新名称;\r\n")));
}

TEST_F(FileReplacerTest, AFileChangedSinceTheSearchIsNotWritten)
{
    const QString path = Write("a.c", "old old\n");
    const FileHits found = Search(QStringLiteral("old"));
    QThread::msleep(20);
    Write("a.c", "old old\nmore\n"); // the found bytes still stand: only the stamp tells
    const FileIoResult written = FileReplacer::ReplaceInFile(found, found.hits, QStringLiteral("X"));
    EXPECT_FALSE(written.ok());
    EXPECT_EQ(Read(path), QByteArray("old old\nmore\n"));
}

TEST_F(FileReplacerTest, SpliceChangesAllHitsOrNone)
{
    Write("a.c", "ab ab ab\n");
    const FileHits found = Search(QStringLiteral("ab"));
    QByteArray text = "ab ab ab\n";
    QString why;
    ASSERT_TRUE(FileReplacer::Splice(text, found.hits, "xyz", why));
    EXPECT_EQ(text, QByteArray("xyz xyz xyz\n"));

    QByteArray moved = "ab aX ab\n";
    EXPECT_FALSE(FileReplacer::Splice(moved, found.hits, "xyz", why));
    EXPECT_EQ(moved, QByteArray("ab aX ab\n"));
    EXPECT_TRUE(why.contains(QStringLiteral("第 1 行")));
    QByteArray shorter = "ab";
    EXPECT_FALSE(FileReplacer::Splice(shorter, found.hits, "xyz", why));
}

} // namespace
