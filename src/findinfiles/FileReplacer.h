#pragma once

#include "FileHits.h"
#include "editor/FileIoResult.h"

#include <QByteArray>
#include <QList>

// Puts the replacement in place of chosen hits: in a text (an open
// document's, or a file's) and in a file on disk. A hit is replaced only
// where its bytes still stand, and a file only when it is the file that was
// searched: nothing is written over blindly.
class FileReplacer
{
public:
    // The chosen hits of a file.
    static QList<LineHit> Chosen(const FileHits &file);

    // Replaces the hits in utf8, last first so that the positions hold.
    // False, with nothing changed and the reason in why, when a hit's bytes
    // are no longer where they were found.
    static bool Splice(QByteArray &utf8, const QList<LineHit> &hits, const QByteArray &replacement, QString &why);

    // Reads the file again in its encoding, checks it is unchanged since the
    // search, replaces the hits and writes it through the save path (same
    // encoding, its line ends untouched).
    static FileIoResult ReplaceInFile(const FileHits &file, const QList<LineHit> &hits, const QString &replacement);
};
