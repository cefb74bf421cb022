// Loading and saving a large GB18030 file against the same text as UTF-8;
// detecting and loading 100 MB of Big5 and of Shift_JIS against the same
// text as UTF-8.
//   bench_encoding               all figures
//   bench_encoding --peak FILE   (internal) peak memory of loading FILE, in bytes
#include "BenchSupport.h"
#include "editor/TextEncoding.h"
#include "editor/clsScintilla.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QWidget>

using namespace bench;

namespace {

// The same text twice: as UTF-8 and in a legacy encoding (GB18030 unless
// named), built line by line from templates until the legacy form reaches
// the given size.
struct TwinFiles
{
    QByteArray utf8;
    QByteArray gb18030;
};

TwinFiles Generate(const QStringList &lines, qint64 gbBytes, const char *encoding = "GB18030")
{
    QStringEncoder encoder(encoding);
    QList<QByteArray> utf8Lines, gbLines;
    for (const QString &line : lines) {
        utf8Lines << line.toUtf8();
        gbLines << encoder.encode(line);
    }
    QRandomGenerator random(42);
    TwinFiles twins;
    twins.gb18030.reserve(gbBytes + 256);
    twins.utf8.reserve(gbBytes * 3 / 2 + 256);
    while (twins.gb18030.size() < gbBytes) {
        const int i = random.bounded(int(lines.size()));
        twins.utf8 += utf8Lines[i];
        twins.gb18030 += gbLines[i];
    }
    return twins;
}

const QStringList CodeLines = {
    QStringLiteral("// 计算总和 compute the running total of the samples\n"),
    QStringLiteral("int total = 0;\n"),
    QStringLiteral("for (int i = 0; i < count; ++i) {\n"),
    QStringLiteral("    total += samples[i] * weight(i); /* 加权 weighted */\n"),
    QStringLiteral("}\n"),
    QStringLiteral("static const char *name = \"示例字符串 sample\";\n"),
    QStringLiteral("double average = count ? double(total) / count : 0.0;\n"),
    QStringLiteral("if (total > limit) { return report(total, \"超出限制\"); }\n"),
    QStringLiteral("\n"),
};

const QStringList TraditionalLines = {
    QStringLiteral("編輯器把檔案讀入記憶體，依照檔案的編碼把位元組轉換成文字。\n"),
    QStringLiteral("儲存的時候再把文字轉換回原來的編碼，一個位元組也不改變。\n"),
    QStringLiteral("// 計算總和 compute the running total\n"),
    QStringLiteral("int total = 0; /* 加權平均 */\n"),
    QStringLiteral("狀態列的第三格顯示目前文件的編碼，切換文件時隨之更新。\n"),
    QStringLiteral("這一行混有少量 ASCII 文字：version 1.0, 2009 年發佈。\n"),
};

const QStringList JapaneseLines = {
    QStringLiteral("エディタはファイルをメモリに読み込み、文字コードに従ってテキストに変換します。\n"),
    QStringLiteral("保存するときは元の文字コードに戻し、一バイトも変えません。\n"),
    QStringLiteral("// 合計を計算する compute the running total\n"),
    QStringLiteral("int total = 0; /* 重み付き平均 */\n"),
    QStringLiteral("ｽﾃｰﾀｽﾊﾞｰには現在の文書の文字コードが表示されます。\n"),
    QStringLiteral("この行には少しの ASCII 文字が含まれています：version 1.0。\n"),
};

const QStringList ProseLines = {
    QStringLiteral("编辑器把文件读入内存，按照文件的编码把字节转换成文字。\n"),
    QStringLiteral("保存的时候再把文字转换回原来的编码，一个字节也不改变。\n"),
    QStringLiteral("中文文件常见的编码有国标码和大五码，还有统一码的几种形式。\n"),
    QStringLiteral("如果某个字符在文件的编码里无法表示，保存之前就会提示用户。\n"),
    QStringLiteral("状态栏的第三格显示当前文档的编码，切换文档时随之更新。\n"),
    QStringLiteral("这一行混有少量 ASCII 文字：version 1.0, 2009 年发布。\n"),
};

double LoadSeconds(const QString &path, TextEncoding::Codec expected)
{
    return BestOf(3, [&] {
        EditorHost host;
        Require(host.sci.LoadFile(path));
        if (host.sci.Encoding().codec != expected)
            std::printf("unexpected encoding %s for %s\n", qPrintable(host.sci.Encoding().Name()), qPrintable(path));
    });
}

int PeakMode(const QString &path)
{
    EditorHost host;
    const qint64 before = ResidentBytes();
    Require(host.sci.LoadFile(path));
    std::printf("%lld\n", static_cast<long long>(PeakResidentBytes() - before));
    return 0;
}

qint64 PeakOf(const QString &path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--peak"), path});
    child.waitForFinished(-1);
    return child.readAllStandardOutput().trimmed().toLongLong();
}

// Qt's own converter alone, a slice at a time: what loading would cost
// without the tables.
double QtDecodeSeconds(const QByteArray &bytes)
{
    return Seconds([&] {
        QStringDecoder decoder("GB18030");
        for (qsizetype at = 0; at < bytes.size(); at += 1 << 20)
            const QString text = decoder.decode(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(1 << 20, bytes.size() - at)));
    });
}

QString Size(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(double(bytes) / MB, 0, 'f', 1);
}

