#pragma once
// The small buttons of the base window's caption bar (help, minimize, maximize or restore, close),
// in the classic raised look. The button's text is its symbol-font character ("s" help,
// "0" minimize, "1" maximize, "2" restore, "r" close), drawn as a picture of our own.
#include <QToolButton>

class TCaptionButton : public QToolButton {
    Q_OBJECT
public:
    TCaptionButton(QChar glyph, const QString &hint, QWidget *parent);
    QSize sizeHint() const override { return {17, 15}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Draws the symbol of a caption-button character centred in box; an unknown character draws nothing.
void DrawCaptionGlyph(QPainter &p, const QRect &box, QChar glyph, const QColor &ink);
