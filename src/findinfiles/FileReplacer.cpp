#include "FileReplacer.h"

#include "editor/TextFileReader.h"
#include "editor/TextFileWriter.h"

#include <algorithm>

QList<LineHit> FileReplacer::Chosen(const FileHits &file)
{
    QList<LineHit> chosen;
    for (const LineHit &hit : file.hits)
        if (hit.chosen)
            chosen << hit;
    return chosen;
}

bool FileReplacer::Splice(QByteArray &utf8, const QList<LineHit> &hits, const QByteArray &replacement, QString &why)
{
    QList<LineHit> ordered = hits;
    std::sort(ordered.begin(), ordered.end(), [](const LineHit &a, const LineHit &b) { return a.start < b.start; });
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const LineHit &hit = ordered[i];
        const bool overlaps = i > 0 && hit.start < ordered[i - 1].end;
        if (overlaps || hit.end > utf8.size() || hit.start < 0
            || QByteArrayView(utf8).sliced(hit.start, hit.matched.size()) != hit.matched) {
            why = QStringLiteral("第 %1 行已不是搜索时的内容。").arg(hit.line + 1);
            return false;
        }
    }
    for (auto hit = ordered.crbegin(); hit != ordered.crend(); ++hit)
        utf8.replace(hit->start, hit->end - hit->start, replacement);
    return true;
}

FileIoResult FileReplacer::ReplaceInFile(const FileHits &file, const QList<LineHit> &hits, const QString &replacement)
{
    if (FileIdentity::Of(file.path) != file.stamp)
        return FileIoResult::Failure(QStringLiteral("文件在搜索之后被修改过，请重新搜索。"));
    TextFileReader::Text text = TextFileReader::ReadAll(file.path);
    if (!text.result.ok())
        return text.result;
    if (text.encoding.codec != file.encoding.codec || text.encoding.bom != file.encoding.bom)
        return FileIoResult::Failure(QStringLiteral("文件的编码与搜索时不同，请重新搜索。"));
    QString why;
    if (!Splice(text.utf8, hits, replacement.toUtf8(), why))
        return FileIoResult::Failure(why);
    return TextFileWriter::Write(file.path, text.utf8, text.encoding);
}
