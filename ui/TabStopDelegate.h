#pragma once
// A list line drawn the way a list box with one tab stop draws it: the text after each tab starts
// at the next multiple of the stop. The library's list (name, then date) and the chooser's file
// list (name, then description) draw their lines with it.
#include <QStyledItemDelegate>

class TTabStopDelegate : public QStyledItemDelegate {
public:
    // How tall a line is: exactly the given height, or at least it and never less than the
    // font's line plus two pixels, so that descenders and underscores are not cut.
    enum class RowHeight { Exact, AtLeast };

    TTabStopDelegate(RowHeight rule, int height, QObject *parent);

    // The stop in pixels; without room for one (0 or less) a tab is as wide as a space.
    void SetTabStop(int pixels) { tabStop_ = pixels; }
    int TabStop() const { return tabStop_; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    RowHeight rule_;
    int height_;
    int tabStop_ = 0;
};

// Where the text after a tab starts when the text before it ends x pixels into the line: the next
// multiple of stop past x (stop > 0).
int NextTabStop(int x, int stop);
