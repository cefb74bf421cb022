// Writes the program's .desktop file from its template: @MIME_TYPES@ becomes
// the media types of every pattern of the shipped languages' filters, so the
// desktop offers the program for exactly the files it colours.
//
//   make_desktop_entry <template> <output> <highlighters folder> <desktop id>
#include "highlight/HighlighterFile.h"
#include "highlight/modHighlighter.h"

#include <QCoreApplication>
#include <QFile>
#include <QMimeDatabase>
#include <QSet>
#include <cstdio>

namespace {

// The media type of the files a pattern stands for ("*.cpp", "Makefile",
// "*.htm*"); nothing for one that stands for any file, for files that are
// not text, or for pictures kept as text (SVG): a desktop should offer a
// picture viewer for those first, not an editor.
QString MediaType(const QMimeDatabase &types, const QString &pattern)
{
    QString example = pattern;
    example.replace(QLatin1Char('*'), QStringLiteral("x")).replace(QLatin1Char('?'), QStringLiteral("x"));
    const QMimeType type = types.mimeTypeForFile(example, QMimeDatabase::MatchExtension);
    if (type.isDefault() || !type.inherits(QStringLiteral("text/plain"))
        || type.name().startsWith(QLatin1String("image/")))
        return QString();
    return type.name();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: make_desktop_entry <template> <output> <highlighters folder> <desktop id>\n");
        return 2;
    }
    QFile in(args[1]);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QMimeDatabase types;
    QStringList found{QStringLiteral("text/plain")};
    for (const QString &path : HighlighterFiles({args[3]}))
        for (const QString &pattern : FilterPatterns(HighlighterFile::ReadFile(path).Filter))
            if (const QString type = MediaType(types, pattern); !type.isEmpty() && !found.contains(type))
                found.append(type);
    std::sort(found.begin() + 1, found.end());

    QString text = QString::fromUtf8(in.readAll());
    text.replace(QStringLiteral("@MIME_TYPES@"), found.join(QLatin1Char(';')) + QLatin1Char(';'));
    text.replace(QStringLiteral("@DESKTOP_ID@"), args[4]);
    QFile out(args[2]);
    if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
