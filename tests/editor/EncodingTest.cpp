#include "RecordingProgress.h"
#include "TestEditorHost.h"
#include "TestFiles.h"
#include "editor/ChunkDecoder.h"
#include "editor/ChunkEncoder.h"
#include "editor/TextEncoding.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

// Chinese, ASCII and every kind of line end.
const QString Sample = QStringLiteral("// 中文注释 mixed ASCII\r\nint 数量 = 42;\n繁體與简体\r末行 end");
// Characters GB18030 writes as four bytes: an emoji, an accented letter, a
// rare ideograph.
const QString FourByteCharacters = QStringLiteral("😀À㐀");

QByteArray QtEncoded(const QString &text, const char *name)
{
    QStringEncoder encoder(name);
    return encoder.encode(text);
}

QString QtDecoded(const QByteArray &bytes, const char *name)
{
    QStringDecoder decoder(name);
    return decoder.decode(bytes);
}

// Short ASCII lines (one line of megabytes would make the component lay out
// a line that long).
QByteArray AsciiLines(qsizetype size)
{
    QByteArray bytes = QByteArray("0123456789abcdefghijklmnopqrstuvwxyz\n").repeated(size / 37 + 1);
    bytes.truncate(size);
    return bytes;
}

class EncodingTest : public ::testing::Test, protected TestFiles
{
protected:
    void SetUp() override
    {
        if (!TextEncoding(TextEncoding::GB18030).IsAvailable() || !TextEncoding(TextEncoding::Big5).IsAvailable())
            GTEST_SKIP() << "this Qt has no GB18030 or Big5 converter";
    }

    clsScintilla &sci() { return host.sci(); }

    // Loads the bytes, expects the encoding and text, and saves them back.
    void ExpectRoundTrip(const QByteArray &bytes, const TextEncoding &encoding, const QString &text)
    {
        const QString in = Write(QStringLiteral("in.txt"), bytes);
        ASSERT_TRUE(sci().LoadFile(in).ok());
        EXPECT_EQ(sci().Encoding().Name(), encoding.Name()) << text.toStdString();
        EXPECT_TRUE(sci().GetText() == text.toUtf8()) << encoding.Name().toStdString();
        EXPECT_FALSE(sci().Modified());
        ASSERT_TRUE(sci().SaveToFile(Path(QStringLiteral("out.txt"))).ok());
        EXPECT_TRUE(Read(Path(QStringLiteral("out.txt"))) == bytes) << encoding.Name().toStdString();
    }

    TestEditorHost host;
};

TEST_F(EncodingTest, EachEncodingOpensReadableAndSavesTheSameBytes)
{
    const QByteArray utf8Mark("\xEF\xBB\xBF"), leMark("\xFF\xFE"), beMark("\xFE\xFF");
    const QString wide = Sample + FourByteCharacters;
    ExpectRoundTrip(Sample.toUtf8(), TextEncoding(TextEncoding::Utf8), Sample);
    ExpectRoundTrip(utf8Mark + wide.toUtf8(), TextEncoding(TextEncoding::Utf8, true), wide);
    ExpectRoundTrip(leMark + QtEncoded(wide, "UTF-16LE"), TextEncoding(TextEncoding::Utf16LE, true), wide);
    ExpectRoundTrip(beMark + QtEncoded(wide, "UTF-16BE"), TextEncoding(TextEncoding::Utf16BE, true), wide);
    ExpectRoundTrip(QtEncoded(wide, "GB18030"), TextEncoding(TextEncoding::GB18030), wide);
    ExpectRoundTrip(QtEncoded(u'\uFEFF' + Sample, "GB18030"), TextEncoding(TextEncoding::GB18030), u'\uFEFF' + Sample);
    // A second mark after the first is text (a zero-width no-break space).
    ExpectRoundTrip(utf8Mark + utf8Mark + "x", TextEncoding(TextEncoding::Utf8, true), QStringLiteral("\uFEFFx"));
    ExpectRoundTrip(leMark + leMark + QByteArray("a\0", 2), TextEncoding(TextEncoding::Utf16LE, true),
                    QStringLiteral("\uFEFFa"));
}

