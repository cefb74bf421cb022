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
        // Asked before each chunk is read; true gives up the load (a search
        // that was stopped, a file found to be no text).
        std::function<bool()> stopped;
        qint64 largest = std::numeric_limits<qint64>::max(); // the longest text it can hold
    };

    // How the file is cut up: the read chunks (the interface runs between
    // them), the slices decoded at once, and the samples detection judges.
    // Tests and fuzzing make them small to reach every boundary.
    struct Sizes
    {
        qint64 readChunk = 10000001;
        qsizetype decodeSlice = 1 << 20;
        qsizetype sample = 64 * 1024;
    };

    DocumentLoader(QFile &file, qint64 size, Target target);
    DocumentLoader(QFile &file, qint64 size, Target target, Sizes sizes);

    // Why a file could not be read, in words a user can read.
    static QString ReadFailure(const QFile &file);

    // Decides as opening a file does: a byte-order mark; UTF-32 or UTF-16 by
    // the zero bytes of the file's start; strict UTF-8; the multi-byte
    // legacy encodings, likeliest first by the text they give for the first
    // 64 KiB of words with bytes from 0x80 up; Windows-1252 for what looks
    // like text; each only when all of the file is valid and would be
    // written back as the very same bytes. Otherwise the bytes go in
    // unchanged (Raw).
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

    // NUL bytes make a file no text of the fallback encoding.
    enum class Nul { Allowed, Refused };

    FileIoResult Finish(Pass pass, const TextEncoding &encoding);
    Pass Load(const TextEncoding &encoding, Nul nul = Nul::Allowed);
    Pass LoadUtf8(const TextEncoding &encoding);
    Pass Measure(const TextEncoding &encoding, qint64 &utf8Length, Nul nul = Nul::Allowed);
    Pass Estimate(const TextEncoding &encoding, qint64 &utf8Length, Nul nul);
    Pass LoadDecoded(const TextEncoding &encoding, qint64 room, Nul nul = Nul::Allowed);
    Pass Decode(const TextEncoding &encoding, bool load, qint64 &written, Nul nul, qint64 upTo = -1);
    Pass LoadRaw(qint64 from);
    Pass CollectWords(QByteArray &words);
    void Clear();
    QByteArray Head(qint64 length);

    QFile &m_file;
    qint64 m_size;
    Target m_target;
    Sizes m_sizes;
    TextEncoding m_decided{TextEncoding::Raw};
    bool m_touched = false;
    // How many bytes at the start of the file the target holds unchanged,
    // when a UTF-8 pass gave up part way (a raw load goes on from there).
    qint64 m_rawPrefix = 0;
    FileIoResult m_failure;
};
