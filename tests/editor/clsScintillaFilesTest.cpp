#include "TestFiles.h"
#include "SmallFilesystem.h"
#include "TestEditorHost.h"
#include "editor/DocumentCapacity.h"
#include "editor/EditorWindow.h"
#include "UnprivilegedScope.h"
#include "RecordingProgress.h"
#include "editor/BackgroundLoad.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using Sci = QsciScintillaBase;

namespace {

class EditorFilesTest : public ::testing::Test, protected TestFiles
{
protected:
    void SetUp() override
    {
        // Reachable for the ordinary user some cases switch to.
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                              | QFileDevice::ReadOther | QFileDevice::ExeOther);
        QFile::setPermissions(QFileInfo(dir.path()).path(), QFileInfo(QFileInfo(dir.path()).path()).permissions()
                                                                | QFileDevice::ExeOther);
    }

    clsScintilla &sci() { return host.sci(); }

    TestEditorHost host;
};

TEST_F(EditorFilesTest, AnyBytesComeBackUnchanged)
{
    // Whatever the bytes are taken for, they come back as they were.
    const QList<std::pair<QByteArray, TextEncoding::Codec>> samples = {
        {QByteArray(), TextEncoding::Utf8},
        {QByteArray("x"), TextEncoding::Utf8},
        {QByteArray("\r\n"), TextEncoding::Utf8},
        {QByteArray("a\0b\0\0c", 6), TextEncoding::Utf8}, // NUL bytes do not cut the file
        {QByteArray("\xc3(\x80 lone\rCR\nLF\r\nCRLF\n\r", 22), TextEncoding::Windows1252}, // mixed ends
        // With a mark and an even length the same bytes are UTF-16 LE text.
        {QByteArray("\xff\xfe\xc3(\x80 lone\rCR\nLF\r\nCRLF\n\r", 24), TextEncoding::Utf16LE},
        // Broken UTF-8 is valid GB18030, but its text there is no Chinese anyone writes.
        {QByteArray("中文 \xe4\xb8 truncated", 19), TextEncoding::Windows1252},
        {RandomBytes(70000, 7), TextEncoding::Raw},
    };
    for (const auto &[bytes, codec] : samples) {
        const QString in = Write(QStringLiteral("in.bin"), bytes);
        ASSERT_TRUE(sci().LoadFile(in).ok());
        EXPECT_EQ(sci().Encoding().codec, codec) << bytes.size() << " bytes";
        if (sci().Encoding().IsPassThrough()) {
            EXPECT_EQ(sci().GetText(), bytes);
            EXPECT_EQ(sci().GetLen(), bytes.size());
        }
        EXPECT_FALSE(sci().Modified());
        ASSERT_TRUE(sci().SaveToFile(Path(QStringLiteral("out.bin"))).ok());
        EXPECT_EQ(Read(Path(QStringLiteral("out.bin"))), bytes) << bytes.size() << " bytes";
    }
}

TEST_F(EditorFilesTest, AFileLargerThanOneReadChunkLoadsWholeWithTheInterfaceRunning)
{
    QByteArray bytes = RandomBytes(10000001 * 2 + 12345, 11);
    const QString in = Write(QStringLiteral("big.bin"), bytes);

    bool ranWhileLoading = false, editorLocked = false;
    QTimer::singleShot(0, [&] {
        ranWhileLoading = sci().IsLoading();
        editorLocked = !sci().Editor()->isEnabled();
    });
    ASSERT_TRUE(sci().LoadFile(in).ok());
    EXPECT_TRUE(ranWhileLoading);
    EXPECT_TRUE(editorLocked);
    EXPECT_TRUE(sci().Editor()->isEnabled());
    EXPECT_EQ(sci().GetLen(), bytes.size());
    EXPECT_TRUE(sci().GetText() == bytes);
}