TEST_F(EncodingTest, ShortGbkFilesAreNotMistakenForUtf8)
{
    // "联通" in GBK starts like a two-byte UTF-8 character; strict UTF-8
    // refuses its overlong form.
    for (const QString &text : {QStringLiteral("// 注释\nint x;\n"), QStringLiteral("联通"), QStringLiteral("a中b")}) {
        const QByteArray gbk = QtEncoded(text, "GBK");
        ASSERT_EQ(gbk, QtEncoded(text, "GB18030"));
        ExpectRoundTrip(gbk, TextEncoding(TextEncoding::GB18030), text);
    }
}

TEST_F(EncodingTest, BytesThatAreNoTextStayRawAndComeBackUnchanged)
{
    const QList<QByteArray> samples = {
        RandomBytes(5000, 1),
        RandomBytes(300000, 2),
        QByteArray("\xff\xfe\x00\xd8\x61\x00", 6),       // UTF-16 mark, lone surrogate
        QByteArray("\xfe\xff\x00\x61\x00", 5),           // UTF-16 mark, odd length
        QByteArray("caf\xe9\0", 5),                       // Latin-1 with a NUL
        QByteArray("\x01\x02\x03\xe9\x04\x05\x06x\n"),    // mostly control bytes
    };
    for (const QByteArray &bytes : samples) {
        const QString in = Write(QStringLiteral("raw.bin"), bytes);
        ASSERT_TRUE(sci().LoadFile(in).ok());
        EXPECT_EQ(sci().Encoding().codec, TextEncoding::Raw) << bytes.size() << " bytes";
        EXPECT_TRUE(sci().GetText() == bytes);
        ASSERT_TRUE(sci().SaveToFile(Path(QStringLiteral("out.bin"))).ok());
        EXPECT_TRUE(Read(Path(QStringLiteral("out.bin"))) == bytes) << bytes.size() << " bytes";
    }
}

// Neither UTF-8 nor any multi-byte encoding: Windows-1252, whose five
// undefined bytes stay raw bytes in the text and go back as they were.
TEST_F(EncodingTest, SingleByteTextOpensAsWindows1252)
{
    const struct
    {
        QByteArray bytes;
        QByteArray text;
    } samples[] = {
        {"R\xe9sum\xe9 na\xefve caf\xe9\n", "Résumé naïve café\n"},
        {"\x93quoted\x94 \x80 5\x96" "6", "“quoted” € 5–6"},
        {"\x81\x30\x81", "\x81" "0\x81"},               // GB18030's four-byte form cut off
        {"\xa4\xa4\x80\xa4\xe5", "¤¤€¤å"},             // 0x80 alone is no Big5 byte
        {"a\x81 b\x8d \x8f\x90\x9d \xe9\x81\n", "a\x81 b\x8d \x8f\x90\x9d é\x81\n"}, // all five undefined
    };
    for (const auto &[bytes, text] : samples) {
        const QString in = Write(QStringLiteral("in.txt"), bytes);
        ASSERT_TRUE(sci().LoadFile(in).ok());
        EXPECT_EQ(sci().Encoding().Name(), QStringLiteral("Windows-1252")) << bytes.toStdString();
        EXPECT_EQ(sci().GetText(), text);
        ASSERT_TRUE(sci().SaveToFile(Path(QStringLiteral("out.txt"))).ok());
        EXPECT_EQ(Read(Path(QStringLiteral("out.txt"))), bytes);
    }

    // Typing beside the raw bytes leaves them as they were.
    sci().SetSel(0, 0);
    sci().ReplaceSel(QStringLiteral("ü"));
    ASSERT_TRUE(sci().SaveToFile(Path(QStringLiteral("out.txt"))).ok());
    EXPECT_EQ(Read(Path(QStringLiteral("out.txt"))), "\xfc" + samples[4].bytes);

    // A raw byte the encoding does not keep cannot be written in it.
    ASSERT_TRUE(sci().LoadFile(Write(QStringLiteral("r.bin"), QByteArray("x\xff\0", 3))).ok());
    ASSERT_EQ(sci().Encoding().codec, TextEncoding::Raw);
    sci().ConvertEncoding(TextEncoding(TextEncoding::Windows1252));
    EXPECT_EQ(sci().SaveToFile(Path(QStringLiteral("r2.bin"))).outcome, FileIoResult::Unencodable);
}

