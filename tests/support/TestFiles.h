#pragma once

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

// A fresh folder for one test, and the two things tests do with files in it.
class TestFiles
{
protected:
    QString Path(const QString &name) const { return dir.filePath(name); }

    // Writes the bytes to a file in the folder and answers its path.
    QString Write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return file.fileName();
    }

    static QByteArray Read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir dir;
};

// Bytes of every value, the same for the same seed.
inline QByteArray RandomBytes(int length, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(length, '\0');
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}
