// Figures for the highlighters: loading the table at start-up against just
// reading the same files, and applying a highlighter against the lexer's own
// work on the same text. Every comparison is made within one run.
#include "editor/EditorWindow.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using Sci = QsciScintillaBase;

namespace {

// Median and best of several runs, in milliseconds.
struct Timing
{
    double median;
    double best;
};

Timing Measure(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

QByteArray Words(const char *stem, int count)
{
    QByteArray words;
    for (int i = 0; i < count; ++i)
        words += stem + QByteArray::number(i) + ' ';
    return words.trimmed();
}

// A language file of the size the shipped ones have: four keyword lists and
// forty-odd styles with descriptions.
QByteArray ChlText(int index)
{
    QByteArray text = "; generated for the benchmark\r\n[data]\r\nLangName=Lang" + QByteArray::number(index)
                      + "\r\nLanguage=3\r\nFilter=Lang" + QByteArray::number(index) + " (*.l" + QByteArray::number(index)
                      + ")|*.l" + QByteArray::number(index) + "\r\nSingleComment=//\r\n";
    text += "Keywords[0]=" + Words("kw", 120) + "\r\nKeywords[1]=" + Words("type", 80) + "\r\nKeywords[2]="
            + Words("doc", 40) + "\r\nKeywords[3]=" + Words("glob", 60) + "\r\n";
    text += "Style[32]=:::V:C:::Courier New:10:0:16777215:Default:\r\n";
    for (int n = 0; n < 40; ++n)
        text += "Style[" + QByteArray::number(n) + "]=" + (n % 3 ? "" : "B") + ":" + (n % 5 ? "" : "I")
                + "::V:C:::Courier New:10:" + QByteArray::number(n * 40503 % 16777215) + ":16777215:Style "
                + QByteArray::number(n) + ":\r\n";
    return text;
}

void WriteChlFiles(const QString &dir, int count)
{
    for (int i = 0; i < count; ++i) {
        QFile file(QDir(dir).filePath(QStringLiteral("lang%1.CHL").arg(i, 3, 10, QLatin1Char('0'))));
        file.open(QIODevice::WriteOnly);
        file.write(ChlText(i));
    }
}

// The least any loader must do: read each file and cut it into lines.
void ReadAndSplit(const QString &dir)
{
    const QDir d(dir);
    qsizetype lines = 0;
    for (const QString &name : d.entryList({QStringLiteral("*.CHL")}, QDir::Files)) {
        QFile file(d.filePath(name));
        file.open(QIODevice::ReadOnly);
        lines += QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')).size();
    }
    if (lines < 0)
        std::puts("");
}

void BenchLoading()
{
    for (int count : {20, 200}) {
        QTemporaryDir dir;
        WriteChlFiles(dir.path(), count);
        const Timing load = Measure(
            25, [] { ResetHighlighterTable(); }, [&] { LoadHighlighters(dir.path()); });
        const Timing read = Measure(25, [] {}, [&] { ReadAndSplit(dir.path()); });
        std::printf("LoadHighlighters, %3d files: %7.2f ms (best %6.2f), %6.1f us a file; "
                    "read and split lines: %6.2f ms, %6.1f us a file; ratio %.1fx\n",
                    count, load.median, load.best, load.median * 1000 / count, read.median,
                    read.median * 1000 / count, load.median / read.median);
    }
}

QByteArray CppLikeText(qsizetype bytes)
{
    const QByteArray unit = "#include <vector>\n"
                            "// sums the values: 求和\n"
                            "static int Sum(const std::vector<int> &values)\n"
                            "{\n"
                            "    int total = 0; /* running total */\n"
                            "    for (int v : values)\n"
                            "        total += v * 0x10 + 'a';\n"
                            "    return total; // \"done\"\n"
                            "}\n\n";
    QByteArray text;
    text.reserve(bytes + unit.size());
    while (text.size() < bytes)
        text += unit;
    return text;
}

void BenchApplying()
{
    QTemporaryDir dir;
    {
        QFile file(dir.filePath(QStringLiteral("CPP.CHL")));
        file.open(QIODevice::WriteOnly);
        file.write(ChlText(0).replace("LangName=Lang0", "LangName=CPP").replace("Keywords[0]=",
                                                                              "Keywords[0]=int return for static const "));
    }
    ResetHighlighterTable();
    LoadHighlighters(dir.path());

    QWidget host;
    host.resize(800, 600);
    clsScintilla sci;
    sci.CreateScintilla(&host, vbFalse, nullptr);
    const Timing empty = Measure(500, [] {}, [&] { ApplyHighlighter(sci, QStringLiteral("CPP")); });
    std::printf("ApplyHighlighter, empty document: %.3f ms (best %.3f)\n", empty.median, empty.best);

    const QByteArray text = CppLikeText(100 * 1024 * 1024);
    EditorWindow *editor = sci.Editor();
    editor->BeginBulkOperation();
    editor->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0UL);
    editor->SendScintilla(Sci::SCI_SETTEXT, 0UL, text.constData());
    editor->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
    editor->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 1UL);
    editor->EndBulkOperation();
    const long length = editor->SendScintilla(Sci::SCI_GETLENGTH);

    // The lexer alone, set up exactly as the highlighter leaves it: once with
    // the lexer object that styled the text before (warm), once with one
    // just selected, as every ApplyHighlighter has (ApplyHighlighter goes
    // through lexer 0 first).
    ApplyHighlighter(sci, QStringLiteral("CPP"));
    auto colourise = [&] { editor->SendScintilla(Sci::SCI_COLOURISE, 0UL, length); };
    auto freshLexer = [&] {
        sci.SetLexer(0);
        sci.SetLexer(HighlighterTable[0].Lexer);
    };
    std::vector<double> warm, fresh, applied;
    for (int round = 0; round < 3; ++round) {
        warm.push_back(Measure(1, [] {}, colourise).median);
        fresh.push_back(Measure(1, freshLexer, colourise).median);
        applied.push_back(Measure(1, [] {}, [&] { ApplyHighlighter(sci, QStringLiteral("CPP")); }).median);
    }
    for (auto *times : {&warm, &fresh, &applied})
        std::sort(times->begin(), times->end());
    // The last line comment of the text must carry the comment style (2).
    const auto lastComment = static_cast<unsigned long>(text.lastIndexOf("//"));
    const bool styled = editor->SendScintilla(Sci::SCI_GETENDSTYLED) == length
                        && editor->SendScintilla(Sci::SCI_GETSTYLEAT, lastComment) == 2;
    std::printf("100 MB C++ document (%ld bytes, styled to the end: %s), 3 rounds each:\n", length,
                styled ? "yes" : "NO");
    std::printf("  bare SCI_COLOURISE, warm lexer:  median %.0f ms, best %.0f ms (%.1f MB/s)\n", warm[1], warm[0],
                length / 1048576.0 / (warm[1] / 1000));
    std::printf("  bare SCI_COLOURISE, fresh lexer: median %.0f ms, best %.0f ms\n", fresh[1], fresh[0]);
    std::printf("  ApplyHighlighter:                median %.0f ms, best %.0f ms\n", applied[1], applied[0]);
    std::printf("  ratio to warm:  %.3fx (medians), %.3fx (best)\n", applied[1] / warm[1], applied[0] / warm[0]);
    std::printf("  ratio to fresh: %.3fx (medians), %.3fx (best)\n", applied[1] / fresh[1], applied[0] / fresh[0]);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchLoading();
    BenchApplying();
    return 0;
}
