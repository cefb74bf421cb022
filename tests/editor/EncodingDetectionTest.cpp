// What opening a file decides, on short and made-up files where the answer
// is known: the multi-byte encodings told apart by their text, UTF-16 and
// UTF-32 without a mark, and where the detector looks.
#include "LoadedText.h"
#include "TestFiles.h"
#include "editor/EncodingDetector.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

QByteArray QtEncoded(const QString &text, const char *name)
{
    QStringEncoder encoder(name);
    return encoder.encode(text);
}

class EncodingDetectionTest : public ::testing::Test, protected TestFiles
{
protected:
    // Detects the bytes as opening a file does, and checks the save gives
    // them back.
    LoadedText Detected(const QByteArray &bytes, const DocumentLoader::Sizes &sizes = DocumentLoader::Sizes())
    {
        const LoadedText loaded = LoadedText::Detect(Write(QStringLiteral("in.txt"), bytes), sizes);
        EXPECT_TRUE(loaded.ok);
        EXPECT_TRUE(loaded.Saved() == bytes) << loaded.encoding.Name().toStdString();
        return loaded;
    }

    void ExpectDetected(const QByteArray &bytes, TextEncoding::Codec codec, const QString &text)
    {
        const LoadedText loaded = Detected(bytes);
        EXPECT_EQ(loaded.encoding.Name(), TextEncoding(codec).Name()) << text.toStdString();
        EXPECT_EQ(loaded.text, text.toUtf8()) << text.toStdString();
    }
};

TEST_F(EncodingDetectionTest, ShortFilesOfEachLegacyEncoding)
{
    ExpectDetected(QByteArray(), TextEncoding::Utf8, QString());
    ExpectDetected("x", TextEncoding::Utf8, QStringLiteral("x"));
    ExpectDetected("\xe9", TextEncoding::Windows1252, QStringLiteral("é"));
    ExpectDetected("\xa4", TextEncoding::Windows1252, QStringLiteral("¤")); // a Big5 lead byte alone
    // Accented capitals are valid Shift_JIS half-width katakana, and no
    // Japanese text is made of those alone.
    ExpectDetected("R\xc9SUM\xc9 \xc0 PARIS\n", TextEncoding::Windows1252, QStringLiteral("RÉSUMÉ À PARIS\n"));
    // Two bytes are valid in all five; the text decides.
    ExpectDetected(QtEncoded(QStringLiteral("中"), "GBK"), TextEncoding::GB18030, QStringLiteral("中"));
    ExpectDetected(QtEncoded(QStringLiteral("的"), "GBK"), TextEncoding::GB18030, QStringLiteral("的"));
    ExpectDetected(QtEncoded(QStringLiteral("中文"), "Big5"), TextEncoding::Big5, QStringLiteral("中文"));
    ExpectDetected(QtEncoded(QStringLiteral("說明"), "Big5"), TextEncoding::Big5, QStringLiteral("說明"));
    ExpectDetected(QtEncoded(QStringLiteral("日本語"), "Shift_JIS"), TextEncoding::ShiftJis, QStringLiteral("日本語"));
    ExpectDetected(QtEncoded(QStringLiteral("ファイル"), "Shift_JIS"), TextEncoding::ShiftJis, QStringLiteral("ファイル"));
    ExpectDetected(QtEncoded(QStringLiteral("ファイル"), "EUC-JP"), TextEncoding::EucJp, QStringLiteral("ファイル"));
    ExpectDetected(QtEncoded(QStringLiteral("한국어"), "EUC-KR"), TextEncoding::EucKr, QStringLiteral("한국어"));
    ExpectDetected(QtEncoded(QStringLiteral("파일을 열 수 없습니다\n"), "EUC-KR"), TextEncoding::EucKr,
                   QStringLiteral("파일을 열 수 없습니다\n"));
    // A character cut off at the very end makes no multi-byte encoding valid.
    ExpectDetected(QtEncoded(QStringLiteral("中文"), "GBK") + '\xd6', TextEncoding::Windows1252,
                   QStringLiteral("ÖÐÎÄÖ"));
}

