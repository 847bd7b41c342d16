#pragma once
// TPanelEx: a panel that hands the decisions a borderless window needs (hit testing, cursor,
// moving and sizing by the mouse) to events, and paints a word-wrapped second caption without
// flicker. It also offers the classic panel's bevels, border width and centred caption.
#include <QFrame>
#include <functional>
#include <optional>

// Hit-test codes in the numbering of the Windows non-client messages, so that window code can
// speak of caption, borders and corners the usual way.
enum THitCode : int {
    HTTRANSPARENT = -1,
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
    HTBORDER = 18,
};

enum class TPanelBevel { None, Lowered, Raised };

// Lines of text broken the way an edit control breaks them: at CR, LF and CR LF, at blanks when a
// line is too wide, and inside a word wider than the width at the last character that fits.
QStringList WrapEditControl(const QString &text, const QFontMetrics &metrics, int width);

// The mouse pointer over a frame edge or corner of the given hit code (HTLEFT ... HTBOTTOMRIGHT).
Qt::CursorShape SizingCursor(int code);

class TPanelEx : public QFrame {
    Q_OBJECT
public:
    explicit TPanelEx(QWidget *parent = nullptr);

    // Classic panel properties.
    QString Caption() const { return caption_; }
    void SetCaption(const QString &caption);
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    QColor Color() const;
    void SetColor(const QColor &colour);

    QString Caption2() const { return caption2_; }
    void SetCaption2(const QString &caption);
    bool AutoHeight() const { return autoHeight_; }
    void SetAutoHeight(bool autoHeight);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int minWidth) { minWidth_ = minWidth; }

    // Hooks; an empty one is not called.
    std::function<void(TPanelEx *, int x, int y, int &hitCode)> OnHitTest;
    std::function<void(TPanelEx *, int hitCode, std::optional<Qt::CursorShape> &cursor)> OnSetCursor;
    std::function<void(TPanelEx *, QRect &dragged)> OnPanelMove;
    std::function<void(TPanelEx *, QRect &dragged)> OnPanelResize;
    std::function<void(TPanelEx *)> OnExitSizeMove;
    std::function<void(TPanelEx *, bool &erase)> OnEraseBkgnd;
    std::function<void(TPanelEx *, QPainter &canvas, bool &paintNormally)> OnBeforePaint;
    std::function<void(TPanelEx *, QPainter &canvas)> OnAfterPaint;
    std::function<void(TPanelEx *)> OnNCLMouseUp;
    std::function<void(TPanelEx *)> OnNCLMouseDblClk;
    std::function<void(TPanelEx *, bool next)> OnNextDlgCtl;

    // The hit-test code of a point in panel coordinates: the client unless OnHitTest says otherwise.
    int HitTest(const QPoint &pos);
    // The client area shrunk by the bevels and the border: where child controls go.
    QRect InnerRect() const;
    // Whether a mouse-driven move or size is in progress.
    bool Dragging() const { return dragCode_ != HTNOWHERE; }

Q_SIGNALS:
    void mouseEnter();
    void mouseLeave();
    void keyDown(QKeyEvent *event);
    void keyUp(QKeyEvent *event);
    void keyPress(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void PaintNormally(QPainter &p);
    void PaintCaption2(QPainter &p);
    void UpdateMargins();
    void UpdateAutoHeight();
    void EndSizeMove();
    int Caption2Height() const;

    QString caption_;
    Qt::Alignment alignment_ = Qt::AlignCenter;
    TPanelBevel bevelOuter_ = TPanelBevel::Raised;
    TPanelBevel bevelInner_ = TPanelBevel::None;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QString caption2_;
    bool autoHeight_ = false;
    int minWidth_ = 0;

    bool cursorOverridden_ = false;
    bool hadOwnCursor_ = false;
    QCursor ownCursor_;
    int dragCode_ = HTNOWHERE;
    QPoint dragStartGlobal_;
    QRect dragStartGeometry_;
};
