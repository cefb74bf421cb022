#include "FileStamp.h"

#include "platform/ContentHash.h"
#include "platform/WorkAside.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

// Some file systems keep times to the second (or two): a write in the same
// second as our read leaves the same time behind.
constexpr qint64 CoarsestClockMs = 2000;

} // namespace

FileStamp FileStamp::Take(const QString &path)
{
    FileStamp stamp;
    const QFileInfo info(path);
    if (!info.isFile())
        return stamp;
    stamp.m_exists = true;
    stamp.m_identity = FileIdentity::Of(path);
    const qint64 nowNs = QDateTime::currentMSecsSinceEpoch() * 1000000;
    if (std::abs(stamp.m_identity.modifiedNs - nowNs) < CoarsestClockMs * 1000000)
        stamp.m_hash = Fingerprint(path);
    return stamp;
}

FileStamp::Change FileStamp::Compare(const QString &path) const
{
    // Whatever stands there now that is not a file (a folder) is not the
    // document's file.
    const QFileInfo info(path);
    if (!info.isFile())
        return m_exists ? Change::Deleted : Change::Same;
    const FileIdentity now = FileIdentity::Of(path);
    if (!m_exists || now.size != m_identity.size || now.modifiedNs != m_identity.modifiedNs)
        return Change::Changed;
    if (!m_hash.isEmpty() && Fingerprint(path) != m_hash)
        return Change::Changed;
    return Change::Same;
}

// A big file is fingerprinted on a thread of its own: the interface keeps
// drawing meanwhile.
QByteArray FileStamp::Fingerprint(const QString &path)
{
    const bool small = QFileInfo(path).size() < AsideFrom;
    const std::optional<quint64> hash = WorkAside([path] { return ContentHash::OfFile(path); }, small);
    return hash ? QByteArray::number(*hash, 16) : QByteArray("unreadable");
}