// A big file shows its progress; stopped part way, the document is the one
// it was, modified and with its undo history, and nothing of the file got in.
TEST_F(EditorFilesTest, AStoppedLoadLeavesTheDocumentAsItWas)
{
    const QString in = Write(QStringLiteral("big.txt"), QByteArray(6 * 1000 * 1000, 'x'));
    sci().SetText(QStringLiteral("kept"));
    ASSERT_TRUE(sci().Modified());
    sci().SetReadChunkSize(64 * 1024);
    const auto pause = std::exchange(BackgroundLoad::PauseAfterChunk(), std::chrono::milliseconds(2));
    QuickSlices quick(0);
    {
        RecordingProgress progress;
        progress.stopAt = 10;

        const FileIoResult result = sci().LoadFile(in);
        BackgroundLoad::PauseAfterChunk() = pause;
        EXPECT_EQ(result.outcome, FileIoResult::Stopped);
        EXPECT_FALSE(result.partial);
        EXPECT_EQ(progress.tasks, QStringList{QStringLiteral("正在打开“big.txt”")});
        ASSERT_FALSE(progress.percents.empty());
        EXPECT_LT(progress.percents.back(), 100);
        EXPECT_FALSE(progress.visible);
        EXPECT_EQ(sci().GetText(), QByteArray("kept"));
        EXPECT_TRUE(sci().Modified());
        EXPECT_NE(sci().SendEditor(Sci::SCI_CANUNDO), 0);
        EXPECT_FALSE(sci().IsLoading());
        EXPECT_TRUE(sci().Editor()->isEnabled());
    }

    // Left alone, the same file loads whole.
    ASSERT_TRUE(sci().LoadFile(in).ok());
    EXPECT_EQ(sci().GetLen(), 6 * 1000 * 1000);
}

// The new text comes in a document of its own; what the editor's document
// carried (the language and its lists, tab settings, UTF-8, read-only)
// goes over to it.
TEST_F(EditorFilesTest, ALoadKeepsTheDocumentsLanguageAndSettings)
{
    sci().SetKeywords(0, QStringLiteral("int return"));
    sci().SetLexer(3);
    sci().SendEditor(Sci::SCI_SETTABWIDTH, 7);
    sci().SendEditor(Sci::SCI_SETUSETABS, 0);
    sci().SendEditor(Sci::SCI_SETINDENT, 3);
    sci().SetReadOnly(vbTrue);
    ASSERT_TRUE(sci().LoadFile(Write(QStringLiteral("a.cpp"), "int 中 = 1; return;\n")).ok());
    sci().ColouriseRest();
    EXPECT_EQ(sci().SendEditor(Sci::SCI_GETLEXER), 3);
    EXPECT_EQ(sci().GetStyleAt(0), 5); // "int": keyword list 0
    EXPECT_EQ(sci().GetStyleAt(13), 5); // "return", after a three-byte character
    EXPECT_EQ(sci().SendEditor(Sci::SCI_GETCODEPAGE), Sci::SC_CP_UTF8);
    EXPECT_EQ(sci().SendEditor(Sci::SCI_POSITIONAFTER, 4), 7); // 中 is one character
    EXPECT_EQ(sci().SendEditor(Sci::SCI_GETTABWIDTH), 7);
    EXPECT_EQ(sci().SendEditor(Sci::SCI_GETUSETABS), 0);
    EXPECT_EQ(sci().SendEditor(Sci::SCI_GETINDENT), 3);
    EXPECT_TRUE(sci().GetReadOnly());
    sci().SetReadOnly(vbFalse);
    sci().SendEditor(Sci::SCI_DOCUMENTEND);
    sci().ReplaceSel(QStringLiteral("x"));
    EXPECT_TRUE(sci().Modified());
    sci().Undo(); // typing after a load is undone, the load is not
    EXPECT_FALSE(sci().Modified());
    EXPECT_EQ(sci().GetLen(), 21);
}

