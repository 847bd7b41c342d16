#include "ui/TabStopDelegate.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

TTabStopDelegate::TTabStopDelegate(RowHeight rule, int height, QObject *parent)
    : QStyledItemDelegate(parent), rule_(rule), height_(height)
{
}

int NextTabStop(int x, int stop)
{
    return (std::max(x, 0) / stop + 1) * stop;
}

void TTabStopDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString line = opt.text;
    opt.text.clear();
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QFontMetrics metrics(opt.font);
    const int stop = tabStop_ > 0 ? tabStop_ : metrics.horizontalAdvance(QLatin1Char(' '));
    const QRect area = opt.rect.adjusted(2, 0, -2, 0);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                                      opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(opt.rect);
    int x = 0;
    const QStringList parts = line.split(u'\t');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            x = NextTabStop(x, stop);
        painter->drawText(area.adjusted(x, 0, 0, 0), flags, parts[i]);
        x += metrics.horizontalAdvance(parts[i]);
    }
    painter->restore();
}

QSize TTabStopDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int width = QStyledItemDelegate::sizeHint(option, index).width();
    if (rule_ == RowHeight::Exact)
        return {width, height_};
    return {width, std::max(height_, option.fontMetrics.height() + 2)};
}
