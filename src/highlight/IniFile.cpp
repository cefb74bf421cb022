#include "IniFile.h"

#include "platform/SafeFileWriter.h"
#include "platform/SmallFileReader.h"

#include <QByteArrayView>
#include <QStringDecoder>

namespace {

enum class LineKind { Other, Section, Key };

struct LineInfo
{
    LineKind kind = LineKind::Other;
    QByteArrayView name;
    qsizetype valueStart = 0; // keys: offset of the value in the line's text
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView Trimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// An editor may have put a byte-order mark before the first line.
QByteArrayView WithoutBom(QByteArrayView text)
{
    return text.startsWith("\xEF\xBB\xBF") ? text.sliced(3) : text;
}

LineInfo Classify(QByteArrayView text)
{
    LineInfo info;
    const QByteArrayView body = Trimmed(text);
    if (body.isEmpty() || body[0] == ';' || body[0] == '#')
        return info;
    if (body[0] == '[') {
        qsizetype close = body.indexOf(']');
        if (close < 0)
            close = body.size();
        info.kind = LineKind::Section;
        info.name = Trimmed(body.sliced(1, close - 1));
        return info;
    }
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return info;
    info.name = Trimmed(text.first(equals));
    if (info.name.isEmpty())
        return info;
    info.kind = LineKind::Key;
    info.valueStart = equals + 1;
    return info;
}

// QString::fromUtf8 drops a byte-order mark at the start of what it
// decodes; a name or value keeps every character it has.
QString FromUtf8(QByteArrayView utf8)
{
    QStringDecoder decode(QStringDecoder::Utf8,
                          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decode(utf8);
}

// Names compare without regard to case. Plain ASCII names, all that CHL
// files use, fold without the Unicode tables: start-up reads thousands.
std::string FoldName(const QString &name)
{
    std::string folded(size_t(name.size()), '\0');
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c >= 0x80)
            return name.toCaseFolded().toStdString();
        folded[size_t(i)] = (c >= u'A' && c <= u'Z') ? char(c + 32) : char(c);
    }
    return folded;
}

std::string FoldName(QByteArrayView utf8)
{
    std::string folded(size_t(utf8.size()), '\0');
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (uchar(c) >= 0x80)
            return FoldName(FromUtf8(utf8));
        folded[size_t(i)] = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    }
    return folded;
}

LineInfo ClassifyLine(const QByteArray &text, bool firstLine)
{
    LineInfo info = Classify(firstLine ? WithoutBom(text) : QByteArrayView(text));
    if (firstLine && info.kind == LineKind::Key && text.startsWith("\xEF\xBB\xBF"))
        info.valueStart += 3;
    return info;
}

} // namespace

QByteArrayView IniFile::EndBytes(LineEnd eol)
{
    switch (eol) {
    case LineEnd::Lf: return "\n";
    case LineEnd::CrLf: return "\r\n";
    case LineEnd::Cr: return "\r";
    case LineEnd::None: break;
    }
    return {};
}

IniFile IniFile::Load(const QString &path)
{
    IniFile ini;
    const SmallFileRead read = ReadSmallFile(path, MaxFileBytes);
    if (read.outcome == SmallFileRead::Missing)
        return ini;
    if (!read.ok()) {
        ini.m_loadError = read.reason;
        return ini;
    }
    ini.Parse(read.bytes);
    return ini;
}

IniFile IniFile::FromBytes(QByteArray bytes)
{
    IniFile ini;
    ini.Parse(bytes);
    return ini;
}

void IniFile::Parse(const QByteArray &bytes)
{
    m_lines.clear();
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    const char *data = bytes.constData();
    while (start < size) {
        qsizetype end = start;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        LineEnd eol = LineEnd::None;
        if (end < size)
            eol = data[end] == '\n' ? LineEnd::Lf
                  : (end + 1 < size && data[end + 1] == '\n') ? LineEnd::CrLf
                                                              : LineEnd::Cr;
        m_lines.push_back({bytes.sliced(start, end - start), eol});
        start = end + EndBytes(eol).size();
    }
    BuildIndex();
}

void IniFile::BuildIndex()
{
    m_sections.clear();
    m_sectionIndex.clear();
    Section *current = nullptr;
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const LineInfo info = ClassifyLine(m_lines[i].text, i == 0);
        if (info.kind == LineKind::Section) {
            m_sections.push_back(Section{i, i, {}});
            current = &m_sections.back();
            // try_emplace keeps the first section of a name: that one counts
            m_sectionIndex.try_emplace(FoldName(info.name), int(m_sections.size()) - 1);
            continue;
        }
        if (!current)
            continue; // keys before any section belong to none
        current->lastLine = i;
        if (info.kind == LineKind::Key)
            current->keys.try_emplace(FoldName(info.name), i); // the first of a name counts
    }
}