// Code with comments, where the Chinese is a small part of the bytes.
TEST_F(EncodingDetectionTest, ChineseCommentsInCodeTellGb18030FromBig5)
{
    const QString simplified = QStringLiteral("int main() {\n    // 打开文件并读取配置\n    return 0; /* 没有错误 */\n}\n");
    const QString traditional = QStringLiteral("int main() {\n    // 開啟檔案並讀取設定\n    return 0; /* 沒有錯誤 */\n}\n");
    ExpectDetected(QtEncoded(simplified, "GB18030"), TextEncoding::GB18030, simplified);
    ExpectDetected(QtEncoded(traditional, "Big5"), TextEncoding::Big5, traditional);
    // Traditional characters written in GB18030 are still GB18030.
    ExpectDetected(QtEncoded(traditional, "GB18030"), TextEncoding::GB18030, traditional);
}

TEST_F(EncodingDetectionTest, ATieKeepsGb18030)
{
    // Nothing to judge: every candidate scores the same, in the order of ties.
    const QList<TextEncoding> ranked = EncodingDetector::RankLegacy(QByteArray("plain words\n")).likely;
    EXPECT_EQ(ranked, EncodingDetector::LegacyCandidates());
    ASSERT_FALSE(ranked.isEmpty());
    EXPECT_EQ(ranked.first().codec, TextEncoding::GB18030);
}

// The decision reads the first 64 KiB of words with bytes from 0x80 up; the
// whole file must then be valid in what it chose, or the next likeliest is
// proved instead.
TEST_F(EncodingDetectionTest, TheStartDecidesAndTheWholeFileMustAgree)
{
    const QString traditional = QStringLiteral("這是一個說明檔案，請閱讀以下內容。\n");
    const QString simplified = QStringLiteral("这是一个说明文件，请阅读以下内容。\n");
    QByteArray big5Start = QtEncoded(traditional.repeated(4000), "Big5"); // well past the sample
    const QByteArray gbEnd = QtEncoded(simplified.repeated(4000) + QStringLiteral("😀"), "GB18030");
    ASSERT_GT(big5Start.size(), EncodingDetector::SampleSize);

    // Simplified text that happens to be valid Big5 too: the start decides.
    QByteArray bothValid = QtEncoded(QStringLiteral("以下内容\n"), "GB18030");
    ASSERT_EQ(QtEncoded(QStringDecoder("Big5").decode(bothValid), "Big5"), bothValid);
    LoadedText loaded = Detected(big5Start + bothValid.repeated(40000));
    EXPECT_EQ(loaded.encoding.codec, TextEncoding::Big5);

    // Bytes only GB18030 holds at the end (a four-byte sequence): Big5 fails
    // on the whole file.
    loaded = Detected(big5Start + gbEnd);
    EXPECT_EQ(loaded.encoding.codec, TextEncoding::GB18030);

    // The same with a sample of a few words and tiny chunks.
    const DocumentLoader::Sizes tiny{7, 3, 16};
    loaded = Detected(QtEncoded(traditional, "Big5") + QtEncoded(QStringLiteral("😀"), "GB18030"), tiny);
    EXPECT_EQ(loaded.encoding.codec, TextEncoding::GB18030);
    loaded = Detected(QtEncoded(traditional.repeated(3), "Big5"), tiny);
    EXPECT_EQ(loaded.encoding.codec, TextEncoding::Big5);
}

// A UTF-8 reading that fails after whole chunks went in must leave nothing
// behind for the next reading: the file comes back byte for byte.
TEST_F(EncodingDetectionTest, AReadingThatFailsLateLeavesNothingBehind)
{
    const QByteArray valid = QStringLiteral("第一行\n第二行\n").toUtf8();
    for (const QByteArray &mark : {QByteArray("\xef\xbb\xbf"), QByteArray()})
        for (const qint64 chunk : {qint64(3), qint64(6), qint64(7)}) {
            // The zero byte rules out every single-byte reading: raw bytes.
            const QByteArray bytes = mark + valid + QByteArray("\x01\x00\xe7\xac-f\xac\n", 8);
            const LoadedText loaded = Detected(bytes, DocumentLoader::Sizes{chunk, 1 << 20, 64 * 1024});
            EXPECT_NE(loaded.encoding.codec, TextEncoding::Utf8) << chunk;
        }
}

