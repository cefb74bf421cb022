#include "FindResultsDock.h"

#include "HitDelegate.h"
#include "SearchResultsModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

FindResultsDock::FindResultsDock(QWidget *parent)
    : QDockWidget(QStringLiteral("查找结果"), parent), m_model(new SearchResultsModel(this))
{
    setObjectName(QStringLiteral("dockFindResults"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);

    auto *panel = new QWidget(this);
    lblCount = new QLabel(panel);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    cmdStop = new QPushButton(QStringLiteral("停止"), panel);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    cmdStop->setEnabled(false);
    cmdReplace = new QPushButton(QStringLiteral("替换选中项(&R)"), panel);
    cmdReplace->setObjectName(QStringLiteral("cmdReplace"));
    cmdReplace->hide();
    tvwResults = new QTreeView(panel);
    tvwResults->setObjectName(QStringLiteral("tvwResults"));
    tvwResults->setModel(m_model);
    tvwResults->setItemDelegate(new HitDelegate(tvwResults));
    tvwResults->setHeaderHidden(true);
    tvwResults->setUniformRowHeights(true);
    tvwResults->setExpandsOnDoubleClick(false); // a double-click shows the file
    tvwResults->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto *status = new QHBoxLayout;
    status->addWidget(lblCount, 1);
    status->addWidget(cmdReplace);
    status->addWidget(cmdStop);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addLayout(status);
    layout->addWidget(tvwResults, 1);
    setWidget(panel);

    connect(cmdStop, &QPushButton::clicked, this, &FindResultsDock::StopRequested);
    connect(cmdReplace, &QPushButton::clicked, this, &FindResultsDock::ReplaceRequested);
    connect(tvwResults, &QTreeView::activated, this, &FindResultsDock::Activate);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &FindResultsDock::ExpandNewFiles);
}

void FindResultsDock::SearchStarted(const QString &folder)
{
    m_model->Clear(folder);
    m_filesSearched = 0;
    cmdStop->setEnabled(true);
    cmdReplace->hide();
    lblCount->setText(QStringLiteral("正在搜索 %1 …").arg(folder));
}

void FindResultsDock::ShowProgress(qint64 filesSearched)
{
    m_filesSearched = filesSearched;
    lblCount->setText(QStringLiteral("正在搜索… ") + CountText());
}

void FindResultsDock::SearchFinished(const QString &summary)
{
    cmdStop->setEnabled(false);
    cmdReplace->setVisible(m_model->IsReplacePreview());
    cmdReplace->setEnabled(m_model->HitCount() > 0);
    lblCount->setText(summary);
}

void FindResultsDock::ShowMessage(const QString &text)
{
    lblCount->setText(text);
}

QString FindResultsDock::Message() const
{
    return lblCount->text();
}

QString FindResultsDock::CountText() const
{
    return QStringLiteral("找到 %1 处，在 %2 个文件中（已搜索 %3 个文件）")
        .arg(m_model->HitCount())
        .arg(m_model->FileCount())
        .arg(m_filesSearched);
}

void FindResultsDock::ExpandNewFiles(const QModelIndex &parent, int first, int last)
{
    if (parent.isValid())
        return;
    for (int row = first; row <= last; ++row)
        tvwResults->expand(m_model->index(row, 0));
}

void FindResultsDock::Activate(const QModelIndex &index)
{
    const FileHits *file = m_model->FileAt(index);
    if (!file || file->hits.isEmpty())
        return;
    const LineHit *hit = m_model->HitAt(index);
    emit HitChosen(*file, hit ? *hit : file->hits.front());
}

bool FindResultsDock::Step(int direction)
{
    // Every hit in the order of the list, as (file row, hit row).
    QList<QModelIndex> hits;
    for (int file = 0; file < m_model->rowCount(); ++file) {
        const QModelIndex parent = m_model->index(file, 0);
        if (!m_model->FileAt(parent))
            continue;
        for (int row = 0; row < m_model->rowCount(parent); ++row)
            hits << m_model->index(row, 0, parent);
    }
    if (hits.isEmpty())
        return false;
    const QModelIndex current = tvwResults->currentIndex();
    qsizetype at = hits.indexOf(current);
    if (at < 0) {
        // On a file's row, or nowhere: the file's first hit is next, the hit
        // before it previous.
        const QModelIndex fileRow = current.isValid() && !current.parent().isValid() ? current : QModelIndex();
        const qsizetype first = fileRow.isValid() ? hits.indexOf(m_model->index(0, 0, fileRow)) : -1;
        at = first >= 0 ? (direction > 0 ? first - 1 : first) : (direction > 0 ? -1 : 0);
    }
    const qsizetype next = ((at + direction) % hits.size() + hits.size()) % hits.size();
    tvwResults->setCurrentIndex(hits[next]);
    tvwResults->scrollTo(hits[next]);
    Activate(hits[next]);
    return true;
}
