#pragma once

#include <QString>
#include <QtGlobal>

// A copy of a file's present bytes in the recovery folder, made before the
// file is written in place: should the write stop half-way, the file gets
// its old bytes back, or the copy stays where the user is told to look.
class SpareCopy
{
public:
    SpareCopy() = default;
    SpareCopy(const SpareCopy &) = delete;
    SpareCopy &operator=(const SpareCopy &) = delete;

    // Copies the file whole, on the disk before this returns. The reason in
    // Chinese when it could not, empty when it did.
    QString Make(const QString &original);
    // Writes the copied bytes back over the open file, its old length
    // included; true when the file is whole again.
    bool RestoreInto(int fd) const;
    void Remove();

    const QString &Path() const { return m_path; }

private:
    QString m_path;
};
