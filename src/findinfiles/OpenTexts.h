#pragma once

#include "editor/TextEncoding.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// The text of a document open in a window, copied on the interface thread
// before a search starts: the search reads it instead of the file.
struct OpenText
{
    QByteArray utf8;
    TextEncoding encoding;
};

// By the file's canonical path.
using OpenTexts = QHash<QString, OpenText>;
