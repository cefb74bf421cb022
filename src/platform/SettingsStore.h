#pragma once

#include <QString>
#include <optional>

// The per-user settings store: text values under an application name, a
// section and a key. One INI file per application name in the user's config
// directory, so "ScintillaMDI" and "ScintillaClass" stay apart.
class SettingsStore
{
public:
    static QString GetSetting(const QString &appName, const QString &section,
                              const QString &key, const QString &defaultValue = QString());
    // A value that cannot be written is reported in the log (category
    // "ferrolan.settings").
    static void SaveSetting(const QString &appName, const QString &section,
                            const QString &key, const QString &value);

    // The application's INI file: "Ferrolan/<appName>.ini" in the user's
    // config directory. Only a regular file of a sane size there is read or
    // written; anything else (a pipe would hold the start up for ever, a
    // device could fill the memory) reads as empty and takes no writes.
    static QString FileOf(const QString &appName);

    // Text form of a single-precision number: at most 7 significant digits,
    // a whole number as plain digits.
    static QString SingleText(double value);

    // A stored number, read with the user's locale first and then the C
    // locale; nothing when the text is not a number (edited by hand).
    static std::optional<double> ReadNumber(const QString &text);

    // A check-box value or other small integer: the number rounded to the
    // nearest integer (halves to even), nothing when it does not convert or
    // lies outside 16 bits.
    static std::optional<int> ReadInteger16(const QString &text);

    // "True"/"False" or a number (non-zero is true).
    static std::optional<bool> ReadBoolean(const QString &text);
};
