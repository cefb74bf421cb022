#include "TextFileReader.h"

#include "DocumentCapacity.h"
#include "DocumentLoader.h"

#include <QFile>
#include <QFileInfo>

FileIoResult TextFileReader::Open(const QString &path, QFile &file, qint64 largest)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileIoResult::Missing();
    if (info.isDir())
        return FileIoResult::Failure(QStringLiteral("这是一个文件夹，不是文件。"));
    if (!info.isFile())
        return FileIoResult::Failure(QStringLiteral("这不是一个普通文件。"));
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileIoResult::Failure(DocumentLoader::ReadFailure(file));
    if (file.size() > largest)
        return FileIoResult::Failure(DocumentCapacity::TooLarge(file.size(), largest));
    return FileIoResult::Success();
}

TextFileReader::Outcome TextFileReader::Stream(const QString &path, const Sink &sink)
{
    QFile file;
    if (FileIoResult opened = Open(path, file); !opened.ok())
        return {opened};
    DocumentLoader::Target target;
    target.reserve = [](qint64) {};
    target.clear = sink.restart;
    target.append = [&sink](const char *data, qsizetype length) { sink.append(QByteArrayView(data, length)); };
    target.breathe = [] {};
    target.stopped = sink.stopped;
    target.largest = LargestText;
    DocumentLoader loader(file, file.size(), std::move(target));
    FileIoResult result = loader.LoadDetected();
    return {result, loader.Decided()};
}

TextFileReader::Text TextFileReader::ReadAll(const QString &path)
{
    Text text;
    Sink sink;
    sink.restart = [&text] { text.utf8.clear(); };
    sink.append = [&text](QByteArrayView utf8) { text.utf8.append(utf8); };
    const Outcome outcome = Stream(path, sink);
    text.result = outcome.result;
    text.encoding = outcome.encoding;
    if (!text.result.ok())
        text.utf8.clear();
    return text;
}