// A line from the threshold on is never wrapped and the layouts of the
// page are kept; a file of short lines goes back to the usual settings.
TEST_F(EditorFilesTest, LongLinesAreLaidOutOnceAndNeverWrapped)
{
    const qint64 saved = std::exchange(clsScintilla::LongLineBytes(), 100);
    sci().WordWrap(vbTrue);
    ASSERT_TRUE(sci().LoadFile(Write(QStringLiteral("long.txt"), "a\n" + QByteArray(150, 'x') + "\nb")).ok());
    EXPECT_TRUE(sci().HasLongLines());
    EXPECT_EQ(sci().SendEditor(Sci::SCI_GETWRAPMODE), 0);
    EXPECT_EQ(sci().WordWrap(), vbFalse);
    EXPECT_EQ(sci().SendEditor(Sci::SCI_GETLAYOUTCACHE), Sci::SC_CACHE_PAGE);
    EXPECT_EQ(sci().SendEditor(Sci::SCI_GETPOSITIONCACHE), 65536);

    ASSERT_TRUE(sci().LoadFile(Write(QStringLiteral("short.txt"), QByteArray(98, 'x') + "\r\n")).ok());
    EXPECT_FALSE(sci().HasLongLines());
    EXPECT_EQ(sci().SendEditor(Sci::SCI_GETLAYOUTCACHE), Sci::SC_CACHE_CARET);
    clsScintilla::LongLineBytes() = saved;
}

TEST_F(EditorFilesTest, ALoadedDocumentIsUnmodifiedAndCannotBeUndonePastTheLoad)
{
    sci().SetText(QStringLiteral("before"));
    ASSERT_TRUE(sci().LoadFile(Write(QStringLiteral("a.txt"), "loaded")).ok());
    EXPECT_FALSE(sci().Modified());
    EXPECT_EQ(sci().SendEditor(Sci::SCI_CANUNDO), 0);
    sci().Undo();
    EXPECT_EQ(sci().GetText(), QByteArray("loaded"));

    ASSERT_TRUE(sci().LoadFile(Write(QStringLiteral("empty.txt"), "")).ok());
    EXPECT_EQ(sci().GetText(), QByteArray());
    EXPECT_FALSE(sci().Modified());
}

TEST_F(EditorFilesTest, NothingThereMeansNothingHappens)
{
    sci().SetText(QStringLiteral("kept"));
    EXPECT_EQ(sci().LoadFile(Path(QStringLiteral("missing.txt"))).outcome, FileIoResult::NotFound);
    EXPECT_EQ(sci().GetText(), QByteArray("kept"));
}

TEST_F(EditorFilesTest, WhatCannotBeReadIsRefusedWithAReason)
{
    sci().SetText(QStringLiteral("kept"));
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    // Special files never hold the editor up: a pipe without a writer, links
    // to devices that never end.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path(QStringLiteral("pipe.txt"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), Path(QStringLiteral("zero.txt"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/urandom"), Path(QStringLiteral("random.txt"))));
    for (const QString &path : {Path(QStringLiteral("folder")), QStringLiteral("/dev/zero"), Path(QStringLiteral("pipe.txt")),
                                Path(QStringLiteral("zero.txt")), Path(QStringLiteral("random.txt"))}) {
        const FileIoResult result = sci().LoadFile(path);
        EXPECT_EQ(result.outcome, FileIoResult::Failed) << path.toStdString();
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_EQ(sci().GetText(), QByteArray("kept"));
    }
    const QString secret = Write(QStringLiteral("secret.txt"), "no");
    QFile::setPermissions(secret, QFileDevice::WriteOwner);
    UnprivilegedScope user;
    ASSERT_TRUE(user.active());
    const FileIoResult result = sci().LoadFile(secret);
    EXPECT_EQ(result.outcome, FileIoResult::Failed);
    EXPECT_EQ(result.reason, QStringLiteral("没有读取这个文件的权限。"));
    EXPECT_EQ(sci().GetText(), QByteArray("kept"));
}

// Enter twice after the first line, the way a user types.
void PressEnterTwiceAfterFirstLine(clsScintilla &sci)
{
    sci.SetFocus();
    sci.SendEditor(Sci::SCI_GOTOPOS, sci.GetLineEndPosition(0));
    QTest::keyClick(sci.Editor(), Qt::Key_Return);
    QTest::keyClick(sci.Editor(), Qt::Key_Return);
}

