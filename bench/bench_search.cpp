// Searching and replacing in large documents, against grep and sed on the
// same file in the same run.
//   bench_search                          100 MB
//   bench_search --gigabyte               100 MB, then 1 GB (also FERROLAN_BENCH_GIGABYTE=1)
//   bench_search --replace-child FILE     (internal) one replace-all in a fresh process, for its peak memory
#include "BenchSupport.h"
#include "editor/TextSearch.h"
#include "editor/clsScintilla.h"
#include "platform/LongOperation.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <Qsci/qsciscintillabase.h>
#include <cstdio>
#include <functional>

using Sci = QsciScintillaBase;
using namespace bench;

namespace {

const QString Word = QStringLiteral("total");
const QString Replacement = QStringLiteral("sum_of_all");
const QByteArray Marker = "Needle_7f3a"; // once, near the end: a hit after scanning nearly everything
const QString Absent = QStringLiteral("totally_absent_word");
const QString AbsentPattern = QStringLiteral("tot[0-9]+ally");
const QString NoLiteralPattern = QStringLiteral("[0-9][0-9][0-9][0-9][0-9]"); // the component's own regex

QString Figure(double seconds)
{
    return seconds < 0.1 ? QStringLiteral("%1 ms").arg(seconds * 1e3, 0, 'f', 1)
                         : QStringLiteral("%1 s").arg(seconds, 0, 'f', 3);
}

QString Ratio(double seconds, double reference)
{
    return Figure(seconds) + QStringLiteral(" (%1x)").arg(seconds / reference, 0, 'f', 2);
}

QString Megabytes(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(double(bytes) / MB, 0, 'f', 0);
}

// A program run with its output, best of a few.
double Run(const QString &program, const QStringList &arguments, int runs, QByteArray *output = nullptr)
{
    return BestOf(runs, [&] {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(-1);
        if (output)
            *output = process.readAllStandardOutput().trimmed();
    });
}

QByteArray FileHash(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    return hash.result().toHex();
}

// The longest time the interface went without handling its events while the
// action ran: a timer that wants to run all the time notes every gap.
double LongestBlocked(const std::function<void()> &action)
{
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    ticker.start();
    clock.start();
    action();
    longest = std::max(longest, clock.nsecsElapsed() - last);
    return double(longest) / 1e9;
}

double FindFromTop(clsScintilla &sci, const QString &text, int caseSensitive, int regExp, int runs, bool *found = nullptr)
{
    return BestOf(runs, [&] {
        sci.SetSel(0, 0);
        const bool hit = sci.FindText(text, vbFalse, vbFalse, vbFalse, caseSensitive, vbFalse, vbFalse, regExp);
        if (found)
            *found = hit;
    });
}

// Every match of the document, the way replace-all walks them.
qint64 CountMatches(clsScintilla &sci, const QString &text, long flags)
{
    TextSearch search(sci, text.toUtf8(), flags);
    LongOperation operation(QStringLiteral("count"));
    const long length = sci.GetLen();
    qint64 count = 0;
    for (long from = 0;;) {
        const TextSearch::Match match = search.Find(from, length, operation, true);
        if (!match.Found())
            return count;
        ++count;
        from = std::max(match.end, match.start + 1);
    }
}

struct Path
{
    const char *name;
    const char *grepOption;
    int caseSensitive;
    int regExp;
};

const Path Paths[] = {
    {"case-sensitive", "-c", vbTrue, vbFalse},
    {"case ignored", "-ci", vbFalse, vbFalse},
    {"regular expression", "-cE", vbTrue, vbTrue},
};

void Searches(const QString &path, const QString &size, bool gigabyte)
{
    const int runs = gigabyte ? 2 : 3;
    EditorHost host;
    clsScintilla &sci = host.sci;
    Report(QStringLiteral("load %1").arg(size), Figure(Seconds([&] { Require(sci.LoadFile(path)); })));

    for (const Path &p : Paths) {
        const bool regex = p.regExp;
        const QString miss = regex ? AbsentPattern : Absent;
        const QString hit = regex ? QStringLiteral("Needle_[0-9a-f]+")
                                  : p.caseSensitive ? QString::fromLatin1(Marker)
                                                    : QString::fromLatin1(Marker).toUpper();
        const double grepMiss = Run(QStringLiteral("grep"), {QString::fromLatin1(p.grepOption), miss, path}, runs);
        const double grepHit = Run(QStringLiteral("grep"), {QString::fromLatin1(p.grepOption), hit, path}, runs);
        bool found = true;
        const double ourMiss = FindFromTop(sci, miss, p.caseSensitive, regex, runs, &found);
        const bool missed = !found;
        const double ourHit = FindFromTop(sci, hit, p.caseSensitive, regex, runs, &found);
        const QString command = QStringLiteral("grep %1 \"%2\"").arg(QString::fromLatin1(p.grepOption));
        Report(QStringLiteral("%1, %2, miss: %3").arg(size, QString::fromLatin1(p.name), command.arg(miss)), Figure(grepMiss));
        Report(QStringLiteral("  FindText"), Ratio(ourMiss, grepMiss),
               QStringLiteral("goal <= 3x grep") + (missed ? QString() : QStringLiteral("; FOUND SOMETHING")));
        Report(QStringLiteral("%1, %2, hit near the end: %3").arg(size, QString::fromLatin1(p.name), command.arg(hit)),
               Figure(grepHit));
        Report(QStringLiteral("  FindText"), Ratio(ourHit, grepHit),
               QStringLiteral("goal <= 3x grep") + (found ? QString() : QStringLiteral("; NOT FOUND")));
    }

    // Dense hits: every "total" of the text.
    for (const Path &p : Paths) {
        if (p.regExp)
            continue;
        QByteArray lines;
        const double grep = Run(QStringLiteral("grep"), {QString::fromLatin1(p.grepOption), Word, path}, runs, &lines);
        qint64 count = 0;
        const long flags = p.caseSensitive ? long(Sci::SCFIND_MATCHCASE) : 0L;
        const double walk = BestOf(runs, [&] { count = CountMatches(sci, Word, flags); });
        Report(QStringLiteral("%1, %2, every match: grep %3 \"total\" (%4 lines)")
                   .arg(size, QString::fromLatin1(p.name), QString::fromLatin1(p.grepOption), QString::fromLatin1(lines)),
               Figure(grep));
        Report(QStringLiteral("  %1 matches, walked as replace-all walks them").arg(count), Ratio(walk, grep),
               QStringLiteral("goal <= 3x grep"));
        if (!gigabyte) {
            qint64 steps = 0;
            const double next = Seconds([&] {
                sci.SetSel(0, 0);
                while (sci.FindText(Word, vbFalse, vbFalse, vbFalse, p.caseSensitive, vbFalse, vbFalse, vbFalse))
                    ++steps;
            });
            Report(QStringLiteral("  %1 matches, one FindText each (find next, selecting each)").arg(steps), Ratio(next, grep),
                   QStringLiteral("for information"));
        }
    }

    const double grepNoLiteral = Run(QStringLiteral("grep"), {QStringLiteral("-cE"), NoLiteralPattern, path}, 1);
    double noLiteral = 0;
    const double noLiteralBlocked = LongestBlocked([&] { noLiteral = FindFromTop(sci, NoLiteralPattern, vbTrue, vbTrue, 1); });
    Report(QStringLiteral("%1, regular expression without a literal: grep -cE \"%2\"").arg(size, NoLiteralPattern),
           Figure(grepNoLiteral));
    Report(QStringLiteral("  FindText (the component's own search, in slices)"), Ratio(noLiteral, grepNoLiteral),
           QStringLiteral("as before: no literal to go by"));
    if (!gigabyte) {
        const double own = BestOf(1, [&] {
            EditorWindow *editor = sci.Editor();
            const QByteArray absent = Absent.toUtf8();
            editor->SendScintilla(Sci::SCI_SETSEARCHFLAGS, 0L);
            editor->SendScintilla(Sci::SCI_SETTARGETSTART, 0L);
            editor->SendScintilla(Sci::SCI_SETTARGETEND, editor->SendScintilla(Sci::SCI_GETLENGTH));
            editor->SendScintilla(Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(absent.size()), absent.constData());
        });
        Report(QStringLiteral("%1, case ignored, miss: the component's own search (before)").arg(size), Figure(own));
    }

    const double blockedPlain = LongestBlocked([&] { FindFromTop(sci, Absent, vbFalse, vbFalse, 1); });
    Report(QStringLiteral("%1: longest blocked interval, case-ignored miss").arg(size), Figure(blockedPlain),
           QStringLiteral("goal < 100 ms"));
    Report(QStringLiteral("%1: longest blocked interval, regular expression without a literal").arg(size),
           Figure(noLiteralBlocked), QStringLiteral("goal < 100 ms"));
}

// One replace-all in this fresh process: its time, the document's size in
// memory once loaded, the peak, and a hash of the result to compare with sed's.
int ReplaceChild(const QString &path)
{
    EditorHost host;
    Require(host.sci.LoadFile(path));
    const qint64 loaded = ResidentBytes();
    qint64 count = 0;
    double seconds = 0;
    const double blocked = LongestBlocked([&] {
        seconds = Seconds([&] { count = host.sci.ReplaceAll(Word, Replacement, vbTrue, vbFalse, vbFalse, vbFalse); });
    });
    const qint64 peak = PeakResidentBytes();
    const char *text = host.sci.CharacterPointer();
    const QByteArray hash = QCryptographicHash::hash(QByteArrayView(text, host.sci.GetLen()), QCryptographicHash::Sha1).toHex();
    std::printf("%f %lld %lld %lld %f %s\n", seconds, count, loaded, peak, blocked, hash.constData());
    return 0;
}

void ReplaceAllAgainstSed(const QString &program, const QString &path, const QString &size, qint64 fileSize, int runs)
{
    const QString copy = path + QStringLiteral(".sed");
    double sed = 1e30;
    for (int run = 0; run < runs; ++run) {
        QFile::remove(copy);
        QFile::copy(path, copy);
        sed = std::min(sed, Run(QStringLiteral("sed"), {QStringLiteral("-i"), QStringLiteral("s/total/sum_of_all/g"), copy}, 1));
    }
    const QByteArray sedHash = FileHash(copy);
    QFile::remove(copy);

    double best = 1e30;
    QList<QByteArray> fields;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.start(program, {QStringLiteral("--replace-child"), path});
        child.waitForFinished(-1);
        const QList<QByteArray> got = child.readAllStandardOutput().trimmed().split(' ');
        if (got.size() == 6 && got[0].toDouble() < best) {
            best = got[0].toDouble();
            fields = got;
        }
    }
    if (fields.size() != 6) {
        Report(QStringLiteral("%1: replace all").arg(size), QStringLiteral("CHILD FAILED"));
        return;
    }
    const qint64 loaded = fields[2].toLongLong();
    const qint64 peak = fields[3].toLongLong();
    Report(QStringLiteral("%1: sed -i \"s/total/sum_of_all/g\"").arg(size), Figure(sed));
    Report(QStringLiteral("  ReplaceAll, %1 matches").arg(QString::fromLatin1(fields[1])), Ratio(best, sed),
           QStringLiteral("goal <= 1.5x sed -i") + (fields[5] == sedHash ? QStringLiteral("; text as sed's")
                                                                        : QStringLiteral("; TEXT DIFFERS FROM SED'S")));
    Report(QStringLiteral("  peak memory (VmHWM of the process)"),
           QStringLiteral("%1 (%2x the file)").arg(Megabytes(peak)).arg(double(peak) / double(fileSize), 0, 'f', 2),
           QStringLiteral("goal <= 2x"));
    Report(QStringLiteral("  resident once loaded (text and styles)"),
           QStringLiteral("%1 (%2x the file); peak %3x that").arg(Megabytes(loaded))
               .arg(double(loaded) / double(fileSize), 0, 'f', 2)
               .arg(double(peak) / double(loaded), 0, 'f', 2));
    Report(QStringLiteral("  longest blocked interval"), Figure(fields[4].toDouble()), QStringLiteral("for information"));
}

