#pragma once

#include "IniFile.h"

#include <QString>

// One key of an INI file at a time. Each call reads the whole file; a reader
// that needs many keys of one file loads an IniFile once instead.

// The value, whole; empty when the file, section or key is missing.
QString ReadIniValue(const QString &strSection, const QString &strKey, const QString &strFile);

// Sets one key and keeps every other line of the file as it was; makes the
// file and the section when they are missing. A file that exists but cannot
// be read is not overwritten.
IniWriteResult WriteIniValue(const QString &strSection, const QString &strKey, const QString &strValue,
                             const QString &strFile);