const IniFile::Section *IniFile::FindSection(const QString &section) const
{
    const auto found = m_sectionIndex.find(FoldName(section));
    return found == m_sectionIndex.end() ? nullptr : &m_sections[size_t(found->second)];
}

QString IniFile::Value(const QString &section, const QString &key) const
{
    const Section *s = FindSection(section);
    if (!s)
        return QString();
    const auto found = s->keys.find(FoldName(key));
    if (found == s->keys.end())
        return QString();
    const QByteArray &text = m_lines[size_t(found->second)].text;
    const LineInfo info = ClassifyLine(text, found->second == 0);
    return FromUtf8(Trimmed(QByteArrayView(text).sliced(info.valueStart)));
}

IniFile::LineEnd IniFile::NewLineEnd() const
{
    for (const Line &line : m_lines)
        if (line.eol != LineEnd::None)
            return line.eol;
    return LineEnd::Lf;
}

void IniFile::SetValue(const QString &section, const QString &key, const QString &value)
{
    // A line break in a value would start a line of its own on reading.
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray valueBytes = flat.toUtf8();
    const QByteArray keyLine = key.toUtf8() + '=' + valueBytes;
    const LineEnd eol = NewLineEnd();

    if (const Section *s = FindSection(section)) {
        const auto found = s->keys.find(FoldName(key));
        if (found != s->keys.end()) {
            // Keep the key as spelled in the file and the blanks after "=".
            Line &line = m_lines[size_t(found->second)];
            qsizetype start = ClassifyLine(line.text, found->second == 0).valueStart;
            while (start < line.text.size() && IsBlank(line.text[start]))
                ++start;
            line.text = line.text.left(start) + valueBytes;
            return;
        }
        int after = s->lastLine;
        while (after > s->header && Trimmed(m_lines[after].text).isEmpty())
            --after;
        if (m_lines[after].eol == LineEnd::None)
            m_lines[after].eol = eol;
        // The new line ends as the one it follows: a lone CR of the file's
        // first line before a blank LF line would read back as one CR LF, and
        // the blank line would be gone.
        m_lines.insert(m_lines.begin() + after + 1, Line{keyLine, m_lines[after].eol});
    } else {
        if (!m_lines.empty() && m_lines.back().eol == LineEnd::None)
            m_lines.back().eol = eol;
        m_lines.push_back(Line{'[' + section.toUtf8() + ']', eol});
        m_lines.push_back(Line{keyLine, eol});
    }
    BuildIndex();
}

void IniFile::RemoveKey(const QString &section, const QString &key)
{
    const Section *s = FindSection(section);
    if (!s || s->keys.find(FoldName(key)) == s->keys.end())
        return;
    const std::string folded = FoldName(key);
    for (int i = s->lastLine; i > s->header; --i) {
        const LineInfo info = ClassifyLine(m_lines[size_t(i)].text, false);
        if (info.kind != LineKind::Key || FoldName(info.name) != folded)
            continue;
        m_lines.erase(m_lines.begin() + i);
        // A lone CR and the LF of a blank line now side by side would read
        // back as one CR LF, and the blank line would be gone: it ends in a
        // CR LF instead, which nothing after it can join (a lone CR could
        // join the LF of a further blank line).
        if (i < int(m_lines.size()) && m_lines[size_t(i) - 1].eol == LineEnd::Cr && m_lines[size_t(i)].text.isEmpty()
            && m_lines[size_t(i)].eol == LineEnd::Lf)
            m_lines[size_t(i)].eol = LineEnd::CrLf;
    }
    BuildIndex();
}

QByteArray IniFile::ToBytes() const
{
    qsizetype total = 0;
    for (const Line &line : m_lines)
        total += line.text.size() + 2;
    QByteArray bytes;
    bytes.reserve(total);
    for (const Line &line : m_lines)
        bytes.append(line.text).append(EndBytes(line.eol));
    return bytes;
}

IniWriteResult IniFile::Save(const QString &path) const
{
    SafeFileWriter file(path);
    if (file.Open())
        file.Write(ToBytes());
    if (const FileWriteResult written = file.Commit(); !written)
        return IniWriteResult::Failed(path, written.reason);
    return {};
}
