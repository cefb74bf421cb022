#pragma once

#include "FileIoResult.h"
#include "TextEncoding.h"

#include <QByteArrayView>
#include <QString>

class LongOperation;

// Writes UTF-8 text to a file in an encoding, as saving a document does:
// every character is checked against the encoding before anything is
// written, the mark goes first where the encoding has one, and the bytes go
// through SafeFileWriter, so a failed write leaves the old file whole. The
// document save and replace in files both write through here. Given a long
// operation (the interface thread only), encoding advances its progress by
// the text's bytes and stops when the user asks: then the result is Stopped
// and the old file is as it was.
class TextFileWriter
{
public:
    // Why the file cannot be written at all: a folder of that name, a file
    // the user made read-only.
    static FileIoResult CheckTarget(const QString &path);

    // Unencodable with the first character the encoding cannot hold (its
    // line, counted from 1, in the reason), or Success.
    static FileIoResult CheckEncodable(QByteArrayView utf8, const TextEncoding &encoding,
                                       LongOperation *operation = nullptr);

    static FileIoResult Write(const QString &path, QByteArrayView utf8, const TextEncoding &encoding,
                              LongOperation *operation = nullptr);
};
