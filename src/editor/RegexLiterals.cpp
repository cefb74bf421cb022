#include "RegexLiterals.h"

#include <optional>

namespace {

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

bool IsRepeat(char c)
{
    return c == '*' || c == '+' || c == '?';
}

// One piece of a pattern as the component compiles it.
struct Piece
{
    enum Kind { Literal, Character, Empty, Invalid } kind = Invalid;
    char byte = 0;     // a Literal's byte
    qsizetype next = 0; // where the next piece starts
    bool repeatable = true; // a "*" after it is allowed (the empty pieces and back references refuse one)
};

// Skips a set "[...]" that starts at `at`: its first "]" (or "-" then "]")
// belongs to it, escapes take their characters along.
std::optional<qsizetype> SetEnd(const QByteArray &p, qsizetype at)
{
    const qsizetype n = p.size();
    qsizetype i = at + 1;
    if (i < n && p[i] == '^')
        ++i;
    if (i < n && p[i] == '-')
        ++i;
    if (i < n && p[i] == ']')
        ++i;
    while (i < n && p[i] != ']') {
        if (p[i] == '\\' && i + 1 < n)
            i += (p[i + 1] == 'x' && i + 3 < n && IsHexDigit(p[i + 2]) && IsHexDigit(p[i + 3])) ? 4 : 2;
        else
            ++i;
    }
    if (i >= n)
        return std::nullopt; // "Missing ]": the component refuses the pattern
    return i + 1;
}

Piece Escape(const QByteArray &p, qsizetype at)
{
    const qsizetype n = p.size();
    if (at + 1 >= n)
        return {Piece::Literal, '\\', at + 1}; // a backslash at the end stands for itself
    const char c = p[at + 1];
    switch (c) {
    case '(':
    case ')':
    case '<':
    case '>':
        return {Piece::Empty, 0, at + 2, false};
    case 'd':
    case 'D':
    case 's':
    case 'S':
    case 'w':
    case 'W':
        return {Piece::Character, 0, at + 2};
    case 'a':
        return {Piece::Literal, '\a', at + 2};
    case 'b':
        return {Piece::Literal, '\b', at + 2};
    case 'f':
        return {Piece::Literal, '\f', at + 2};
    case 'n':
        return {Piece::Literal, '\n', at + 2};
    case 'r':
        return {Piece::Literal, '\r', at + 2};
    case 't':
        return {Piece::Literal, '\t', at + 2};
    case 'v':
        return {Piece::Literal, '\v', at + 2};
    case 'x':
        if (at + 3 < n && IsHexDigit(p[at + 2]) && IsHexDigit(p[at + 3]))
            return {Piece::Literal, char(HexValue(p[at + 2]) * 16 + HexValue(p[at + 3])), at + 4};
        return {Piece::Literal, 'x', at + 2};
    default:
        if (c >= '1' && c <= '9')
            return {Piece::Character, 0, at + 2, false}; // a back reference: any length
        return {Piece::Literal, c, at + 2};
    }
}

Piece PieceAt(const QByteArray &p, qsizetype at)
{
    const char c = p[at];
    switch (c) {
    case '.':
        return {Piece::Character, 0, at + 1};
    case '[':
        if (const std::optional<qsizetype> end = SetEnd(p, at))
            return {Piece::Character, 0, *end};
        return {};
    case '\\':
        return Escape(p, at);
    case '^':
        if (at == 0)
            return {Piece::Empty, 0, 1, false};
        return {Piece::Literal, c, at + 1};
    case '$':
        if (at == p.size() - 1)
            return {Piece::Empty, 0, at + 1, false};
        return {Piece::Literal, c, at + 1};
    default:
        if (IsRepeat(c))
            return {}; // a repeat with nothing before it to repeat
        return {Piece::Literal, c, at + 1};
    }
}

} // namespace

QList<QByteArray> RegexLiterals::Required(const QByteArray &pattern)
{
    QList<QByteArray> runs;
    if (pattern.contains('\0')) // the component reads the pattern up to its first zero byte
        return runs;
    QByteArray run;
    auto endRun = [&] {
        if (!run.isEmpty())
            runs.append(run);
        run.clear();
    };
    qsizetype at = 0;
    while (at < pattern.size()) {
        const Piece piece = PieceAt(pattern, at);
        if (piece.kind == Piece::Invalid)
            return {};
        at = piece.next;
        qsizetype repeats = 0;
        while (at + repeats < pattern.size() && IsRepeat(pattern[at + repeats]))
            ++repeats;
        if (repeats > 0 && !piece.repeatable)
            return {}; // the component refuses a repeated group mark, anchor or back reference
        const bool oneOrMore = repeats == 1 ? pattern[at] == '+'
                                            : repeats == 2 && pattern[at] == '+' && pattern[at + 1] == '?';
        at += repeats;
        if (piece.kind == Piece::Empty)
            continue;
        if (piece.kind == Piece::Literal && (repeats == 0 || oneOrMore))
            run.append(piece.byte);
        if (piece.kind == Piece::Character || repeats > 0)
            endRun();
    }
    endRun();
    return runs;
}
