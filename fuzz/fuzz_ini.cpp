// The INI layer: any bytes come back unchanged, setting one key changes that
// key's line only (or adds it, or its section), and what the writer wrote the
// reader reads back.
#include "FuzzSupport.h"
#include "highlight/IniFile.h"

#include <QString>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

namespace {

struct RawLine
{
    QByteArray text;
    QByteArray end;
    bool operator==(const RawLine &) const = default;
};

// Lines as a reader of the file sees them: LF, CR LF or a lone CR ends one.
std::vector<RawLine> Lines(const QByteArray &bytes)
{
    std::vector<RawLine> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < bytes.size())
            next += (bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n') ? 2 : 1;
        lines.push_back({bytes.mid(start, end - start), bytes.mid(end, next - end)});
        start = next;
    }
    return lines;
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString TrimBlanks(QString text)
{
    while (!text.isEmpty() && IsBlank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && IsBlank(text.back()))
        text.chop(1);
    return text;
}

// A name that can be written as a key or section: none of the characters
// that give a line another meaning, no blanks around it.
QString Name(FuzzedDataProvider &data, const char *forbidden)
{
    QString name = QString::fromUtf8(data.ConsumeRandomLengthString(12));
    name.removeIf([forbidden](QChar c) { return c == u'\r' || c == u'\n' || c == u'\0' || QByteArray(forbidden).contains(char(c.unicode())); });
    name = TrimBlanks(name);
    while (!name.isEmpty() && (name[0] == u';' || name[0] == u'#' || name[0] == u'['))
        name = TrimBlanks(name.mid(1));
    return name.isEmpty() ? QStringLiteral("k") : name;
}

QByteArray Show(const QByteArray &before, const QByteArray &after)
{
    return "before: " + before.toPercentEncoding(" =[];") + "\nafter:  " + after.toPercentEncoding(" =[];");
}

// The lines that differ, as the stretch between the common start and end.
struct Change
{
    std::vector<RawLine> removed, added;
};

Change Difference(const std::vector<RawLine> &before, const std::vector<RawLine> &after)
{
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return {{before.begin() + head, before.end() - tail}, {after.begin() + head, after.end() - tail}};
}

// The key's own line, with only its value changed.
bool SameKeyLine(const RawLine &before, const RawLine &after, const QString &key)
{
    const qsizetype equals = before.text.indexOf('=');
    if (equals < 0 || before.end != after.end || !after.text.startsWith(before.text.left(equals + 1)))
        return false;
    QByteArray name = before.text.left(equals);
    if (name.startsWith("\xEF\xBB\xBF"))
        name.remove(0, 3);
    return TrimBlanks(QString::fromUtf8(name)).compare(key, Qt::CaseInsensitive) == 0;
}

void CheckSetValue(const QByteArray &bytes, const QString &section, const QString &key, const QString &value)
{
    IniFile ini = IniFile::FromBytes(bytes);
    ini.SetValue(section, key, value);
    const QByteArray written = ini.ToBytes();

    QString expected = value;
    expected.replace(u'\r', u' ').replace(u'\n', u' ');
    expected = TrimBlanks(expected);
    fuzz::Require(ini.Value(section, key) == expected, "a value set is the value read", Show(bytes, written));
    fuzz::Require(IniFile::FromBytes(written).Value(section, key) == expected,
                  "the writer's bytes read back as the value set", Show(bytes, written));
    fuzz::Require(IniFile::FromBytes(written).ToBytes() == written, "written bytes read back unchanged");

    // Its line changed in place, or new lines (the key, maybe its section)
    // went in, after a last line that may have gained a line end.
    const Change change = Difference(Lines(bytes), Lines(written));
    bool onlyItsLine = change.removed.empty() && change.added.size() <= 2;
    if (change.removed.size() == 1 && !change.added.empty()) {
        const RawLine &old = change.removed.front();
        onlyItsLine = (change.added.size() == 1 && SameKeyLine(old, change.added.front(), key))
                      || (old.end.isEmpty() && change.added.size() <= 3 && change.added.front().text == old.text);
    }
    fuzz::Require(onlyItsLine, "setting one key touches only its line", Show(bytes, written));
}

// Every other key reads as before.
void CheckOthersKept(const QByteArray &bytes, const QString &section, const QString &key, const QString &value)
{
    IniFile before = IniFile::FromBytes(bytes);
    IniFile after = IniFile::FromBytes(bytes);
    after.SetValue(section, key, value);
    QString current;
    for (const RawLine &line : Lines(bytes)) {
        const QString text = QString::fromUtf8(line.text);
        const QString body = TrimBlanks(text);
        if (body.startsWith(u'[')) {
            const qsizetype close = body.indexOf(u']');
            current = TrimBlanks(body.mid(1, close < 0 ? -1 : close - 1));
            continue;
        }
        const qsizetype equals = text.indexOf(u'=');
        if (equals <= 0 || body.startsWith(u';') || body.startsWith(u'#'))
            continue;
        const QString name = TrimBlanks(text.left(equals));
        if (name.compare(key, Qt::CaseInsensitive) == 0 && current.compare(section, Qt::CaseInsensitive) == 0)
            continue;
        fuzz::Require(after.Value(current, name) == before.Value(current, name),
                      "setting one key leaves every other key as it was",
                      (current + u'/' + name).toUtf8() + "\n" + Show(bytes, after.ToBytes()));
    }
}

// The name of a key line ("" for any other line).
QString KeyNameOf(const RawLine &line)
{
    QByteArray text = line.text;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    const QString body = TrimBlanks(QString::fromUtf8(text));
    const qsizetype equals = text.indexOf('=');
    if (equals <= 0 || body.startsWith(u';') || body.startsWith(u'#') || body.startsWith(u'['))
        return QString();
    return TrimBlanks(QString::fromUtf8(text.left(equals)));
}

void CheckRemoveKey(const QByteArray &bytes, const QString &section, const QString &key)
{
    IniFile ini = IniFile::FromBytes(bytes);
    ini.RemoveKey(section, key);
    const QByteArray written = ini.ToBytes();
    fuzz::Require(ini.Value(section, key).isEmpty() && IniFile::FromBytes(written).Value(section, key).isEmpty(),
                  "a removed key reads as missing", Show(bytes, written));
    // Only lines of that key go; every other line stays (a blank one may
    // change its line end, so as not to join the line before it).
    const std::vector<RawLine> before = Lines(bytes);
    const std::vector<RawLine> after = Lines(written);
    size_t b = 0;
    for (const RawLine &line : after) {
        while (b < before.size()
               && !(before[b].text == line.text && (before[b].end == line.end || line.text.isEmpty()))) {
            fuzz::Require(KeyNameOf(before[b]).compare(key, Qt::CaseInsensitive) == 0,
                          "removing a key only takes its lines out", Show(bytes, written));
            ++b;
        }
        fuzz::Require(b < before.size(), "removing a key keeps every other line", Show(bytes, written));
        ++b;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString section = Name(input, "]");
    const QString key = Name(input, "=");
    const QString value = QString::fromUtf8(input.ConsumeRandomLengthString(40));
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), qsizetype(rest.size()));

    fuzz::Require(IniFile::FromBytes(bytes).ToBytes() == bytes, "any bytes read back unchanged", bytes.toPercentEncoding());
    CheckSetValue(bytes, section, key, value);
    CheckOthersKept(bytes, section, key, value);
    CheckRemoveKey(bytes, section, key);
    return 0;
}