// Big5 byte pairs are valid GB18030 too: the text decides, and reopening
// reads the file the other way.
TEST_F(EncodingTest, ABig5FileOpensAsBig5AndReopensAsGb18030)
{
    const QString text = QStringLiteral("繁體中文測試\r\n第二行");
    const QByteArray big5 = QtEncoded(text, "Big5");
    ExpectRoundTrip(big5, TextEncoding(TextEncoding::Big5), text);

    ASSERT_TRUE(sci().LoadFile(Path(QStringLiteral("in.txt")), TextEncoding(TextEncoding::GB18030)).ok());
    EXPECT_EQ(sci().Encoding().codec, TextEncoding::GB18030);
    EXPECT_EQ(sci().GetText(), QtDecoded(big5, "GB18030").toUtf8());
    EXPECT_FALSE(sci().Modified());
    ASSERT_TRUE(sci().SaveToFile(Path(QStringLiteral("out.txt"))).ok());
    EXPECT_EQ(Read(Path(QStringLiteral("out.txt"))), big5);
}

TEST_F(EncodingTest, ReopeningAsAnEncodingTheFileIsNotInLeavesTheDocumentAlone)
{
    const QString path = Write(QStringLiteral("gb.txt"), QtEncoded(Sample, "GB18030"));
    ASSERT_TRUE(sci().LoadFile(path).ok());
    sci().SetSel(0, 0);
    sci().ReplaceSel(QStringLiteral("edited "));
    const QByteArray before = sci().GetText();

    for (const TextEncoding &wrong : {TextEncoding(TextEncoding::Utf8), TextEncoding(TextEncoding::Utf16BE, true)}) {
        const FileIoResult result = sci().LoadFile(path, wrong);
        EXPECT_EQ(result.outcome, FileIoResult::Failed);
        EXPECT_TRUE(result.reason.contains(wrong.Name())) << result.reason.toStdString();
        EXPECT_FALSE(result.partial);
        EXPECT_EQ(sci().GetText(), before);
        EXPECT_EQ(sci().Encoding().codec, TextEncoding::GB18030);
        EXPECT_TRUE(sci().Modified());
        EXPECT_NE(sci().SendEditor(Sci::SCI_CANUNDO), 0);
    }

    // A Big5 pair that Qt reads as a character it writes back differently.
    QByteArray duplicate;
    for (int lead = 0xA1; lead <= 0xFE && duplicate.isEmpty(); ++lead)
        for (int trail = 0x40; trail <= 0xFE && duplicate.isEmpty(); ++trail) {
            const QByteArray pair = QByteArray(1, char(lead)) + char(trail);
            QStringDecoder decoder("Big5");
            const QString read = decoder.decode(pair);
            if (!decoder.hasError() && QtEncoded(read, "Big5") != pair)
                duplicate = pair;
        }
    ASSERT_FALSE(duplicate.isEmpty());
    const QString big5 = Write(QStringLiteral("dup.txt"), QByteArray("ok ") + duplicate);
    EXPECT_FALSE(sci().LoadFile(big5, TextEncoding(TextEncoding::Big5)).ok());
    EXPECT_EQ(sci().GetText(), before);
}

