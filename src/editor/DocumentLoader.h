#pragma once

#include "FileIoResult.h"
#include "TextEncoding.h"

#include <QtGlobal>
#include <algorithm>
#include <functional>
#include <limits>

class QFile;

// Reads a file into an editor, deciding how its bytes become text. The file
// is read in chunks, with the interface getting a turn after each; text is
// handed over a slice at a time, so nothing but the editor ever holds the
// whole document.
class DocumentLoader
{
public:
    // What the loader fills: the loading editor.
    struct Target
    {
        std::function<void(qint64 bytes)> reserve;
        std::function<void()> clear;
        std::function<void(const char *data, qsizetype length)> append;
        std::function<void()> breathe; // let the interface run
        qint64 largest = std::numeric_limits<qint64>::max(); // the longest text it can hold
    };

    // The file is read this much at a time: large enough that a big file
    // costs few turns of the interface.
    static constexpr qint64 DefaultChunkSize = 10000001;

    DocumentLoader(QFile &file, qint64 size, Target target);

    // Smaller chunks put more chunk edges inside characters (for the fuzzer).
    void SetChunkSize(qint64 bytes) { m_chunkSize = std::max<qint64>(1, bytes); }

    // Why a file could not be read, in words a user can read.
    static QString ReadFailure(const QFile &file);

    // Decides as opening a file does: a byte-order mark, then strict UTF-8,
    // GB18030, Big5, each only when its text would be written back as the
    // very same bytes; otherwise the bytes go in unchanged (Raw).
    FileIoResult LoadDetected();
    // Reads the file as this encoding (a mark of its own is honoured) only
    // when all of it is valid; otherwise the target is left untouched.
    FileIoResult LoadAs(TextEncoding encoding);

    // The encoding the text was read as.
    TextEncoding Decided() const { return m_decided; }
    // Whether the target's text was replaced (even partly, by a failed read).
    bool Touched() const { return m_touched; }

private:
    enum class Pass { Done, Invalid, Failed };

    FileIoResult Finish(Pass pass, const TextEncoding &encoding);
    Pass LoadUtf8(const TextEncoding &encoding);
    Pass Measure(const TextEncoding &encoding, qint64 &utf8Length);
    Pass LoadDecoded(const TextEncoding &encoding, qint64 utf8Length);
    Pass Decode(const TextEncoding &encoding, bool load, qint64 &written);
    Pass LoadRaw(qint64 from);
    void Clear();
    QByteArray Head();

    QFile &m_file;
    qint64 m_size;
    qint64 m_chunkSize = DefaultChunkSize;
    Target m_target;
    TextEncoding m_decided{TextEncoding::Raw};
    bool m_touched = false;
    // How many bytes at the start of the file the target holds unchanged,
    // when a UTF-8 pass gave up part way (a raw load goes on from there).
    qint64 m_rawPrefix = 0;
    FileIoResult m_failure;
};
