#include "FilePatterns.h"

namespace {

QStringList Split(const QString &patterns)
{
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    return patterns.split(separators, Qt::SkipEmptyParts);
}

} // namespace

FilePatterns::FilePatterns(const QString &patterns)
    : m_patterns(Split(patterns))
{
    QStringList alternatives;
    for (const QString &pattern : std::as_const(m_patterns)) {
        if (pattern == QLatin1String("*") || pattern == QLatin1String("*.*"))
            m_everything = true;
        alternatives << QRegularExpression::wildcardToRegularExpression(pattern);
    }
    m_everything = m_everything || m_patterns.isEmpty();
    if (!m_everything)
        m_names = QRegularExpression(alternatives.join(QLatin1Char('|')), QRegularExpression::CaseInsensitiveOption);
}

bool FilePatterns::Matches(const QString &fileName) const
{
    return m_everything || m_names.match(fileName).hasMatch();
}

QString FilePatterns::FromDialogFilter(const QString &filter)
{
    QStringList patterns;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 1; i < parts.size(); i += 2)
        for (const QString &pattern : Split(parts[i]))
            if (!patterns.contains(pattern))
                patterns << pattern;
    return patterns.join(QLatin1Char(';'));
}
