#include "HitDelegate.h"

#include "SearchResultsModel.h"

#include <QApplication>
#include <QPainter>

namespace {

const QColor MatchBackground(255, 226, 112);

} // namespace

void HitDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (index.data(SearchResultsModel::KindRole).toInt() != int(SearchResultsModel::Kind::Hit)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    // A tab is one character wide here, so the marked part stays in place.
    const QString text = index.data(SearchResultsModel::HitTextRole).toString().replace(QLatin1Char('\t'), QLatin1Char(' '));
    const int from = index.data(SearchResultsModel::HighlightFromRole).toInt();
    const int length = index.data(SearchResultsModel::HighlightLengthRole).toInt();
    const QString number = QStringLiteral("%1: ").arg(index.data(SearchResultsModel::LineRole).toLongLong());

    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorRole textRole = selected ? QPalette::HighlightedText : QPalette::Text;
    const QFontMetrics metrics(option.font);
    painter->save();
    painter->setClipRect(area);
    painter->setFont(option.font);
    int x = area.left();
    const int baseline = area.top() + (area.height() + metrics.ascent() - metrics.descent()) / 2;
    painter->setPen(option.palette.color(QPalette::Disabled, textRole));
    painter->drawText(x, baseline, number);
    x += metrics.horizontalAdvance(number);
    // A replace preview follows the line: what it becomes.
    const QString preview = index.data(SearchResultsModel::PreviewRole).toString();
    const QString after = preview.isNull() ? QString() : QStringLiteral("    →    ") + QString(preview).replace(QLatin1Char('\t'), QLatin1Char(' '));
    const QString pieces[] = {text.left(from), text.mid(from, length), text.mid(from + length) + after};
    for (int i = 0; i < 3; ++i) {
        const int width = metrics.horizontalAdvance(pieces[i]);
        if (i == 1 && length > 0) {
            painter->fillRect(QRect(x, area.top() + 1, std::max(width, 2), area.height() - 2), MatchBackground);
            painter->setPen(Qt::black);
        } else {
            painter->setPen(option.palette.color(QPalette::Active, textRole));
        }
        painter->drawText(x, baseline, pieces[i]);
        x += width;
        if (x > area.right())
            break;
    }
    painter->restore();
}