TEST_F(EncodingDetectionTest, WordsAreTakenWholeFromTheSample)
{
    QByteArray sample;
    // The first word touches the chunk's start and the last its end: parts
    // of words a neighbouring chunk holds the rest of.
    EncodingDetector::CollectNonAsciiWords("\xa4\xa4 ascii \xb5\xd8x,y\xe9 \xa4\xe5", false, false, sample, 100);
    EXPECT_EQ(sample, QByteArray("\xb5\xd8x\ny\xe9\n"));
    sample.clear();
    EncodingDetector::CollectNonAsciiWords("\xa4\xa4 \xa4\xe5", true, true, sample, 100);
    EXPECT_EQ(sample, QByteArray("\xa4\xa4\n\xa4\xe5\n"));
    // The limit cuts the last word.
    sample.clear();
    EncodingDetector::CollectNonAsciiWords("\xa4\xa4\xa4\xe5\xa4\xa4 \xa4\xe5", true, true, sample, 5);
    EXPECT_EQ(sample, QByteArray("\xa4\xa4\xa4\xe5\xa4"));
}

TEST_F(EncodingDetectionTest, WideTextWithoutAMarkByItsZeroBytes)
{
    const QString latin = QStringLiteral("Hello, wörld\r\nsecond line\n");
    const QString chinese = QStringLiteral("第一行的中文内容比较长一些，只有行尾是ASCII字符。\n").repeated(20);
    const QString emoji = QStringLiteral("ok 😀 done\n");
    const struct
    {
        const char *qtName;
        TextEncoding::Codec codec;
    } forms[] = {{"UTF-16LE", TextEncoding::Utf16LE}, {"UTF-16BE", TextEncoding::Utf16BE},
                 {"UTF-32LE", TextEncoding::Utf32LE}, {"UTF-32BE", TextEncoding::Utf32BE}};
    for (const auto &[qtName, codec] : forms) {
        for (const QString &text : {latin, chinese, emoji, QStringLiteral("hi")}) {
            const LoadedText loaded = Detected(QtEncoded(text, qtName));
            EXPECT_EQ(loaded.encoding, TextEncoding(codec, false)) << qtName << " " << text.toStdString();
            EXPECT_TRUE(loaded.encoding.Name().endsWith(QStringLiteral(" 无BOM")));
            EXPECT_EQ(loaded.text, text.toUtf8()) << qtName;
        }
    }
}

TEST_F(EncodingDetectionTest, ZeroBytesThatAreNoConsistentWideText)
{
    const QByteArray le = QtEncoded(QStringLiteral("some text\n"), "UTF-16LE");
    // A control character in the sample: the bytes are valid UTF-8 with NULs.
    const QByteArray control = le + QtEncoded(QStringLiteral("\x01"), "UTF-16LE");
    EXPECT_EQ(Detected(control).encoding.codec, TextEncoding::Utf8);
    // An odd length is no UTF-16.
    EXPECT_EQ(Detected(le + 'x').encoding.codec, TextEncoding::Utf8);
    // One zero byte in plain text proves nothing.
    EXPECT_EQ(Detected(QByteArray("ok\nab\0c", 7)).encoding.codec, TextEncoding::Utf8);
    // Consistent at the start, but a lone surrogate past the sample: the
    // whole file decides.
    const DocumentLoader::Sizes small{1000, 64, 64};
    const QByteArray broken = le.repeated(20) + QByteArray("\x00\xd8", 2) + le;
    EXPECT_NE(Detected(broken, small).encoding.codec, TextEncoding::Utf16LE);
    EXPECT_EQ(Detected(le.repeated(20) + le, small).encoding.codec, TextEncoding::Utf16LE);
}

} // namespace