// The file is read in chunks of 10,000,001 bytes and decoded in slices of
// 1 MiB: characters cut by either boundary must come out whole.
TEST_F(EncodingTest, CharactersCutByReadChunksComeOutWhole)
{
    constexpr qsizetype chunk = 10000001, slice = 1 << 20;
    auto placed = [](qsizetype size, const QList<std::pair<qsizetype, QByteArray>> &at) {
        QByteArray bytes = AsciiLines(size);
        for (const auto &[offset, sequence] : at)
            bytes.replace(offset, sequence.size(), sequence);
        return bytes;
    };
    const QByteArray zhong = QtEncoded(QStringLiteral("中"), "GB18030");
    const QByteArray emoji = QtEncoded(QStringLiteral("😀"), "GB18030");
    ASSERT_EQ(emoji.size(), 4);

    const QByteArray gb = placed(chunk + 5000, {{slice - 1, zhong}, {2 * slice - 2, emoji}, {chunk - 1, zhong},
                                                 {chunk + 100, emoji}});
    ExpectRoundTrip(gb, TextEncoding(TextEncoding::GB18030), QtDecoded(gb, "GB18030"));

    const QByteArray utf8 = placed(chunk + 10, {{chunk - 2, QByteArray("中")}, {chunk + 3, QByteArray("😀")}});
    ExpectRoundTrip(utf8, TextEncoding(TextEncoding::Utf8), QString::fromUtf8(utf8));

    // The mark is not read as text, so the first chunk ends at byte
    // chunk + 2: inside the low half of this surrogate pair.
    QByteArray utf16 = QByteArray("\xFF\xFE") + QtEncoded(QString::fromLatin1(AsciiLines(chunk / 2 + 10)), "UTF-16LE");
    utf16.replace(chunk - 1, 4, QtEncoded(QStringLiteral("😀"), "UTF-16LE"));
    ExpectRoundTrip(utf16, TextEncoding(TextEncoding::Utf16LE, true), QtDecoded(utf16.mid(2), "UTF-16LE"));
}

// A first chunk of plain ASCII proves nothing: what follows decides.
TEST_F(EncodingTest, WhatFollowsAValidFirstChunkDecides)
{
    constexpr qsizetype chunk = 10000001;
    const QByteArray ascii = AsciiLines(chunk + 20);
    QByteArray gb = ascii;
    gb.replace(chunk + 5, 2, QtEncoded(QStringLiteral("中"), "GB18030"));
    ExpectRoundTrip(gb, TextEncoding(TextEncoding::GB18030), QtDecoded(gb, "GB18030"));

    QByteArray latin = ascii;
    latin[chunk + 5] = '\xff';
    ExpectRoundTrip(latin, TextEncoding(TextEncoding::Windows1252), QString::fromLatin1(latin));

    QByteArray raw = latin;
    raw[chunk + 9] = '\0';
    const QString in = Write(QStringLiteral("raw.bin"), raw);
    ASSERT_TRUE(sci().LoadFile(in).ok());
    EXPECT_EQ(sci().Encoding().codec, TextEncoding::Raw); // a NUL past every sample still counts
    EXPECT_TRUE(sci().GetText() == raw);
}

TEST_F(EncodingTest, ACharacterTheEncodingCannotHoldStopsTheSaveBeforeAnyWrite)
{
    const QString text = QStringLiteral("繁體\n中文");
    const QString path = Write(QStringLiteral("big5.txt"), QtEncoded(text, "Big5"));
    ASSERT_TRUE(sci().LoadFile(path, TextEncoding(TextEncoding::Big5)).ok());
    const long end = sci().GetLen();
    sci().SetSel(end, end);
    sci().ReplaceSel(QStringLiteral("😀 tail"));

    const QString fresh = Path(QStringLiteral("fresh.txt"));
    for (const QString &target : {path, fresh}) {
        const FileIoResult result = sci().SaveToFile(target);
        EXPECT_EQ(result.outcome, FileIoResult::Unencodable);
        EXPECT_EQ(result.position, end);
        EXPECT_TRUE(result.reason.contains(QStringLiteral("第 2 行"))) << result.reason.toStdString();
        EXPECT_TRUE(result.reason.contains(QStringLiteral("😀")));
        EXPECT_TRUE(result.reason.contains(QStringLiteral("Big5")));
    }
    EXPECT_EQ(Read(path), QtEncoded(text, "Big5"));
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_TRUE(sci().Modified());

    // GB18030 holds every character.
    sci().ConvertEncoding(TextEncoding(TextEncoding::GB18030));
    ASSERT_TRUE(sci().SaveToFile(path).ok());
    EXPECT_EQ(Read(path), QtEncoded(text + QStringLiteral("😀 tail"), "GB18030"));

    // Bytes of a raw document are no characters at all.
    const QByteArray rawBytes("ok\n\xff\xfe\0", 6);
    ASSERT_TRUE(sci().LoadFile(Write(QStringLiteral("r.bin"), rawBytes)).ok());
    ASSERT_EQ(sci().Encoding().codec, TextEncoding::Raw);
    sci().ConvertEncoding(TextEncoding(TextEncoding::Utf16LE, true));
    const FileIoResult raw = sci().SaveToFile(Path(QStringLiteral("r.bin")));
    EXPECT_EQ(raw.outcome, FileIoResult::Unencodable);
    EXPECT_EQ(raw.position, 3);
    EXPECT_TRUE(raw.reason.contains(QStringLiteral("0xFF"))) << raw.reason.toStdString();
    EXPECT_EQ(Read(Path(QStringLiteral("r.bin"))), rawBytes);
}

