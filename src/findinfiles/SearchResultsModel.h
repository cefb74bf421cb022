#pragma once

#include "FileHits.h"

#include <QAbstractItemModel>
#include <QDir>
#include <memory>
#include <vector>

// The hits of a search as a tree: a row for each file, in the order the
// walk met the files (a file whose reader finished early still goes to its
// own place), with a row for each hit under it; the files that could not be
// searched follow under a row of their own.
class SearchResultsModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum class Kind { File, Hit, ProblemGroup, Problem };
    enum Role {
        KindRole = Qt::UserRole + 1,
        LineRole,           // a hit's line, counted from 1
        HitTextRole,        // the line as shown
        HighlightFromRole,  // the match in it, in characters
        HighlightLengthRole,
        PreviewRole,        // a hit's line as the replacement makes it
    };

    explicit SearchResultsModel(QObject *parent = nullptr);
    ~SearchResultsModel() override;

    // Empties the list; paths show relative to this folder.
    void Clear(const QString &folder);
    void Add(const QList<FileHits> &files);
    void SetProblems(const QList<FileProblem> &problems);
    // A replace preview: each file and hit gets a check box (all ticked)
    // and each hit shows its line after the change.
    void SetReplacement(const QString &replacement);
    bool IsReplacePreview() const { return m_preview; }
    const QString &Replacement() const { return m_replacement; }
    qint64 ChosenCount() const;

    int FileCount() const;
    qint64 HitCount() const { return m_hitCount; }
    const FileHits *FileAt(const QModelIndex &index) const; // a file's row or one of its hits
    const LineHit *HitAt(const QModelIndex &index) const;
    QList<FileHits> Files() const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    struct Group;
    Group *GroupOf(const QModelIndex &index) const;
    int RowOf(const Group *group) const;
    QVariant FileData(const Group &group, int role) const;
    QVariant HitData(const LineHit &hit, int role) const;

    std::vector<std::unique_ptr<Group>> m_groups; // by walk order, the problems last
    QDir m_folder;
    qint64 m_hitCount = 0;
    bool m_preview = false;
    QString m_replacement;
};
