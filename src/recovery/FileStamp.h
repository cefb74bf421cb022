#pragma once

#include "platform/FileIdentity.h"

#include <QByteArray>
#include <QString>

// What a file was when the document last read or wrote it: enough to tell
// later whether someone else has written it since.
class FileStamp
{
public:
    enum class Change { Same, Changed, Deleted };

    FileStamp() = default;
    static FileStamp Take(const QString &path);

    // Compares with the file as it is now. Size and time decide, unless the
    // file was written within the time's coarseness of when the stamp was
    // taken: then its content is compared too.
    Change Compare(const QString &path) const;

    bool Exists() const { return m_exists; }

    // Files from this size are fingerprinted while the interface runs.
    static constexpr qint64 AsideFrom = 4 * 1000 * 1000;

private:
    static QByteArray Fingerprint(const QString &path);

    bool m_exists = false;
    FileIdentity m_identity; // its size and time decide; the inode does not
    QByteArray m_hash; // only when the time alone could not tell
};
