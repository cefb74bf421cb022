#include "FileScanner.h"

#include "HitCollector.h"
#include "editor/TextFileReader.h"

FileScanner::Result FileScanner::ScanFile(const QString &path, const std::function<bool()> &stopped)
{
    Result result;
    result.hits.path = path;
    result.hits.stamp = FileIdentity::Of(path); // before reading: a change while it is read shows later
    HitCollector collector(m_matcher);
    TextFileReader::Sink sink;
    sink.restart = [&] { collector.Restart(); };
    sink.append = [&](QByteArrayView utf8) { collector.Append(utf8); };
    // A file that turned out no text, or that the expression cannot search,
    // is given up at once.
    sink.stopped = [&] { return stopped() || collector.SawNul() || !collector.Error().isEmpty(); };
    const TextFileReader::Outcome read = TextFileReader::Stream(path, sink);
    result.hits.encoding = read.encoding;

    if (collector.SawNul() || (read.result.ok() && read.encoding.codec == TextEncoding::Raw)) {
        result.outcome = Outcome::NotText;
    } else if (!collector.Error().isEmpty()) {
        result.outcome = Outcome::Failed;
        result.reason = collector.Error();
    } else if (stopped()) {
        result.outcome = Outcome::Stopped;
    } else if (!read.result.ok()) {
        result.outcome = Outcome::Failed;
        result.reason = read.result.outcome == FileIoResult::NotFound ? QStringLiteral("文件已不存在。")
                                                                      : read.result.reason;
    } else {
        collector.Finish();
        if (!collector.Error().isEmpty()) {
            result.outcome = Outcome::Failed;
            result.reason = collector.Error();
        }
    }
    if (result.outcome == Outcome::Searched)
        result.hits.hits = collector.Hits();
    return result;
}

FileScanner::Result FileScanner::ScanText(const QString &path, const OpenText &text)
{
    Result result;
    result.hits.path = path;
    result.hits.encoding = text.encoding;
    result.hits.fromEditor = true;
    // A document holding NUL characters is searched all the same: the user
    // has it open as text.
    HitCollector collector(m_matcher, HitCollector::Nul::Allowed);
    collector.Append(text.utf8);
    collector.Finish();
    if (!collector.Error().isEmpty()) {
        result.outcome = Outcome::Failed;
        result.reason = collector.Error();
    }
    result.hits.hits = collector.Hits();
    return result;
}
