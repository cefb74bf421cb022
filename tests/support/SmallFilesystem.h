#pragma once

#include <QString>
#include <QtGlobal>

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
    // Fills the disk with a file of its own until about `bytesFree` bytes
    // are left (whole pages); answers how many are free, or -1.
    qint64 FillLeaving(qint64 bytesFree);
    qint64 FreeBytes() const;

private:
    QString m_mountPoint;
    bool m_mounted = false;
};

// Writes that cannot fit: a small one onto a full disk, a medium and a large
// one onto a nearly full disk (the large one fails only in its last part).
struct FullDiskCase
{
    const char *what;
    int diskKiB;
    qint64 free;
    qint64 size;
};

inline constexpr FullDiskCase FullDiskCases[] = {
    {"2,100 bytes onto a full disk", 64, 0, 2100},
    {"40 KB with 8 KB free", 64, 8 * 1024, 40 * 1024},
    {"1 MB with 984 KB free", 1280, 984 * 1024, 1024 * 1024},
};
