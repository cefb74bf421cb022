// Every encoding of the menus, on random text of characters it holds as
// Qt's converter writes it: read back to the same text and written back to
// the same bytes, in one piece and in tiny ones.
#include "LoadedText.h"
#include "TestFiles.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Letters of many scripts, symbols, CJK, kana, Hangul, half- and full-width
// forms and characters beyond the BMP; no controls, no private use.
const std::pair<char32_t, char32_t> Ranges[] = {
    {0xA0, 0x24F},   {0x370, 0x3FF},   {0x400, 0x4FF},   {0x5D0, 0x5EA},   {0x600, 0x6FF},
    {0x900, 0x9FF},  {0xB80, 0xBFF},   {0xE01, 0xE5B},   {0x1E00, 0x1EFF}, {0x2010, 0x2044},
    {0x20AC, 0x20AC}, {0x2190, 0x21FF}, {0x2500, 0x257F}, {0x3000, 0x30FF}, {0x3400, 0x4DB5},
    {0x4E00, 0x9FA5}, {0xAC00, 0xD7A3}, {0xFF01, 0xFF9F}, {0x1F600, 0x1F64F}, {0x20000, 0x2A6D6},
};

// Characters Qt writes in the encoding and reads back as themselves: of the
// candidates, or (none given) random ones of the ranges.
QList<QString> Holdable(const char *qtName, QRandomGenerator &random, const QString &candidates = QString())
{
    constexpr auto Stateless = QStringConverter::Flag::Stateless;
    auto encoder = std::make_unique<QStringEncoder>(qtName, Stateless);
    auto decoder = std::make_unique<QStringDecoder>(qtName, Stateless);
    QList<QString> held;
    const int tries = candidates.isEmpty() ? 6000 : int(candidates.size());
    for (int i = 0; i < tries; ++i) {
        char32_t cp = candidates.isEmpty() ? 0 : candidates[i].unicode();
        if (candidates.isEmpty()) {
            const auto &[low, high] = Ranges[random.bounded(int(std::size(Ranges)))];
            cp = low + random.bounded(quint32(high - low + 1));
        }
        const QString c = QString::fromUcs4(&cp, 1);
        const QByteArray bytes = encoder->encode(c);
        if (encoder->hasError()) {
            encoder = std::make_unique<QStringEncoder>(qtName, Stateless);
            continue;
        }
        const QString back = decoder->decode(bytes);
        if (decoder->hasError()) {
            decoder = std::make_unique<QStringDecoder>(qtName, Stateless);
            continue;
        }
        if (back == c)
            held << c;
    }
    return held;
}

// Mostly ASCII (what the encoding has of it), a line feed now and then, and
// half of it the other characters it holds.
QString RandomText(const char *qtName, QRandomGenerator &random)
{
    const QList<QString> held = Holdable(qtName, random);
    const QList<QString> ascii =
        Holdable(qtName, random, QStringLiteral("abc XYZ 0123 (){}<>=+-*/;:,.!?\"'#$%&@[]^_`|~\t"));
    QString text;
    for (int i = 0; i < 4000; ++i) {
        const int pick = random.bounded(10);
        if (pick < 5 && !held.isEmpty())
            text += held[random.bounded(int(held.size()))];
        else if (pick < 9 && !ascii.isEmpty())
            text += ascii[random.bounded(int(ascii.size()))];
        else
            text += QLatin1Char('\n');
    }
    return text + QLatin1Char('\n'); // back to ASCII at the end, as files are
}

class EncodingRoundTripTest : public ::testing::Test, protected TestFiles
{
};

TEST_F(EncodingRoundTripTest, EveryEncodingGivesBackTheSameBytes)
{
    QRandomGenerator random(18);
    const QList<TextEncoding> all = TextEncoding::All();
    ASSERT_GT(all.size(), 100);
    for (const TextEncoding &encoding : all) {
        SCOPED_TRACE(encoding.Name().toStdString());
        const QString text = RandomText(encoding.QtName(), random);
        QStringEncoder encoder(encoding.QtName());
        const QByteArray bytes = (encoding.bom ? encoding.Mark() : QByteArray()) + encoder.encode(text);
        ASSERT_FALSE(encoder.hasError());
        const QString path = Write(QStringLiteral("text.txt"), bytes);

        const DocumentLoader::Sizes whole, tiny{7, 3, 16};
        for (const DocumentLoader::Sizes &sizes : {whole, tiny}) {
            const LoadedText loaded = LoadedText::As(path, encoding, sizes);
            ASSERT_TRUE(loaded.ok) << "read in chunks of " << sizes.readChunk;
            EXPECT_EQ(loaded.encoding, encoding);
            EXPECT_TRUE(loaded.text == text.toUtf8()) << "read in chunks of " << sizes.readChunk;
            EXPECT_TRUE(loaded.Saved() == bytes);
            EXPECT_TRUE(loaded.Saved(5) == bytes) << "written in pieces of 5";
        }
    }
}

} // namespace