void Compare(const QString &kind, const QStringList &lines, const QTemporaryDir &dir)
{
    const TwinFiles twins = Generate(lines, 100 * MB);
    const QString gbPath = WriteFile(dir.filePath(kind + QStringLiteral("-gb18030.txt")), twins.gb18030);
    const QString utf8Path = WriteFile(dir.filePath(kind + QStringLiteral("-utf8.txt")), twins.utf8);
    Report(QStringLiteral("%1: file sizes GB18030 / UTF-8").arg(kind),
           Size(twins.gb18030.size()) + QStringLiteral(" / ") + Size(twins.utf8.size()));

    const double gb = LoadSeconds(gbPath, TextEncoding::GB18030);
    const double utf8 = LoadSeconds(utf8Path, TextEncoding::Utf8);
    Report(QStringLiteral("%1: load UTF-8").arg(kind), QStringLiteral("%1 s").arg(utf8, 0, 'f', 3));
    Report(QStringLiteral("%1: load GB18030").arg(kind),
           QStringLiteral("%1 s (%2x)").arg(gb, 0, 'f', 3).arg(gb / utf8, 0, 'f', 2), QStringLiteral("goal <= 2x UTF-8"));
    Report(QStringLiteral("%1: Qt's GB18030 decoder alone, no check").arg(kind),
           QStringLiteral("%1 s").arg(QtDecodeSeconds(twins.gb18030), 0, 'f', 3));

    const qint64 gbPeak = PeakOf(gbPath), utf8Peak = PeakOf(utf8Path);
    Report(QStringLiteral("%1: peak memory loading UTF-8").arg(kind),
           QStringLiteral("%1x file").arg(double(utf8Peak) / twins.utf8.size(), 0, 'f', 2), QStringLiteral("goal <= 2.6x"));
    Report(QStringLiteral("%1: peak memory loading GB18030").arg(kind),
           QStringLiteral("%1x file, %2x its UTF-8")
               .arg(double(gbPeak) / twins.gb18030.size(), 0, 'f', 2)
               .arg(double(gbPeak) / twins.utf8.size(), 0, 'f', 2));

    EditorHost host;
    Require(host.sci.LoadFile(gbPath));
    const QString saved = dir.filePath(QStringLiteral("saved.txt"));
    const double save = BestOf(3, [&] { Require(host.sci.SaveToFile(saved)); });
    QFile check(saved);
    check.open(QIODevice::ReadOnly);
    const bool same = check.readAll() == twins.gb18030;
    Report(QStringLiteral("%1: SaveToFile GB18030").arg(kind),
           QStringLiteral("%1 s, %2").arg(save, 0, 'f', 3).arg(same ? QStringLiteral("same bytes") : QStringLiteral("BYTES DIFFER")));
}

// Opening decides the encoding (UTF-8 fails, the sample is scored, the
// winner is proved on the whole file) and loads it: against loading the
// same text as UTF-8, in the same run.
void CompareDetected(const QString &kind, const QStringList &lines, const char *encoding,
                     TextEncoding::Codec expected, const QTemporaryDir &dir)
{
    const TwinFiles twins = Generate(lines, 100 * MB, encoding);
    const QString legacyPath = WriteFile(dir.filePath(kind + QStringLiteral("-legacy.txt")), twins.gb18030);
    const QString utf8Path = WriteFile(dir.filePath(kind + QStringLiteral("-utf8.txt")), twins.utf8);
    Report(QStringLiteral("%1: file sizes %2 / UTF-8").arg(kind, QString::fromLatin1(encoding)),
           Size(twins.gb18030.size()) + QStringLiteral(" / ") + Size(twins.utf8.size()));
    const double utf8 = LoadSeconds(utf8Path, TextEncoding::Utf8);
    const double legacy = LoadSeconds(legacyPath, expected);
    Report(QStringLiteral("%1: load UTF-8").arg(kind), QStringLiteral("%1 s").arg(utf8, 0, 'f', 3));
    Report(QStringLiteral("%1: detect and load %2").arg(kind, QString::fromLatin1(encoding)),
           QStringLiteral("%1 s (%2x)").arg(legacy, 0, 'f', 3).arg(legacy / utf8, 0, 'f', 2),
           QStringLiteral("goal <= 1.3x UTF-8"));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--peak"))
        return PeakMode(args[2]);
    if (!TextEncoding(TextEncoding::GB18030).IsAvailable()) {
        std::printf("this Qt has no GB18030 converter\n");
        return 1;
    }

    QTemporaryDir dir;
    CompareDetected(QStringLiteral("Big5"), TraditionalLines, "Big5", TextEncoding::Big5, dir);
    CompareDetected(QStringLiteral("Shift_JIS"), JapaneseLines, "Shift_JIS", TextEncoding::ShiftJis, dir);
    Compare(QStringLiteral("code"), CodeLines, dir);
    Compare(QStringLiteral("prose"), ProseLines, dir);

    // The slowest way to end up raw: UTF-8 text (whose Chinese happens to be
    // valid GB18030 too) with one stray byte at its very end, so UTF-8 and
    // GB18030 each read the whole file first.
    QByteArray stray = CppLikeText(100 * MB);
    stray[stray.size() - 1] = '\xff';
    const QString raw = WriteFile(dir.filePath(QStringLiteral("stray.txt")), stray);
    Report(QStringLiteral("load 100 MB UTF-8 with a stray byte at its end (raw)"),
           QStringLiteral("%1 s").arg(LoadSeconds(raw, TextEncoding::Raw), 0, 'f', 3));
    const QString valid = WriteFile(dir.filePath(QStringLiteral("valid.txt")), CppLikeText(100 * MB));
    Report(QStringLiteral("load the same 100 MB without the stray byte (UTF-8)"),
           QStringLiteral("%1 s").arg(LoadSeconds(valid, TextEncoding::Utf8), 0, 'f', 3));
    return 0;
}
