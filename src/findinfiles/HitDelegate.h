#pragma once

#include <QStyledItemDelegate>

// Draws a hit's row: its line number, then the line with the match marked.
// Other rows are drawn as usual.
class HitDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
