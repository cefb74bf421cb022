#pragma once

#include <QString>
#include <QtGlobal>

// How long a text one editor can take on. The component's large-text
// document counts positions in 64 bits, so what binds is memory: it takes
// up to about four and a half bytes for every byte of text (the text, a style byte for
// each, the line index, the undo history), and a text that the memory
// available now cannot hold is refused before it is read, not half-way with
// the program out of memory.
class DocumentCapacity
{
public:
    // Bytes the system could give the program now; -1 when it does not say.
    static qint64 AvailableMemory();
    // The longest text to take on now.
    static qint64 Largest();
    // Why a file of `size` bytes is not opened when `largest` is the limit.
    static QString TooLarge(qint64 size, qint64 largest);
};
