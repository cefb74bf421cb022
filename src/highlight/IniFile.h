#pragma once

#include "platform/WriteFailure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <string>
#include <unordered_map>
#include <vector>

// How a write went: the file is either fully replaced or left as it was, and
// the caller learns which file and why not.
struct [[nodiscard]] IniWriteResult
{
    bool ok = true;
    WriteFailure failure;

    static IniWriteResult Failed(QString path, QString why) { return {false, {std::move(path), std::move(why)}}; }
    explicit operator bool() const { return ok; }
};

// One INI file, read and parsed once, then asked for as many keys as needed.
//
// It behaves like the classic profile functions: section and key names match
// without regard to case, the first section and the first key of a name
// count, values are trimmed of surrounding blanks. Changing a key touches
// that key's line only; every other byte of the file (comments, unknown
// sections, blank lines, line ends, text that is not UTF-8) is written back
// as it was read.
class IniFile
{
public:
    // A file this large is no INI file of ours; it is not read.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    // A missing file reads as an empty one. A file that exists but cannot be
    // read (no regular file, larger than MaxFileBytes, unreadable) also reads
    // as empty, and says so in LoadError().
    static IniFile Load(const QString &path);
    static IniFile FromBytes(QByteArray bytes);

    const QString &LoadError() const { return m_loadError; }

    // The value as written (UTF-8, whole), or empty when the section or key
    // is missing: the two read alike.
    QString Value(const QString &section, const QString &key) const;

    // Replaces the key's value in place, or adds the key at the end of its
    // section, or adds the section at the end of the file.
    void SetValue(const QString &section, const QString &key, const QString &value);

    // Takes out every line of the key in its section (a later line of the
    // same name would otherwise count instead); the other lines stay.
    void RemoveKey(const QString &section, const QString &key);

    QByteArray ToBytes() const;

    // Writes through a temporary file, so a failure leaves the old file whole.
    IniWriteResult Save(const QString &path) const;

private:
    enum class LineEnd : quint8 { None, Lf, CrLf, Cr };
    struct Line
    {
        QByteArray text; // without its line end
        LineEnd eol = LineEnd::None; // None only on a last line
    };
    struct Section
    {
        int header = -1;   // line of "[name]"
        int lastLine = -1; // last line before the next section
        // Folded key name -> first line holding it. (std::hash: Qt's seeded
        // string hash alone took half of the start-up's loading time.)
        std::unordered_map<std::string, int> keys;
    };

    void Parse(const QByteArray &bytes);
    void BuildIndex();
    const Section *FindSection(const QString &section) const;
    LineEnd NewLineEnd() const;
    static QByteArrayView EndBytes(LineEnd eol);

    std::vector<Line> m_lines;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, int> m_sectionIndex; // folded name -> first section of that name
    QString m_loadError;
};