TEST_F(EditorFilesTest, NewLineEndsFollowTheKindTheFileUsesMost)
{
    host.show();
    const struct
    {
        QByteArray file;
        QByteArray saved; // after Enter twice at the end of the first line
    } cases[] = {
        {"a\r\nb\r\n", "a\r\n\r\n\r\nb\r\n"},
        {"a\nb\n", "a\n\n\nb\n"},
        {"a\rb\r", "a\r\r\rb\r"},
        {"a\r\nb\nc\rd\r\ne\r\n", "a\r\n\r\n\r\nb\nc\rd\r\ne\r\n"}, // mixed: lone ends stay
        {"a\nb\r\nc\n\rd", "a\n\n\nb\r\nc\n\rd"},
        {"a", "a\n\n"}, // no line end: this platform's own
    };
    for (const auto &c : cases) {
        const QString path = Write(QStringLiteral("doc.txt"), c.file);
        ASSERT_TRUE(sci().LoadFile(path).ok());
        PressEnterTwiceAfterFirstLine(sci());
        ASSERT_TRUE(sci().SaveToFile(path).ok());
        EXPECT_EQ(Read(path), c.saved) << c.file.toStdString();
    }
    EXPECT_EQ(sci().LineBreak(), 0); // the property was never assigned

    TestEditorHost fresh; // a new document
    fresh.show();
    PressEnterTwiceAfterFirstLine(fresh.sci());
    EXPECT_EQ(fresh.sci().GetText(), QByteArray("\n\n"));
}

TEST_F(EditorFilesTest, AChosenLineBreakModeConvertsWhatIsWritten)
{
    const QByteArray mixed("one\r\ntwo\nthree\rfour\r\n");
    sci().SetTextBytes(mixed);
    sci().LineBreak(Sci::SC_EOL_CR);
    ASSERT_TRUE(sci().SaveToFile(Path(QStringLiteral("cr.txt"))).ok());
    EXPECT_EQ(Read(Path(QStringLiteral("cr.txt"))), QByteArray("one\rtwo\rthree\rfour\r"));
    sci().LineBreak(Sci::SC_EOL_LF);
    ASSERT_TRUE(sci().SaveToFile(Path(QStringLiteral("lf.txt"))).ok());
    EXPECT_EQ(Read(Path(QStringLiteral("lf.txt"))), QByteArray("one\ntwo\nthree\nfour\n"));
    sci().LineBreak(Sci::SC_EOL_CRLF);
    ASSERT_TRUE(sci().SaveToFile(Path(QStringLiteral("crlf.txt"))).ok());
    EXPECT_EQ(Read(Path(QStringLiteral("crlf.txt"))), mixed);
    EXPECT_EQ(sci().GetText(), mixed); // saving leaves the document alone

    // A chosen mode stays the mode for new line ends whatever file comes in.
    host.show();
    sci().LineBreak(Sci::SC_EOL_LF);
    const QString path = Write(QStringLiteral("windows.txt"), "a\r\nb\r\n");
    ASSERT_TRUE(sci().LoadFile(path).ok());
    PressEnterTwiceAfterFirstLine(sci());
    ASSERT_TRUE(sci().SaveToFile(path).ok());
    EXPECT_EQ(Read(path), QByteArray("a\n\n\nb\n"));
}

TEST_F(EditorFilesTest, SavingMarksTheSavePointAndAnEmptyDocumentTruncates)
{
    const QString target = Write(QStringLiteral("t.txt"), "old content");
    sci().SetText(QString());
    sci().SendEditor(Sci::SCI_ADDTEXT, 1, QStringLiteral("x"));
    sci().SendEditor(Sci::SCI_DELETEBACK);
    EXPECT_TRUE(sci().Modified());
    ASSERT_TRUE(sci().SaveToFile(target).ok());
    EXPECT_FALSE(sci().Modified());
    EXPECT_EQ(Read(target), QByteArray());
}

