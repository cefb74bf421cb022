#pragma once

#include <QString>

// A tiny tmpfs mounted for one test: a disk that fills up, or one that is
// read-only even for root. Mounting needs the privilege to mount; where that
// is missing, mounted() is false and the test skips the case.
class SmallFilesystem
{
public:
    SmallFilesystem(const QString &mountPoint, int sizeKiB);
    ~SmallFilesystem();

    bool mounted() const { return m_mounted; }
    // Turns the mounted file system read-only; false when that failed.
    bool MakeReadOnly();

private:
    QString m_mountPoint;
    bool m_mounted = false;
};
