#pragma once

#include "platform/FileIdentity.h"
#include "editor/TextEncoding.h"

#include <QByteArray>
#include <QList>
#include <QString>

// One match, where the editor would find it: byte positions in the text the
// editor holds for the file (its UTF-8), and the line as the results show it.
struct LineHit
{
    qint64 line = 0;  // counted from 0, as the editor counts
    qint64 start = 0; // the match's bytes in the document
    qint64 end = 0;
    QByteArray matched; // those bytes, to know them again before a change
    QString text;       // the line without its indentation; part of it around the match when long
    int highlightFrom = 0;   // the match in text, in QString units
    int highlightLength = 0;
    bool chosen = true; // to be replaced, as the preview's check box says
};

// Every match in one file.
struct FileHits
{
    QString path;
    qint64 order = 0;       // where the walk met the file: the results keep that order
    TextEncoding encoding;  // as it was read
    bool fromEditor = false; // the text of an open document, not the file
    FileIdentity stamp;     // the file as it was read
    QList<LineHit> hits;
};

// A file or folder that could not be searched, and why.
struct FileProblem
{
    QString path;
    QString reason;
};
