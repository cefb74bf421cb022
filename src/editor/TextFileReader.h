#pragma once

#include "FileIoResult.h"
#include "TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>
#include <limits>

class QFile;

// Reads a file as opening it in an editor does: the same checks, and the
// same decision about its encoding (DocumentLoader), without an editor. Find
// in files reads every file of a folder through here, so a GB18030 or Big5
// source is searched as the text the editor would show.
class TextFileReader
{
public:
    // The longest text read whole for find in files (an editor's limit is
    // DocumentCapacity's).
    static constexpr qint64 LargestText = std::numeric_limits<std::int32_t>::max() - 1;

    // Opens a regular file of at most `largest` bytes; otherwise says why
    // not (Missing when there is nothing of that name).
    static FileIoResult Open(const QString &path, QFile &file, qint64 largest = LargestText);

    // Where the text goes as it is decided, a piece at a time. `restart`
    // voids what was handed on so far (the first encoding tried was not
    // valid for all of the file); `stopped` is asked before every chunk read
    // and gives up the read when it answers true.
    struct Sink
    {
        std::function<void()> restart;
        std::function<void(QByteArrayView utf8)> append;
        std::function<bool()> stopped;
    };
    struct Outcome
    {
        FileIoResult result;
        TextEncoding encoding{TextEncoding::Raw};
    };
    static Outcome Stream(const QString &path, const Sink &sink);

    struct Text
    {
        FileIoResult result;
        TextEncoding encoding{TextEncoding::Raw};
        QByteArray utf8;
    };
    // The whole text at once.
    static Text ReadAll(const QString &path);
};
