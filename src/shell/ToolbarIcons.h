#pragma once

#include <QIcon>
#include <QString>

// The 16 x 16 toolbar images: the desktop's icon theme where it has the
// image, otherwise one drawn here, so no button is ever blank.
class ToolbarIcons
{
public:
    // key: "New", "Open", "Save", "Print", "Cut", "Copy", "Paste", "Bold",
    // "Italic", "Underline", "Align-Left", "Align-Centre", "Align-Right".
    static QIcon Icon(const QString &key);

    // The drawn image alone (for looking at, and for tests).
    static QIcon Drawn(const QString &key);
};
