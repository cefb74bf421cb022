#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <memory>

class QLockFile;

// What a backup says about its document.
struct BackupInfo
{
    QString path;  // the document's file, empty for one never saved
    QString title; // "新建文档 N" for one never saved
    QString encoding;
    QDateTime time;
    qint64 size = 0;
};

// This run's set of backups: a folder of its own in the recovery folder,
// locked while the program runs so that another instance never takes it
// for the leftovers of a crash. Every file is written through the safe
// writer on one worker thread, in the order asked; the caller hands over a
// copy of the text and goes on at once.
class BackupStore : public QObject
{
    Q_OBJECT

public:
    explicit BackupStore(QObject *parent = nullptr);
    ~BackupStore() override;

    void Save(int id, QByteArray text, const BackupInfo &info);
    void Remove(int id);
    // A normal exit: the whole set goes.
    void RemoveAll();
    // Blocks until every write asked for so far is done.
    void WaitForWrites();

    QString SetFolder() const { return m_folder; }
    static QString IndexName() { return QStringLiteral("index.json"); }
    static QString TextName(int id) { return QStringLiteral("%1.text").arg(id); }
    static QString LockName() { return QStringLiteral("lock"); }
    // Sets live directly in the recovery folder under this prefix.
    static QString SetPrefix() { return QStringLiteral("set-"); }

    static QByteArray IndexBytes(const QMap<int, BackupInfo> &documents);
    static QMap<int, BackupInfo> ParseIndex(const QByteArray &bytes);

signals:
    // Once per run, on the main thread.
    void WriteFailed(const QString &folder, const QString &reason);

private:
    bool OpenSet();
    void Queue(std::function<QString()> job);
    void ReportFailure(const QString &reason);

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QMap<int, BackupInfo> m_index;
    QThreadPool m_worker;
    bool m_failureReported = false;
};
