#pragma once

#include "FileHits.h"
#include "FindInFilesRequest.h"
#include "OpenTexts.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// One search of a folder tree on worker threads: one thread walks the
// tree, the others read and search the files it finds. What they find comes
// to the interface thread in batches (Found) while they work, and the
// interface never waits for them: Stop returns at once, and the workers
// give up within a chunk of the file they are reading (10 MB at most).
class FolderSearch : public QObject
{
    Q_OBJECT

public:
    struct Totals
    {
        qint64 filesSearched = 0;
        qint64 filesNotText = 0;
        QList<FileProblem> problems;
        bool stopped = false;
        qint64 elapsedMs = 0;
    };

    // The query must be one TextMatcher::Make accepts. Open documents' texts
    // are searched in place of their files.
    FolderSearch(FindInFilesRequest request, OpenTexts openTexts, QObject *parent = nullptr);
    // Stops, and waits for the workers (a moment at most).
    ~FolderSearch() override;

    void Start();
    void Stop();
    bool IsRunning() const { return m_running; }
    const Totals &Result() const { return m_totals; }
    const FindInFilesRequest &Request() const { return m_request; }
    const OpenTexts &Texts() const { return m_openTexts; }

    // For tests: runs on a worker, before each file is read.
    std::function<void(const QString &path)> beforeFile;

signals:
    void Found(const QList<FileHits> &files);
    void Finished();

private:
    struct Shared;
    void Deliver();
    void Walk(const std::shared_ptr<Shared> &shared, const QString &folder) const;
    void Work(const std::shared_ptr<Shared> &shared) const;

    FindInFilesRequest m_request;
    OpenTexts m_openTexts;
    std::shared_ptr<Shared> m_shared;
    // Threads of their own: Qt 6.4's QThreadPool now and then left a queued
    // reader unrun, and the search then never ended.
    std::vector<std::thread> m_threads;
    QTimer m_poll;
    QElapsedTimer m_clock;
    Totals m_totals;
    bool m_running = false;
};
