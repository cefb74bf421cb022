#pragma once

#include <QByteArray>
#include <QList>

// The runs of plain bytes that every match of a regular expression must
// hold, read in the component's own syntax (groups as \( \), no
// alternation). A run is a sequence of literal characters and escapes
// (\t, \x41, \., ...); it ends at ".", a set "[...]", a class such as \d, a
// back reference, and wherever a "*", "?" or "+" makes repeats optional.
// The groups and the anchors ^, $, \< and \> take no characters, so the
// literal characters on both sides of them stay one run.
class RegexLiterals
{
public:
    // Empty when the pattern has no run, or holds something this reading
    // does not follow exactly (a set with escapes in it, a misplaced
    // repeat): such a pattern is left wholly to the component.
    static QList<QByteArray> Required(const QByteArray &pattern);
};
