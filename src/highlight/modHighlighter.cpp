#include "modHighlighter.h"

#include "DarkColourFile.h"
#include "HighlighterFile.h"
#include "ShownColours.h"
#include "editor/clsScintilla.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>
#include <QWidget>
#include <algorithm>
#include <limits>

std::vector<Highlighter> HighlighterTable;
std::int16_t HighlighterCount = 0;
std::int16_t CurrentHighlighter = 0;
QStringList HighlighterLookup;

namespace {

Q_LOGGING_CATEGORY(lcHighlight, "ferrolan.highlight")

// "*" and "?" as the file dialog knows them; both texts already case-folded.
bool GlobMatch(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool FilterMatches(const QString &filter, const QString &foldedName)
{
    for (const QString &pattern : FilterPatterns(filter))
        if (GlobMatch(pattern.toCaseFolded(), foldedName))
            return true;
    return false;
}

bool FileNameBefore(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

// A filter is description|patterns|description|patterns|...; only the
// pattern halves count, each a list split at ";".
QStringList FilterPatterns(const QString &filter)
{
    QStringList patterns;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 1; i < parts.size(); i += 2)
        for (const QString &pattern : parts[i].split(QLatin1Char(';')))
            if (const QString trimmed = pattern.trimmed(); !trimmed.isEmpty())
                patterns.append(trimmed);
    return patterns;
}

void ResetHighlighterTable()
{
    HighlighterTable.clear();
    HighlighterCount = 0;
    CurrentHighlighter = 0;
    HighlighterLookup.clear();
}

QStringList HighlighterFileNames(const QString &strDir)
{
    const QDir dir(strDir);
    QStringList names = dir.entryList({QStringLiteral("*.CHL")}, QDir::Files | QDir::Readable | QDir::Hidden,
                                      QDir::NoSort);
    // A link to a device or a pipe is no language file.
    names.removeIf([&](const QString &name) { return !QFileInfo(dir.filePath(name)).isFile(); });
    // The order of the table must not depend on the file system.
    std::sort(names.begin(), names.end(), FileNameBefore);
    return names;
}

QStringList HighlighterFiles(const QStringList &folders)
{
    QStringList paths;
    QSet<QString> taken; // case-folded file names
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QString &name : HighlighterFileNames(folder))
            if (!taken.contains(name.toCaseFolded())) {
                taken.insert(name.toCaseFolded());
                paths.append(dir.filePath(name));
            }
    }
    std::sort(paths.begin(), paths.end(), [](const QString &a, const QString &b) {
        return FileNameBefore(QFileInfo(a).fileName(), QFileInfo(b).fileName());
    });
    return paths;
}

void LoadHighlighterFolders(const QStringList &folders)
{
    HighlighterLookup = folders;
    const QStringList paths = HighlighterFiles(folders);
    HighlighterTable.reserve(HighlighterTable.size() + paths.size());
    for (const QString &path : paths)
        LoadHighlighter(path);
}

void LoadHighlighters(const QString &strDir)
{
    const QDir dir(strDir);
    const QStringList names = HighlighterFileNames(strDir);
    HighlighterTable.reserve(HighlighterTable.size() + names.size());
    for (const QString &name : names)
        LoadHighlighter(dir.filePath(name));
}

void LoadHighlighter(const QString &strPath)
{
    if (HighlighterCount == std::numeric_limits<std::int16_t>::max())
        return;
    HighlighterTable.push_back(HighlighterFile::ReadFile(strPath));
    // Where it came from: its API file lies beside it, and the settings
    // dialog writes it back there.
    HighlighterTable.back().FilePath = strPath;
    DarkColourFile::Attach(HighlighterTable.back(), HighlighterLookup);
    HighlighterCount = std::int16_t(HighlighterTable.size());
}

std::int16_t FindHighlighter(const QString &strName)
{
    const QString wanted = strName.toUpper();
    for (std::int16_t i = 0; i < HighlighterCount; ++i)
        if (HighlighterTable[i].LangName.toUpper() == wanted)
            return i;
    return 0;
}

QString HighlighterForFile(const QString &strFile)
{
    const QString name = strFile.mid(strFile.lastIndexOf(QLatin1Char('/')) + 1).toCaseFolded();
    QString found;
    for (std::int16_t i = 0; i < HighlighterCount; ++i)
        if (FilterMatches(HighlighterTable[i].Filter, name))
            found = HighlighterTable[i].LangName; // the last match wins
    return found;
}

void ApplyHighlighter(clsScintilla &sci, const QString &strName)
{
    if (HighlighterCount <= 0)
        return;
    const std::int16_t i = FindHighlighter(strName);
    const Highlighter &h = HighlighterTable[i];
    const ShownColours colours = ShownColours::Of(h);

    sci.StyleClearALL();
    sci.StartStyle();
    sci.lHighlighterNum = i;
    for (int n = 0; n < Highlighter::StyleCount; ++n) {
        sci.SetStyleBold(n, h.Bold[n]);
        sci.SetStyleItalic(n, h.Italic[n]);
        sci.SetStyleUnderline(n, h.Underline[n]);
        sci.SetStyleVisible(n, h.Visible[n]);
        if (!h.Font[n].isEmpty())
            sci.SetStyleFont(n, h.Font[n]);
        sci.SetStyleFore(n, colours.Fore[n]);
        sci.SetStyleBack(n, colours.Back[n]);
        sci.SetStyleSize(n, h.Size[n]);
        sci.SetStyleEOLFilled(n, h.EolFilled[n]);
    }
    // Lists left empty are not sent: the previous highlighter's stay.
    for (int k = 0; k < Highlighter::KeywordListCount; ++k)
        if (!h.Keywords[k].isEmpty())
            sci.SetKeywords(k, h.Keywords[k]);
    // The name asked for decides, not the entry found.
    sci.SetStyleBits(strName.toLower() == QLatin1String("html") ? 7 : 5);
    colours.ApplyEditorColours(sci);
    sci.SetLexer(h.Lexer);
    // A huge file shows at once: the rest is coloured between events.
    sci.ColouriseInBackground();
    CurrentHighlighter = i;
    LoadLanguageApi(sci, h);
    emit sci.HighlighterApplied();
}

// The language's call-tip signatures: the CHL file's name with ".api" beside
// it. A language without one gives an empty list, which is no error; a file
// that is there but cannot be read leaves call tips off and says why in the
// log (a language is applied at start-up too, which no message may hold up).
void LoadLanguageApi(clsScintilla &sci, const Highlighter &h)
{
    const QFileInfo chl(h.FilePath);
    if (h.FilePath.isEmpty()) {
        sci.ClearAPIList();
        return;
    }
    const QString name = chl.completeBaseName() + QStringLiteral(".api");
    QStringList folders = HighlighterLookup;
    folders.append(chl.path());
    QString path = QDir(chl.path()).filePath(name);
    for (const QString &folder : folders)
        if (QFileInfo::exists(QDir(folder).filePath(name))) {
            path = QDir(folder).filePath(name);
            break;
        }
    const FileIoResult loaded = sci.LoadAPIFile(path);
    if (!loaded.ok() && loaded.outcome != FileIoResult::NotFound)
        qCWarning(lcHighlight).noquote() << path << "-" << loaded.reason;
}

void ReapplyHighlighters(const QList<clsScintilla *> &editors)
{
    for (clsScintilla *sci : editors) {
        const long num = sci->lHighlighterNum;
        const QString name = (num >= 0 && num < HighlighterCount) ? HighlighterTable[num].LangName : QString();
        ApplyHighlighter(*sci, name);
    }
}
