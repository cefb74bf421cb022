#pragma once

#include <QString>

// What to look for: the text and how it matches.
struct TextQuery
{
    QString text;
    bool matchCase = false;
    bool wholeWord = false;
    bool regularExpression = false;
};

// One search of a folder, as the find-in-files dialog fills it in.
struct FindInFilesRequest
{
    TextQuery query;
    QString folder;
    QString patterns;       // "*.c;*.h", as a file dialog's filter has them
    bool subfolders = true;
    bool replace = false;   // replace what is found, after a preview
    QString replacement;    // inserted as written, as the replace dialog does
};