TEST_F(EditorFilesTest, AFailedSaveKeepsTheOldFileAndTheModifiedState)
{
    sci().SetText(QStringLiteral("new text"));
    ASSERT_TRUE(sci().Modified());

    QDir(dir.path()).mkdir(QStringLiteral("in-the-way"));
    FileIoResult result = sci().SaveToFile(Path(QStringLiteral("in-the-way")));
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.reason.isEmpty());
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("in-the-way"))).isDir());

    EXPECT_FALSE(sci().SaveToFile(Path(QStringLiteral("no/such/folder/x.txt"))).ok());
    EXPECT_TRUE(sci().Modified());
}

// Small, medium and large saves (the large one a GB18030 document) onto a
// disk that is full or nearly so: each fails with the real reason, keeps the
// old file whole and the document modified.
TEST_F(EditorFilesTest, AFullDiskFailsTheSaveAndKeepsTheOldFile)
{
    for (const FullDiskCase &c : FullDiskCases) {
        SCOPED_TRACE(c.what);
        const bool chinese = c.size > 100000;
        if (chinese && !TextEncoding(TextEncoding::GB18030).IsAvailable())
            GTEST_SKIP() << "this Qt has no GB18030 converter";
        if (chinese) { // 2 bytes a character in GB18030
            QStringEncoder gb18030("GB18030");
            const QByteArray encoded = gb18030.encode(QStringLiteral("中文测试").repeated(int(c.size / 8)));
            ASSERT_TRUE(sci().LoadFile(Write(QStringLiteral("gb.txt"), encoded)).ok());
            ASSERT_EQ(sci().Encoding().codec, TextEncoding::GB18030);
            sci().SendEditor(Sci::SCI_DOCUMENTEND);
            sci().ReplaceSel(QStringLiteral("改"));
        } else {
            sci().SetTextBytes(QByteArray(int(c.size), 's'));
        }
        ASSERT_TRUE(sci().Modified());

        SmallFilesystem disk(Path(QStringLiteral("disk")), c.diskKiB);
        if (!disk.mounted())
            GTEST_SKIP() << "no privilege to mount a small file system here";
        const QString target = Write(QStringLiteral("disk/doc.txt"), "old content");
        ASSERT_LT(disk.FillLeaving(c.free), c.size);

        const FileIoResult full = sci().SaveToFile(target);
        EXPECT_EQ(full.outcome, FileIoResult::Failed);
        EXPECT_EQ(full.reason, QStringLiteral("磁盘空间不足。"));
        EXPECT_EQ(Read(target), QByteArray("old content"));
        EXPECT_TRUE(sci().Modified());
    }
}

TEST_F(EditorFilesTest, AReadOnlyDiskKeepsTheOldFile)
{
    SmallFilesystem disk(Path(QStringLiteral("disk")), 64);
    if (!disk.mounted())
        GTEST_SKIP() << "no privilege to mount a small file system here";
    const QString target = Write(QStringLiteral("disk/doc.txt"), "old content");
    ASSERT_TRUE(disk.MakeReadOnly());
    sci().SetText(QStringLiteral("small"));
    EXPECT_FALSE(sci().SaveToFile(target).ok());
    EXPECT_EQ(Read(target), QByteArray("old content"));
    EXPECT_TRUE(sci().Modified());
}

// Everything is written, but the new file cannot take the old one's place:
// in a folder with the sticky bit, an ordinary user may not replace a file
// that someone else owns, even one they may write.
TEST_F(EditorFilesTest, ASaveWhoseCommitFailsIsAFailedSave)
{
    QDir(dir.path()).mkdir(QStringLiteral("shared"));
    const QString target = Write(QStringLiteral("shared/theirs.txt"), "old content");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                      | QFileDevice::WriteOther);
    ASSERT_EQ(::chmod(QFile::encodeName(Path(QStringLiteral("shared"))).constData(), 01777), 0);
    sci().SetText(QStringLiteral("new content"));

    UnprivilegedScope user;
    ASSERT_TRUE(user.active());
    const FileIoResult result = sci().SaveToFile(target);
    EXPECT_EQ(result.outcome, FileIoResult::Failed);
    EXPECT_FALSE(result.reason.isEmpty());
    EXPECT_EQ(Read(target), QByteArray("old content"));
    EXPECT_TRUE(sci().Modified());
}

