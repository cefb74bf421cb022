#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstring>

class SafeFileWriter;

// The text of an exported page body on its way to the file. Pieces are
// copied into place; the hot loop asks for room once per block of input
// (Reserve) and then writes through the returned cursor without further
// checks.
class HtmlOutputBuffer
{
public:
    void AppendOutput(const char *piece, std::size_t length)
    {
        char *cursor = Reserve(length);
        std::memcpy(cursor, piece, length);
        Commit(cursor + length);
    }

    // Room for at least `length` more bytes; answers where they go.
    char *Reserve(std::size_t length);
    // Everything up to `end` (a cursor inside the reserved room) is used.
    void Commit(const char *end) { m_used = std::size_t(end - m_data.constData()); }

    std::size_t Used() const { return m_used; }
    // Writes the used text to the file and empties the buffer, keeping its
    // room for the next block; false once the file failed.
    bool WriteTo(SafeFileWriter &file);

private:
    QByteArray m_data;
    std::size_t m_used = 0;
};
