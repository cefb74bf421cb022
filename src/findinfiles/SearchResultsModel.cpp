#include "SearchResultsModel.h"

#include <QFont>
#include <algorithm>
#include <limits>

struct SearchResultsModel::Group
{
    FileHits file;
    bool problems = false;
    QList<FileProblem> problemList;

    qint64 Order() const { return problems ? std::numeric_limits<qint64>::max() : file.order; }
    int Rows() const { return int(problems ? problemList.size() : file.hits.size()); }
};

SearchResultsModel::SearchResultsModel(QObject *parent) : QAbstractItemModel(parent) {}

SearchResultsModel::~SearchResultsModel() = default;

void SearchResultsModel::Clear(const QString &folder)
{
    beginResetModel();
    m_groups.clear();
    m_folder = QDir(folder);
    m_hitCount = 0;
    m_preview = false;
    m_replacement.clear();
    endResetModel();
}

void SearchResultsModel::SetReplacement(const QString &replacement)
{
    beginResetModel();
    m_preview = true;
    m_replacement = replacement;
    endResetModel();
}

qint64 SearchResultsModel::ChosenCount() const
{
    qint64 chosen = 0;
    for (const auto &group : m_groups)
        if (!group->problems)
            chosen += std::count_if(group->file.hits.cbegin(), group->file.hits.cend(),
                                    [](const LineHit &hit) { return hit.chosen; });
    return chosen;
}

Qt::ItemFlags SearchResultsModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    if (m_preview && FileAt(index))
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

// Ticking a file ticks all its hits; a hit's box changes its file's.
bool SearchResultsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Group *group = GroupOf(index);
    if (!m_preview || role != Qt::CheckStateRole || !group || group->problems)
        return false;
    const bool chosen = value.toInt() == Qt::Checked;
    const QModelIndex fileRow = index.internalPointer() ? index.parent() : index;
    if (index.internalPointer()) {
        group->file.hits[index.row()].chosen = chosen;
        emit dataChanged(index, index, {Qt::CheckStateRole});
    } else {
        for (LineHit &hit : group->file.hits)
            hit.chosen = chosen;
        if (group->Rows() > 0)
            emit dataChanged(this->index(0, 0, fileRow), this->index(group->Rows() - 1, 0, fileRow), {Qt::CheckStateRole});
    }
    emit dataChanged(fileRow, fileRow, {Qt::CheckStateRole});
    return true;
}

void SearchResultsModel::Add(const QList<FileHits> &files)
{
    for (const FileHits &file : files) {
        auto place = std::upper_bound(m_groups.begin(), m_groups.end(), file.order,
                                      [](qint64 order, const std::unique_ptr<Group> &g) { return order < g->Order(); });
        const int row = int(place - m_groups.begin());
        beginInsertRows(QModelIndex(), row, row);
        auto group = std::make_unique<Group>();
        group->file = file;
        m_groups.insert(place, std::move(group));
        m_hitCount += file.hits.size();
        endInsertRows();
    }
}

void SearchResultsModel::SetProblems(const QList<FileProblem> &problems)
{
    if (!m_groups.empty() && m_groups.back()->problems) {
        const int row = int(m_groups.size()) - 1;
        beginRemoveRows(QModelIndex(), row, row);
        m_groups.pop_back();
        endRemoveRows();
    }
    if (problems.isEmpty())
        return;
    const int row = int(m_groups.size());
    beginInsertRows(QModelIndex(), row, row);
    auto group = std::make_unique<Group>();
    group->problems = true;
    group->problemList = problems;
    m_groups.push_back(std::move(group));
    endInsertRows();
}

int SearchResultsModel::FileCount() const
{
    return int(m_groups.size()) - (!m_groups.empty() && m_groups.back()->problems ? 1 : 0);
}

QList<FileHits> SearchResultsModel::Files() const
{
    QList<FileHits> files;
    for (const auto &group : m_groups)
        if (!group->problems)
            files.append(group->file);
    return files;
}

// A file's row has no internal pointer; a hit's row points to its file.
SearchResultsModel::Group *SearchResultsModel::GroupOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return nullptr;
    if (auto *parent = static_cast<Group *>(index.internalPointer()))
        return parent;
    return index.row() < int(m_groups.size()) ? m_groups[size_t(index.row())].get() : nullptr;
}

