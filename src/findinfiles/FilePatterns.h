#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Which file names a search reads: patterns as a file dialog's filter has
// them ("*.c;*.h"), separated by ";" (or "," or blanks), with "*" and "?" as
// wildcards and the case of letters ignored. "*.*", like "*", takes every
// file, names without a dot included; so does an empty list.
class FilePatterns
{
public:
    explicit FilePatterns(const QString &patterns = QString());

    bool Matches(const QString &fileName) const;
    bool TakesEverything() const { return m_everything; }
    // The patterns, one ";" between each.
    QString Text() const { return m_patterns.join(QLatin1Char(';')); }

    // The pattern halves of a language's filter ("描述|*.c;*.h|描述|*.hpp|"),
    // joined into one list; duplicates left out.
    static QString FromDialogFilter(const QString &filter);

private:
    QStringList m_patterns;
    bool m_everything = false;
    QRegularExpression m_names;
};
