#pragma once

#include <QDockWidget>

class QLabel;
class QPushButton;
class QTreeView;
class SearchResultsModel;
struct FileHits;
struct LineHit;

// The results of find in files, docked at the bottom of the main window:
// a line that counts what was found with a 停止 button while a search runs,
// and the hits grouped by file. Double-click or Enter on a hit (or on a
// file: its first hit) asks for it to be shown; Next and Previous walk the
// hits in order.
class FindResultsDock : public QDockWidget
{
    Q_OBJECT

public:
    explicit FindResultsDock(QWidget *parent = nullptr);

    SearchResultsModel *Model() const { return m_model; }
    QTreeView *View() const { return tvwResults; }

    // The count line and the stop button follow a search.
    void SearchStarted(const QString &folder);
    void ShowProgress(qint64 filesSearched);
    void SearchFinished(const QString &summary);
    void ShowMessage(const QString &text);
    QString Message() const;

    // The hit after (before) the current row, round the ends; shown as if
    // activated. False when there is no hit at all.
    bool Step(int direction);

    QLabel *lblCount;
    QPushButton *cmdStop;
    QPushButton *cmdReplace; // shown for a replace preview, once the search is over
    QTreeView *tvwResults;

signals:
    void StopRequested();
    void ReplaceRequested();
    void HitChosen(const FileHits &file, const LineHit &hit);

private:
    void Activate(const QModelIndex &index);
    void ExpandNewFiles(const QModelIndex &parent, int first, int last);
    QString CountText() const;

    SearchResultsModel *m_model;
    qint64 m_filesSearched = 0;
};
