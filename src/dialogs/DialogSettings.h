#pragma once

#include <QString>
#include <Qt>

class QCheckBox;

// What the find, replace and go-to dialogs keep in the settings store: text
// values under "ScintillaClass", section "Settings".
namespace DialogSettings {

inline constexpr char App[] = "ScintillaClass";

// A check box is stored as "0" (clear) or "1" (ticked). Anything else (a
// missing key, a value edited by hand) leaves the box at its default.
void LoadCheck(QCheckBox *box, const QString &key, bool tickedByDefault);
void SaveCheck(const QCheckBox *box, const QString &key);

// A switch is stored as "True" or "False"; numbers are read too.
bool LoadSwitch(const QString &key, bool byDefault);
void SaveSwitch(const QString &key, bool value);

// A dialog of fixed size with a title and a close box only.
constexpr Qt::WindowFlags FixedDialog =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

} // namespace DialogSettings
