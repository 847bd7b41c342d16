#pragma once
// TWenBtn: the program's owner-drawn button. It shows its own two-state picture or a keyboard-key
// symbol on a coloured plate, with a caption stacked under, beside or (turned) above the picture,
// a hover frame, a latched "down" state and an accelerator taken from its caption.
#include "ui/Edge.h"
#include "ui/WenBtnTyp.h"

#include <QPixmap>
#include <QWidget>
#include <array>
#include <functional>

class TWenBtn;

// Extra drawing after the caption: the painter of the paint buffer and the inner rectangle.
using TWenBtnPaint = std::function<void(TWenBtn *sender, QPainter &canvas, const QRect &rect)>;

class TWenBtn : public QWidget {
    Q_OBJECT
public:
    enum class TLayout { Stacked, SideBySide, Vertical };

    explicit TWenBtn(QWidget *parent = nullptr);

    TWenBtnTyp Typ() const { return typ_; }
    void SetTyp(TWenBtnTyp typ);
    int Kolor() const { return kolor_; }
    void SetKolor(int kolor); // clamped to 0 ... 4
    QString Opis() const { return opis_; }
    void SetOpis(const QString &opis);
    int Margines() const { return margines_; }
    void SetMargines(int margines);
    QColor ColorDown() const { return colorDown_; }
    void SetColorDown(const QColor &colour);
    bool Down() const { return down_; }
    void SetDown(bool down);
    const QPixmap &Ikonka() const { return ikonka_; }
    void SetIkonka(const QPixmap &ikonka); // left half enabled, right half disabled
    bool ShowFrame() const { return showFrame_; }
    void SetShowFrame(bool show);
    QColor Color() const;
    void SetColor(const QColor &colour);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    QString Hint() const { return hint_; }
    void SetHint(const QString &hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    TWenBtnPaint OnPaint;

    // The click event, then hot and mouse-held cleared and a repaint, also when the event raises.
    void Click();
    // Click only when the button is visible and enabled (accelerator keys).
    void ClickIfUsable();

    bool Hot() const { return hot_; }
    bool MouseHeld() const { return mouseHeld_; }

    // The geometry the painting uses, for the window code and for checks.
    TLayout Layout() const;
    bool PressedLook() const { return (hot_ && mouseHeld_) || down_; }
    QSize PictureSize() const;
    QRect PictureRect() const;
    QRect CaptionRect() const; // the area the caption is laid out in (empty without a caption)
    // Index into the edge table, or -1 when only the invisible outline is drawn.
    int EdgeIndex() const;
    // The edge table chosen by the system colours: 3D light equal to button face or not.
    static std::array<TEdgeStyle, 4> EdgeTable(const QPalette &palette);

    // Paints the whole button into an image of its size, exactly as the screen shows it.
    QImage Render() const;

Q_SIGNALS:
    void clicked();
    void mouseEnter();
    void mouseLeave();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void PaintTo(QPainter &p) const;
    void PaintCaption(QPainter &p, const QRect &area, int flags, bool rotated) const;
    bool OwnPictureEmpty() const { return typ_ == TWenBtnTyp::sbWlasny && ikonka_.isNull(); }
    void UpdateShortcut();

    TWenBtnTyp typ_ = TWenBtnTyp::sbWlasny;
    int kolor_ = 0;
    QString opis_;
    int margines_ = 2;
    QColor colorDown_;
    bool down_ = false;
    QPixmap ikonka_;
    QImage ikonkaParts_[2]; // enabled, disabled
    bool showFrame_ = true;
    QColor color_;
    bool parentColor_ = false;
    QString hint_;
    bool showHint_ = false;
    bool hot_ = false;
    bool mouseHeld_ = false;
    int shortcutId_ = 0;
};
