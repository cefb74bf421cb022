#include "DialogFilter.h"

#include <QRegularExpression>

namespace {

// The description without a trailing "(...)" of its own: the patterns are
// shown from the pattern half, so they are never listed twice.
QString BareDescription(const QString &description)
{
    static const QRegularExpression trailingGroup(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString bare = description;
    bare.remove(trailingGroup);
    return bare.trimmed().isEmpty() ? description.trimmed() : bare.trimmed();
}

QString QtPatterns(const QString &patterns)
{
    QStringList list;
    for (QString pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        if (!pattern.isEmpty())
            list << pattern;
    }
    return list.join(QLatin1Char(' '));
}

} // namespace

QStringList DialogFilter::ToQtFilters(const QString &pairs)
{
    const QStringList fields = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < fields.size(); i += 2) {
        const QString patterns = QtPatterns(fields[i + 1]);
        if (patterns.isEmpty())
            continue;
        filters << BareDescription(fields[i]) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}