TEST_F(EncodingTest, ConvertingKeepsTheTextAndTheNextSaveWritesTheNewEncoding)
{
    const QString text = QStringLiteral("中文 mixed\r\n繁體\nend"); // Big5 holds it all
    const QString path = Write(QStringLiteral("gb.txt"), QtEncoded(text, "GB18030"));
    ASSERT_TRUE(sci().LoadFile(path).ok());
    const QByteArray utf8 = sci().GetText();
    ASSERT_EQ(utf8, text.toUtf8());

    const struct
    {
        TextEncoding encoding;
        QByteArray bytes;
    } targets[] = {
        {TextEncoding(TextEncoding::Utf8), text.toUtf8()},
        {TextEncoding(TextEncoding::Utf8, true), "\xEF\xBB\xBF" + text.toUtf8()},
        {TextEncoding(TextEncoding::Utf16BE, true), "\xFE\xFF" + QtEncoded(text, "UTF-16BE")},
        {TextEncoding(TextEncoding::Big5), QtEncoded(text, "Big5")},
        {TextEncoding(TextEncoding::GB18030), QtEncoded(text, "GB18030")},
    };
    for (const auto &[encoding, bytes] : targets) {
        sci().ConvertEncoding(encoding);
        EXPECT_EQ(sci().GetText(), utf8);
        EXPECT_TRUE(sci().Modified()) << encoding.Name().toStdString();
        ASSERT_TRUE(sci().SaveToFile(path).ok());
        EXPECT_FALSE(sci().Modified());
        EXPECT_EQ(Read(path), bytes) << encoding.Name().toStdString();
        ASSERT_TRUE(sci().LoadFile(path).ok());
        EXPECT_EQ(sci().Encoding(), encoding);
        EXPECT_EQ(sci().GetText(), utf8);
    }
}

