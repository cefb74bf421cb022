#pragma once

// How gtest shows Qt's strings in a failure: as text, not as a row of
// "2-byte object"s. Every test source gets this header first (the test
// support's compile options), so all of them print alike.
#include <QByteArray>
#include <QString>
#include <ostream>

// Bytes as a C string: printable ASCII as it is, UTF-8 characters as text
// when the bytes are valid UTF-8, everything else escaped.
inline void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    const bool utf8 = QString::fromUtf8(bytes).toUtf8() == bytes;
    *out << '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            *out << '\\' << c;
        else if (c == '\n')
            *out << "\\n";
        else if (c == '\r')
            *out << "\\r";
        else if (c == '\t')
            *out << "\\t";
        else if (byte >= 0x20 && byte < 0x7F)
            *out << c;
        else if (byte >= 0x80 && utf8)
            *out << c;
        else
            *out << "\\x" << "0123456789ABCDEF"[byte >> 4] << "0123456789ABCDEF"[byte & 15];
    }
    *out << '"';
}

inline void PrintTo(const QString &text, std::ostream *out)
{
    PrintTo(text.toUtf8(), out);
}