// The same, each match replaced on its own (what a contracted fold makes
// ReplaceAll do).
void ReplaceEachAlone(const QString &path, const QString &size)
{
    EditorHost host;
    Require(host.sci.LoadFile(path));
    host.sci.SendEditor(Sci::SCI_SETFOLDLEVEL, 0, Sci::SC_FOLDLEVELBASE | Sci::SC_FOLDLEVELHEADERFLAG);
    host.sci.SendEditor(Sci::SCI_SETFOLDEXPANDED, 0, 0);
    const double alone = Seconds([&] { host.sci.ReplaceAll(Word, Replacement, vbTrue, vbFalse, vbFalse, vbFalse); });
    Report(QStringLiteral("%1: ReplaceAll, each match on its own (a contracted fold)").arg(size), Figure(alone),
           QStringLiteral("linear"));
}

// The benchmark text with the marker planted once, near the end.
QString WriteText(const QString &path, qint64 bytes)
{
    QByteArray text = CppLikeText(bytes);
    text.insert(text.indexOf('\n', bytes / 100 * 99) + 1, Marker + ' ');
    return WriteFile(path, text);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--replace-child"))
        return ReplaceChild(args[2]);
    const bool gigabyte = args.contains(QLatin1String("--gigabyte")) || qEnvironmentVariableIntValue("FERROLAN_BENCH_GIGABYTE");

    QTemporaryDir dir;
    QList<qint64> sizes = {100 * MB};
    if (gigabyte)
        sizes.append(1000 * MB);
    for (const qint64 bytes : sizes) {
        const bool large = bytes > 100 * MB;
        const QString size = large ? QStringLiteral("1 GB") : QStringLiteral("100 MB");
        const QString path = WriteText(dir.filePath(QStringLiteral("doc%1.cpp").arg(bytes / MB)), bytes);
        Searches(path, size, large);
        ReplaceAllAgainstSed(app.applicationFilePath(), path, size, bytes, large ? 1 : 3);
        if (!large)
            ReplaceEachAlone(path, size);
        QFile::remove(path);
    }
    return 0;
}