int SearchResultsModel::RowOf(const Group *group) const
{
    auto place = std::lower_bound(m_groups.begin(), m_groups.end(), group->Order(),
                                  [](const std::unique_ptr<Group> &g, qint64 order) { return g->Order() < order; });
    return int(place - m_groups.begin());
}

const FileHits *SearchResultsModel::FileAt(const QModelIndex &index) const
{
    const Group *group = GroupOf(index);
    return group && !group->problems ? &group->file : nullptr;
}

const LineHit *SearchResultsModel::HitAt(const QModelIndex &index) const
{
    if (!index.isValid() || !index.internalPointer())
        return nullptr;
    const auto *group = static_cast<const Group *>(index.internalPointer());
    return group->problems ? nullptr : &group->file.hits[index.row()];
}

QModelIndex SearchResultsModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < int(m_groups.size()) ? createIndex(row, 0, nullptr) : QModelIndex();
    if (parent.internalPointer())
        return {};
    Group *group = m_groups[size_t(parent.row())].get();
    return row < group->Rows() ? createIndex(row, 0, group) : QModelIndex();
}

QModelIndex SearchResultsModel::parent(const QModelIndex &child) const
{
    const auto *group = child.isValid() ? static_cast<const Group *>(child.internalPointer()) : nullptr;
    return group ? createIndex(RowOf(group), 0, nullptr) : QModelIndex();
}

int SearchResultsModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_groups.size());
    if (parent.internalPointer())
        return 0;
    return m_groups[size_t(parent.row())]->Rows();
}

int SearchResultsModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant SearchResultsModel::data(const QModelIndex &index, int role) const
{
    const Group *group = GroupOf(index);
    if (!group)
        return {};
    const bool child = index.internalPointer() != nullptr;
    if (group->problems) {
        if (role == KindRole)
            return int(child ? Kind::Problem : Kind::ProblemGroup);
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        if (!child)
            return QStringLiteral("无法搜索的文件 (%1)").arg(group->problemList.size());
        const FileProblem &problem = group->problemList[index.row()];
        return QStringLiteral("%1：%2").arg(QDir::toNativeSeparators(problem.path), problem.reason);
    }
    if (m_preview && role == Qt::CheckStateRole) {
        if (child)
            return group->file.hits[index.row()].chosen ? Qt::Checked : Qt::Unchecked;
        const auto chosen = std::count_if(group->file.hits.cbegin(), group->file.hits.cend(),
                                          [](const LineHit &hit) { return hit.chosen; });
        return chosen == 0 ? Qt::Unchecked : chosen == group->file.hits.size() ? Qt::Checked : Qt::PartiallyChecked;
    }
    if (!child)
        return FileData(*group, role);
    return HitData(group->file.hits[index.row()], role);
}

QVariant SearchResultsModel::FileData(const Group &group, int role) const
{
    switch (role) {
    case KindRole:
        return int(Kind::File);
    case Qt::DisplayRole: {
        QString text = m_folder.relativeFilePath(group.file.path);
        if (group.file.encoding.codec != TextEncoding::Utf8)
            text += QStringLiteral("  [%1]").arg(group.file.encoding.Name());
        if (group.file.fromEditor)
            text += QStringLiteral("  [已打开的文档]");
        return text + QStringLiteral("  (%1 处)").arg(group.file.hits.size());
    }
    case Qt::ToolTipRole:
        return group.file.path;
    case Qt::FontRole: {
        QFont font;
        font.setBold(true);
        return font;
    }
    default:
        return {};
    }
}

QVariant SearchResultsModel::HitData(const LineHit &hit, int role) const
{
    switch (role) {
    case KindRole:
        return int(Kind::Hit);
    case Qt::DisplayRole:
        return QStringLiteral("%1: %2").arg(hit.line + 1).arg(hit.text);
    case LineRole:
        return hit.line + 1;
    case HitTextRole:
        return hit.text;
    case HighlightFromRole:
        return hit.highlightFrom;
    case HighlightLengthRole:
        return hit.highlightLength;
    case PreviewRole:
        if (!m_preview)
            return {};
        return hit.text.left(hit.highlightFrom) + m_replacement + hit.text.mid(hit.highlightFrom + hit.highlightLength);
    default:
        return {};
    }
}
