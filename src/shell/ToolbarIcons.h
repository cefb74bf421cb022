#pragma once

#include <QIcon>
#include <QList>
#include <QPalette>
#include <QString>

class QAction;

// The 16 x 16 toolbar images: the desktop's icon theme where it has the
// image, otherwise one drawn here, so no button is ever blank. Drawn images
// take their ink from a palette, so they stay visible on a dark desktop.
class ToolbarIcons
{
public:
    // key: "New", "Open", "Save", "Print", "Cut", "Copy", "Paste", "Bold",
    // "Italic", "Underline", "Align-Left", "Align-Centre", "Align-Right".
    // Without a palette: the application's.
    static QIcon Icon(const QString &key);
    static QIcon Icon(const QString &key, const QPalette &palette);

    // The drawn image alone (for looking at, and for tests).
    static QIcon Drawn(const QString &key);
    static QIcon Drawn(const QString &key, const QPalette &palette);

    // The colour of lines, letters and outlines on that palette.
    static QColor InkOf(const QPalette &palette);

    // Gives the action its image and remembers which one, for Redraw.
    static void Attach(QAction *action, const QString &key);
    // Draws the images of those actions (the ones given by Attach) again
    // with the palette's ink.
    static void Redraw(const QList<QAction *> &actions, const QPalette &palette);

private:
    static constexpr const char *KeyProperty = "toolbarIconKey";
};