// The table-driven converters against Qt's own, on random text cut into
// random pieces the way the loader and the saver cut it.
TEST_F(EncodingTest, PiecewiseConversionMatchesQtOnRandomText)
{
    QRandomGenerator random(2024);
    auto randomText = [&](const QList<std::pair<char32_t, char32_t>> &ranges, int count) {
        QString text;
        for (int i = 0; i < count; ++i) {
            const auto &[low, high] = ranges[random.bounded(int(ranges.size()))];
            const char32_t cp = low + random.bounded(quint32(high - low + 1));
            text += QString::fromUcs4(&cp, 1);
        }
        return text;
    };
    auto decodePieces = [&](const TextEncoding &encoding, const QByteArray &bytes) {
        ChunkDecoder decoder(encoding);
        QByteArray text, out;
        qsizetype at = 0;
        QByteArray carry;
        while (at < bytes.size() || !carry.isEmpty()) {
            const qsizetype take = std::min<qsizetype>(1 + random.bounded(40), bytes.size() - at);
            const QByteArray piece = carry + bytes.mid(at, take);
            at += take;
            const auto step = decoder.Decode(piece, at == bytes.size(), &out);
            if (!step.ok)
                return QByteArray("<invalid>");
            text += out;
            carry = piece.mid(step.used);
            if (at == bytes.size() && !carry.isEmpty())
                return QByteArray("<left over>");
        }
        return text;
    };
    auto encodePieces = [&](const TextEncoding &encoding, const QByteArray &utf8) {
        ChunkEncoder encoder(encoding);
        QByteArray bytes, out, carry;
        qsizetype at = 0;
        while (at < utf8.size()) {
            const qsizetype take = std::min<qsizetype>(1 + random.bounded(40), utf8.size() - at);
            const QByteArray piece = carry + utf8.mid(at, take);
            at += take;
            const auto step = encoder.Encode(piece, at == utf8.size(), out);
            if (!step.ok)
                return QByteArray("<unencodable>");
            bytes += out;
            carry = piece.mid(step.used);
        }
        return bytes;
    };

    const QString gbText = randomText({{0x20, 0x7E}, {0x4E00, 0x9FA5}, {0x3400, 0x4DB5}, {0xC0, 0xFF}, {0xFEFF, 0xFEFF},
                                        {0x20000, 0x2A6D6}, {0x1F600, 0x1F64F}, {0x3000, 0x303F}},
                                       20000);
    const QByteArray gb = QtEncoded(gbText, "GB18030");
    EXPECT_TRUE(decodePieces(TextEncoding(TextEncoding::GB18030), gb) == gbText.toUtf8());
    EXPECT_TRUE(encodePieces(TextEncoding(TextEncoding::GB18030), gbText.toUtf8()) == gb);

    const QString wide = randomText({{0x20, 0x7E}, {0x4E00, 0x9FA5}, {0x10000, 0x10FFFF}}, 5000);
    const QByteArray le = QtEncoded(wide, "UTF-16LE");
    EXPECT_TRUE(decodePieces(TextEncoding(TextEncoding::Utf16LE, true), le) == wide.toUtf8());
    EXPECT_TRUE(encodePieces(TextEncoding(TextEncoding::Utf16LE, true), wide.toUtf8()) == le);

    // Big5 text: the characters of random Big5 pairs that Qt reads and writes alike.
    QString big5Text;
    while (big5Text.size() < 20000) {
        const QByteArray pair = QByteArray(1, char(0xA4 + random.bounded(0xF9 - 0xA4 + 1)))
                                + char(random.bounded(2) ? 0x40 + random.bounded(0x3F) : 0xA1 + random.bounded(0x5E));
        QStringDecoder decoder("Big5");
        const QString read = decoder.decode(pair);
        if (!decoder.hasError() && QtEncoded(read, "Big5") == pair)
            big5Text += read + (random.bounded(4) ? QString() : QStringLiteral(" x\n"));
    }
    const QByteArray big5 = QtEncoded(big5Text, "Big5");
    EXPECT_TRUE(decodePieces(TextEncoding(TextEncoding::Big5), big5) == big5Text.toUtf8());
    EXPECT_TRUE(encodePieces(TextEncoding(TextEncoding::Big5), big5Text.toUtf8()) == big5);
}

// Saving in an encoding other than UTF-8 (checked, then written) shows its
// progress; stopped in either pass, the file keeps its bytes, nothing is
// left beside it and the document stays modified; the next save writes it.
TEST_F(EncodingTest, ASaveInALegacyEncodingShowsProgressAndStopsWhenAsked)
{
    QString text;
    for (int i = 0; i < 10000; ++i)
        text += QStringLiteral("第 %1 行：中文 mixed ASCII 繁體\n").arg(i);
    const QByteArray old = "old bytes";
    const QString path = Write(QStringLiteral("doc.txt"), old);
    sci().SetTextBytes(text.toUtf8());
    sci().ConvertEncoding(TextEncoding(TextEncoding::GB18030));
    RecordingProgress progress;
    QuickSlices slices(4096);
    for (const int stopAt : {25, 75}) {
        SCOPED_TRACE(stopAt);
        progress.stopAt = stopAt;
        EXPECT_EQ(sci().SaveToFile(path).outcome, FileIoResult::Stopped);
        EXPECT_EQ(Read(path), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("doc.txt")});
        EXPECT_TRUE(sci().Modified());
        EXPECT_FALSE(progress.visible);
    }
    progress.stopAt = -1;
    progress.percents.clear();
    ASSERT_TRUE(sci().SaveToFile(path).ok());
    EXPECT_EQ(Read(path), QtEncoded(text, "GB18030"));
    EXPECT_FALSE(sci().Modified());
    EXPECT_TRUE(progress.tasks.contains(QStringLiteral("正在保存")));
    ASSERT_FALSE(progress.percents.empty());
    EXPECT_GE(progress.percents.back(), 99);
}

} // namespace