TEST_F(EditorFilesTest, PermissionsOfFilesAndFoldersAreRespected)
{
    sci().SetText(QStringLiteral("new text"));
    const QString locked = Write(QStringLiteral("locked.txt"), "old content");
    QDir(dir.path()).mkdir(QStringLiteral("ro"));
    const QString inside = Write(QStringLiteral("ro/file.txt"), "old content");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadOther);
    QFile::setPermissions(inside, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                      | QFileDevice::WriteOther);
    QFile::setPermissions(Path(QStringLiteral("ro")), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                          | QFileDevice::ReadOther | QFileDevice::ExeOther);
    {
        UnprivilegedScope user;
        ASSERT_TRUE(user.active());
        EXPECT_FALSE(sci().SaveToFile(locked).ok()); // a read-only file
        EXPECT_FALSE(sci().SaveToFile(inside).ok()); // a writable file in a read-only folder
    }
    EXPECT_FALSE(sci().SaveToFile(locked).ok()); // read-only for root as well
    EXPECT_EQ(Read(locked), QByteArray("old content"));
    EXPECT_EQ(Read(inside), QByteArray("old content"));
    EXPECT_TRUE(sci().Modified());
}

// Every editor's document is the component's large-text one (positions and
// lines counted in 64 bits), still holding UTF-8.
TEST_F(EditorFilesTest, EveryEditorHoldsALargeTextDocument)
{
    EXPECT_TRUE(sci().SendEditor(Sci::SCI_GETDOCUMENTOPTIONS) & Sci::SC_DOCUMENTOPTION_TEXT_LARGE);
    EXPECT_EQ(sci().SendEditor(Sci::SCI_GETCODEPAGE), long(Sci::SC_CP_UTF8));
    sci().SetTextBytes("\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(sci().SendEditor(Sci::SCI_POSITIONAFTER, 0), 3);

    // A file is read into a document of its own, which is one too.
    ASSERT_TRUE(sci().LoadFile(Write(QStringLiteral("small.txt"), "\xE4\xB8\xAD\xE6\x96\x87\n")).ok());
    EXPECT_TRUE(sci().SendEditor(Sci::SCI_GETDOCUMENTOPTIONS) & Sci::SC_DOCUMENTOPTION_TEXT_LARGE);
    EXPECT_EQ(sci().SendEditor(Sci::SCI_POSITIONAFTER, 0), 3);
}

// A file larger than the memory available now can hold is refused before a
// byte is read, with the limit and what to do; the document stays as it was.
TEST_F(EditorFilesTest, AFileTheMemoryCannotHoldIsRefusedWithItsLimit)
{
    ASSERT_GT(DocumentCapacity::AvailableMemory(), 0); // the system says how much
    const qint64 largest = DocumentCapacity::Largest();
    QFile huge(Path(QStringLiteral("huge.log")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(largest + (qint64(1) << 30))); // sparse: no disk taken
    huge.close();
    sci().SetTextBytes("kept");
    sci().SetSavePoint();

    const FileIoResult result = sci().LoadFile(huge.fileName());
    EXPECT_EQ(result.outcome, FileIoResult::Failed);
    EXPECT_FALSE(result.partial);
    EXPECT_TRUE(result.reason.contains(QStringLiteral("split"))) << result.reason.toStdString();
    // The memory available moves; the limit named is near the one asked for here.
    const QRegularExpression limit(QStringLiteral("最多能打开约 (\\d+\\.\\d) GB"));
    const QRegularExpressionMatch named = limit.match(result.reason);
    ASSERT_TRUE(named.hasMatch()) << result.reason.toStdString();
    EXPECT_NEAR(named.captured(1).toDouble(), double(largest) / (1 << 30), 0.5) << result.reason.toStdString();
    EXPECT_EQ(sci().GetText(), QByteArray("kept"));
    EXPECT_FALSE(sci().Modified());
}

// The component's signals cut positions to 32 bits; beyond 2 GiB the
// position meant is put back from the low bits and where the screen is.
TEST_F(EditorFilesTest, PositionsCutTo32BitsAreWidenedNearTheScreen)
{
    const auto cut = [](long position) { return int(std::uint32_t(position)); };
    EXPECT_EQ(EditorWindow::WidenedPosition(12345, 100000, 0), 12345);
    const long threeGigabytes = 3L << 30, fiveGigabytes = 5L << 30;
    EXPECT_EQ(EditorWindow::WidenedPosition(cut(threeGigabytes - 10), threeGigabytes, 0), threeGigabytes - 10);
    EXPECT_EQ(EditorWindow::WidenedPosition(cut(100), threeGigabytes, threeGigabytes - 1000), 100);
    // Beyond 4 GiB the same low bits stand for two positions.
    const long far = (1L << 32) + 500;
    EXPECT_EQ(EditorWindow::WidenedPosition(cut(far), fiveGigabytes, far - 2000), far);
    EXPECT_EQ(EditorWindow::WidenedPosition(cut(far), fiveGigabytes, 0), 500);
}

} // namespace

namespace {

// An empty window shows a big file's start while the rest is read; a read
// that is stopped leaves it empty again, as it was.
TEST_F(EditorFilesTest, AStoppedLoadTakesTheShownStartAwayAgain)
{
    QByteArray text;
    while (text.size() < 6 * 1000 * 1000)
        text += "a line of the file\n";
    const QString in = Write(QStringLiteral("big.txt"), text);
    sci().SetReadChunkSize(64 * 1024);
    const auto pause = std::exchange(BackgroundLoad::PauseAfterChunk(), std::chrono::milliseconds(2));
    QuickSlices quick(0);
    qsizetype shown = 0;
    QObject::connect(&sci(), &clsScintilla::PreviewShown, [&] { shown = sci().GetLen(); });
    RecordingProgress progress;
    progress.stopAt = 10;

    const FileIoResult result = sci().LoadFile(in);
    BackgroundLoad::PauseAfterChunk() = pause;
    EXPECT_EQ(result.outcome, FileIoResult::Stopped);
    EXPECT_GT(shown, 0);
    EXPECT_EQ(sci().GetLen(), 0);
    EXPECT_FALSE(sci().Modified());
    EXPECT_TRUE(sci().Editor()->isEnabled());
}

} // namespace

namespace {

// From a megabyte on, what was read reaches the component through a feeder
// thread: a read that changes its mind part way (UTF-8 until a byte that is
// not) clears and refills the document there, in order, and ends with the
// file's text as the encoding finally decided reads it.
TEST_F(EditorFilesTest, AFileThatStopsBeingUtf8PartWayLoadsWholeThroughTheFeeder)
{
    QByteArray head;
    for (int i = 0; head.size() < 2 * 1000 * 1000; ++i)
        head += "line " + QByteArray::number(i) + " of plain text\n";
    QByteArray tail;
    for (int i = 0; tail.size() < 1000 * 1000; ++i)
        tail += "more " + QByteArray::number(i) + "\n";
    const QString in = Write(QStringLiteral("mixed.txt"), head + "\xC4\xE3\xBA\xC3\n" + tail); // 你好 in GB18030
    ASSERT_GE(head.size(), BackgroundLoad::InlineBelow);
    sci().SetReadChunkSize(64 * 1024);

    ASSERT_TRUE(sci().LoadFile(in).ok());
    EXPECT_NE(sci().Encoding().codec, TextEncoding::Utf8);
    EXPECT_TRUE(sci().GetText() == head + "\xE4\xBD\xA0\xE5\xA5\xBD\n" + tail);
}

} // namespace
