#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// What every fuzz target shares: one offscreen application for the run, a
// private scratch folder, and the way a broken property ends the run (an
// abort, so libFuzzer keeps the input that broke it).
namespace fuzz {

// Starts the offscreen application once, with its own settings folder, so no
// run ever touches a user's files.
void StartQt();

// A file name in the run's own scratch folder.
QString Scratch(const QString &name);

QByteArray ReadAll(const QString &path);
void WriteAll(const QString &path, QByteArrayView bytes);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(QByteArrayView bytes);

// Says which property broke and ends the run with the input kept.
[[noreturn]] void Broken(const char *property, const QByteArray &detail = {});

inline void Require(bool holds, const char *property, const QByteArray &detail = {})
{
    if (!holds)
        Broken(property, detail);
}

} // namespace fuzz
