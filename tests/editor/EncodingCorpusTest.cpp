// How often opening a file picks the right legacy encoding, on real text no
// one here wrote: the corpus the build makes with scripts/make-encoding-corpus
// (Debian's Chinese and Japanese manual pages and Korean FAQ, converted with
// iconv). Each page is judged whole and by its first 200 bytes, 2 KB and
// 20 KB; a page shorter than a size, or whose start at that size is plain
// ASCII (the same bytes in every encoding), is left out of that size.
#include "LoadedText.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <cstdio>
#include <map>

namespace {

struct Folder
{
    const char *name;         // as the corpus script writes it
    TextEncoding::Codec expected;
    double floor200, floor2k, floor20k; // lowest share of right answers accepted
};

// GBK is read as GB18030, its superset. The Chinese floors are the goals;
// the Japanese and Korean ones sit a little under what was measured.
const Folder Folders[] = {
    {"GB18030", TextEncoding::GB18030, 0.95, 0.99, 0.99},
    {"GBK", TextEncoding::GB18030, 0.95, 0.99, 0.99},
    {"BIG5", TextEncoding::Big5, 0.95, 0.99, 0.99},
    {"SHIFT_JIS", TextEncoding::ShiftJis, 0.95, 0.98, 0.98},
    {"EUC-JP", TextEncoding::EucJp, 0.95, 0.98, 0.98},
    {"EUC-KR", TextEncoding::EucKr, 0.95, 0.98, 0.98},
};

constexpr qsizetype Sizes[] = {200, 2048, 20480};

// The length of the character at p in a file of this encoding (the corpus is
// valid, so the lead byte tells).
qsizetype CharacterLength(TextEncoding::Codec codec, const unsigned char *p, qsizetype left)
{
    if (p[0] < 0x80)
        return 1;
    switch (codec) {
    case TextEncoding::GB18030:
        return left >= 4 && p[1] >= 0x30 && p[1] <= 0x39 ? 4 : 2;
    case TextEncoding::ShiftJis:
        return p[0] >= 0xA1 && p[0] <= 0xDF ? 1 : 2;
    case TextEncoding::EucJp:
        return p[0] == 0x8F ? 3 : 2;
    default:
        return 2;
    }
}

// The longest start of the bytes no longer than size that ends between characters.
QByteArray CutAt(const QByteArray &bytes, qsizetype size, TextEncoding::Codec codec)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype length = CharacterLength(codec, p + at, bytes.size() - at);
        if (at + length > size)
            break;
        at += length;
    }
    return bytes.left(at);
}

bool HasNonAscii(const QByteArray &bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

struct Tally
{
    int right = 0, judged = 0;
    QStringList wrong; // page: what it was taken for
    double Share() const { return judged ? double(right) / judged : 1.0; }
};

class EncodingCorpusTest : public ::testing::Test, protected TestFiles
{
protected:
    static QString Corpus() { return QStringLiteral(FERROLAN_ENCODING_CORPUS); }

    QStringList Pages(const Folder &folder) const
    {
        QDir dir(Corpus() + QLatin1Char('/') + QLatin1String(folder.name));
        QStringList pages;
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            pages << dir.filePath(name);
        return pages;
    }
};

TEST_F(EncodingCorpusTest, LegacyEncodingsAreToldApartOnRealText)
{
    ASSERT_TRUE(QFile::exists(Corpus())) << "no corpus at " << Corpus().toStdString()
                                         << ": the build makes it (scripts/setup installs its packages)";
    std::printf("%-10s %-9s %8s %8s %8s %8s\n", "folder", "expected", "200 B", "2 KB", "20 KB", "whole");
    for (const Folder &folder : Folders) {
        const QStringList pages = Pages(folder);
        ASSERT_GT(pages.size(), 50) << folder.name;
        std::map<qsizetype, Tally> tallies;
        for (const QString &page : pages) {
            const QByteArray bytes = Read(page);
            for (const qsizetype size : {Sizes[0], Sizes[1], Sizes[2], bytes.size()}) {
                const bool whole = size == bytes.size();
                if (!whole && bytes.size() < size)
                    continue;
                const QByteArray cut = whole ? bytes : CutAt(bytes, size, folder.expected);
                if (!HasNonAscii(cut))
                    continue;
                const LoadedText loaded = LoadedText::DetectStart(page, cut.size());
                Tally &tally = tallies[whole ? -1 : size];
                ++tally.judged;
                if (loaded.encoding.codec == folder.expected)
                    ++tally.right;
                else
                    tally.wrong << QFileInfo(page).fileName() + QLatin1Char(':') + loaded.encoding.Name();
                if (whole) { // nothing read is lost on the way back
                    EXPECT_TRUE(loaded.ok && loaded.Saved() == bytes) << page.toStdString();
                }
            }
        }
        auto cell = [&](qsizetype size) {
            const Tally &t = tallies[size];
            return QStringLiteral("%1% of %2").arg(100.0 * t.Share(), 0, 'f', 1).arg(t.judged);
        };
        for (const auto &[size, tally] : tallies)
            if (!tally.wrong.isEmpty())
                std::printf("  %s, %lld bytes, taken wrongly: %s\n", folder.name, static_cast<long long>(size),
                            qPrintable(tally.wrong.join(QStringLiteral(", "))));
        std::printf("%-10s %-9s %8s %8s %8s %8s\n", folder.name, qPrintable(TextEncoding(folder.expected).Name()),
                    qPrintable(cell(200)), qPrintable(cell(2048)), qPrintable(cell(20480)), qPrintable(cell(-1)));
        const double floors[] = {folder.floor200, folder.floor2k, folder.floor20k};
        for (int i = 0; i < 3; ++i) {
            const Tally &t = tallies[Sizes[i]];
            EXPECT_GE(t.Share(), floors[i]) << folder.name << " at " << Sizes[i] << " bytes; first wrong: "
                                            << t.wrong.mid(0, 8).join(QStringLiteral(", ")).toStdString();
        }
    }
}

} // namespace
