#pragma once

#include "findinfiles/FolderSearch.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QMap>
#include <QSignalSpy>

// Runs a folder search to its end and keeps what it delivered, by the
// file's path relative to the folder.
struct SearchRun
{
    FolderSearch search;
    QList<FileHits> delivered;
    int batches = 0;

    SearchRun(const FindInFilesRequest &request, const OpenTexts &texts = {}) : search(request, texts)
    {
        QObject::connect(&search, &FolderSearch::Found, [this](const QList<FileHits> &files) {
            delivered += files;
            ++batches;
        });
    }

    // False when it did not finish within the time.
    bool RunToEnd(int ms = 20000)
    {
        QSignalSpy finished(&search, &FolderSearch::Finished);
        if (!search.IsRunning())
            search.Start();
        return finished.count() > 0 || finished.wait(ms);
    }

    QMap<QString, FileHits> ByFile() const
    {
        QMap<QString, FileHits> files;
        const QDir folder(search.Request().folder);
        for (const FileHits &file : delivered)
            files.insert(folder.relativeFilePath(file.path), file);
        return files;
    }
};
