// Searching and replacing in large documents, against sed and grep on the
// same file in the same run and against the component's own search.
//   bench_search        all figures (100 MB and 2 MB documents)
#include "BenchSupport.h"
#include "editor/clsScintilla.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;
using namespace bench;

namespace {

const QString Word = QStringLiteral("total");
const QString Replacement = QStringLiteral("sum_of_all");

double Run(const QString &program, const QStringList &arguments)
{
    return Seconds([&] {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(-1);
    });
}

QString Figure(double seconds)
{
    return seconds < 0.1 ? QStringLiteral("%1 ms").arg(seconds * 1e3, 0, 'f', 1)
                         : QStringLiteral("%1 s").arg(seconds, 0, 'f', 3);
}

QString Ratio(double seconds, double reference)
{
    return Figure(seconds) + QStringLiteral(" (%1x)").arg(seconds / reference, 0, 'f', 2);
}

// Replace all in a freshly loaded copy each time, best of three; sed -i on
// a fresh copy of the same file each time. Checks that both agree.
void ReplaceAllAgainstSed(const QString &label, const QString &path, EditorHost &host, const QString &goal)
{
    double replace = 1e30;
    qint64 count = 0;
    for (int run = 0; run < 3; ++run) {
        Require(host.sci.LoadFile(path));
        replace = std::min(replace, Seconds([&] { count = host.sci.ReplaceAll(Word, Replacement, vbTrue, vbFalse, vbFalse, vbFalse); }));
    }
    const QByteArray ours = host.sci.GetText();

    const QString copy = path + QStringLiteral(".sed");
    double sed = 1e30;
    for (int run = 0; run < 3; ++run) {
        QFile::remove(copy);
        QFile::copy(path, copy);
        sed = std::min(sed, Run(QStringLiteral("sed"), {QStringLiteral("-i"), QStringLiteral("s/total/sum_of_all/g"), copy}));
    }
    QFile sedFile(copy);
    sedFile.open(QIODevice::ReadOnly);
    const bool same = sedFile.readAll() == ours;

    Report(label + QStringLiteral(": sed -i"), Figure(sed));
    Report(label + QStringLiteral(": ReplaceAll, %1 matches").arg(count), Ratio(replace, sed),
           goal + (same ? QStringLiteral("; text as sed's") : QStringLiteral("; TEXT DIFFERS FROM SED'S")));

    // The same, each match replaced on its own (what a contracted fold
    // makes ReplaceAll do).
    Require(host.sci.LoadFile(path));
    host.sci.SendEditor(Sci::SCI_SETFOLDLEVEL, 0, Sci::SC_FOLDLEVELBASE | Sci::SC_FOLDLEVELHEADERFLAG);
    host.sci.SendEditor(Sci::SCI_SETFOLDEXPANDED, 0, 0);
    const double alone = Seconds([&] { host.sci.ReplaceAll(Word, Replacement, vbTrue, vbFalse, vbFalse, vbFalse); });
    Report(label + QStringLiteral(": ReplaceAll, each match on its own"), Ratio(alone, sed), QStringLiteral("linear"));
}

// The component's own search of the whole document.
double ComponentSearch(clsScintilla &sci, const QByteArray &text, long flags)
{
    EditorWindow *editor = sci.Editor();
    return BestOf(3, [&] {
        editor->SendScintilla(Sci::SCI_SETSEARCHFLAGS, flags);
        editor->SendScintilla(Sci::SCI_SETTARGETSTART, 0L);
        editor->SendScintilla(Sci::SCI_SETTARGETEND, editor->SendScintilla(Sci::SCI_GETLENGTH));
        editor->SendScintilla(Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(text.size()), text.constData());
    });
}

double FindFromTop(clsScintilla &sci, const QString &text, int caseSensitive, int regExp)
{
    return BestOf(3, [&] {
        sci.SetSel(0, 0);
        sci.FindText(text, vbFalse, vbFalse, vbFalse, caseSensitive, vbFalse, vbFalse, regExp);
    });
}

void AbsentWordSearches(const QString &path, EditorHost &host)
{
    Require(host.sci.LoadFile(path));
    const QString absent = QStringLiteral("totally_absent_word");
    const QString pattern = QStringLiteral("tot[0-9]+ally");

    const double grep = Run(QStringLiteral("grep"), {QStringLiteral("-c"), absent, path});
    const double grepCase = Run(QStringLiteral("grep"), {QStringLiteral("-ci"), absent, path});
    const double grepRegex = Run(QStringLiteral("grep"), {QStringLiteral("-cE"), pattern, path});

    const double exact = FindFromTop(host.sci, absent, vbTrue, vbFalse);
    const double exactOwn = ComponentSearch(host.sci, absent.toUtf8(), Sci::SCFIND_MATCHCASE);
    Report(QStringLiteral("absent word in 100 MB, case-sensitive: grep -c"), Figure(grep));
    Report(QStringLiteral("  the component's own search"), Figure(exactOwn));
    Report(QStringLiteral("  FindText"), Figure(exact), QStringLiteral("goal < 0.5 s"));

    const double folded = FindFromTop(host.sci, absent, vbFalse, vbFalse);
    const double foldedOwn = ComponentSearch(host.sci, absent.toUtf8(), 0);
    Report(QStringLiteral("absent word in 100 MB, case ignored: grep -ci"), Figure(grepCase));
    Report(QStringLiteral("  the component's own search"), Figure(foldedOwn));
    Report(QStringLiteral("  FindText"), Ratio(folded, foldedOwn), QStringLiteral("goal <= 1.2x the component's"));

    const double regex = FindFromTop(host.sci, pattern, vbTrue, vbTrue);
    const double regexOwn = ComponentSearch(host.sci, pattern.toUtf8(), Sci::SCFIND_MATCHCASE | Sci::SCFIND_REGEXP);
    Report(QStringLiteral("absent pattern in 100 MB, regular expression: grep -cE"), Figure(grepRegex));
    Report(QStringLiteral("  the component's own search"), Figure(regexOwn));
    Report(QStringLiteral("  FindText"), Ratio(regex, regexOwn), QStringLiteral("goal <= 1.2x the component's"));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    const QByteArray big = CppLikeText(100 * MB);
    const QString bigPath = WriteFile(dir.filePath(QStringLiteral("doc100.cpp")), big);
    Report(QStringLiteral("matches of \"total\" in the 100 MB text"), QString::number(big.count("total")));
    const QByteArray small = CppLikeText(2 * MB);
    const QString smallPath = WriteFile(dir.filePath(QStringLiteral("doc2.cpp")), small);
    Report(QStringLiteral("matches of \"total\" in the 2 MB text"), QString::number(small.count("total")));

    EditorHost host;
    ReplaceAllAgainstSed(QStringLiteral("replace all in 2 MB"), smallPath, host, QStringLiteral("linear"));
    ReplaceAllAgainstSed(QStringLiteral("replace all in 100 MB"), bigPath, host, QStringLiteral("goal <= 2x sed -i"));
    AbsentWordSearches(bigPath, host);
    return 0;
}
