#pragma once

#include "BackupStore.h"

#include <QList>
#include <QLockFile>
#include <QString>
#include <memory>

// One document that a run which ended without closing left behind.
struct RecoverableDocument
{
    BackupInfo info;
    QString textPath;
};

// The backups of runs that are no longer running, found at start. Each set
// found is locked while it is held here, so that a second instance starting
// at the same time cannot take it too; live sets stay locked by their own
// process and are never found.
class RecoverySets
{
public:
    static RecoverySets FindLeftOver();

    RecoverySets() = default;
    RecoverySets(RecoverySets &&) = default;
    RecoverySets &operator=(RecoverySets &&) = default;
    ~RecoverySets();

    const QList<RecoverableDocument> &Documents() const { return m_documents; }
    bool IsEmpty() const { return m_documents.isEmpty(); }

    // The backups are not wanted any more (recovered or thrown away).
    void Discard();
    // Asked again at the next start.
    void Keep();

private:
    struct HeldSet
    {
        QString folder;
        std::unique_ptr<QLockFile> lock;
    };
    QList<RecoverableDocument> m_documents;
    std::vector<HeldSet> m_sets;
};
