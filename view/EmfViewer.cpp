#include "view/EmfViewer.h"

#include "platform/metafile/PageMetafile.h"
#include "view/JumpGlyphs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

namespace {

constexpr int kButtonHeight = 15;
constexpr int kLineStep = 30;
// Gap between sheets in the strip and the sheet's offset inside its slot.
constexpr int kGap = 10;
constexpr int kInset = 5;
const QColor kSilver(192, 192, 192);

QToolButton *MakeJumpButton(QWidget *parent, const QImage &glyph, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setIcon(QIcon(QPixmap::fromImage(glyph)));
    button->setIconSize(glyph.size());
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    return button;
}

// A scroll bar that repaints after a change only when it would look different. While a long
// printout is being built its range grows with every page, and once the thumb is at its smallest
// that changes nothing on screen: a repaint per page would cost more than the page itself.
class TStripScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        painted_ = Look();
        QScrollBar::paintEvent(event);
    }
    void sliderChange(SliderChange change) override
    {
        if (painted_ && *painted_ == Look())
            return;
        QScrollBar::sliderChange(change);
    }

private:
    // What the style draws from the range and the value: the thumb and the arrows' states.
    struct TLook {
        QRect thumb;
        bool atMinimum = false;
        bool atMaximum = false;
        bool operator==(const TLook &) const = default;
    };
    TLook Look() const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
                value() == minimum(), value() == maximum()};
    }

    std::optional<TLook> painted_;
};

// Found text shows through a translucent box a little larger than its letters; the current one is
// orange.
void DrawMarks(QPainter &painter, const QList<TPageMark> &marks, const QRect &content, QSize pageSize)
{
    if (marks.isEmpty() || pageSize.isEmpty())
        return;
    const double sx = double(content.width()) / pageSize.width(), sy = double(content.height()) / pageSize.height();
    painter.save();
    painter.setPen(Qt::NoPen);
    for (const TPageMark &mark : marks) {
        const QRectF box(content.left() + mark.Rect.left() * sx, content.top() + mark.Rect.top() * sy,
                         mark.Rect.width() * sx, mark.Rect.height() * sy);
        painter.setBrush(mark.Current ? QColor(255, 128, 0, 140) : QColor(255, 230, 0, 110));
        painter.drawRect(box.adjusted(-1, -1, 1, 1));
    }
    painter.restore();
}

int ClampToInt(qint64 v)
{
    return int(std::clamp<qint64>(v, 0, INT_MAX));
}

} // namespace

TEmfViewer::TEmfViewer(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    // The whole client area is painted from the off-screen bitmap: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);

    // "Small Fonts" 6 pt does not exist here; a small sans face at the same size (8 pixels).
    pageNrFont_ = QFont(QStringLiteral("Liberation Sans"));
    pageNrFont_.setPixelSize(8);
    pageNrFont_.setHintingPreference(QFont::PreferNoHinting);

    btnTop_ = MakeJumpButton(this, GridHdrTopGlyph(), QString::fromUtf8("Przejście na początek"));
    btnBottom_ = MakeJumpButton(this, GridHdrBottomGlyph(), QString::fromUtf8("Przejście na koniec"));
    connect(btnTop_, &QToolButton::clicked, this, [this] { SendKey(Qt::Key_Home); });
    connect(btnBottom_, &QToolButton::clicked, this, [this] { SendKey(Qt::Key_End); });

    vert_ = new TStripScrollBar(Qt::Vertical, this);
    horz_ = new QScrollBar(Qt::Horizontal, this);
    for (QScrollBar *bar : {vert_, horz_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setRange(0, 0);
        bar->setSingleStep(kLineStep);
        connect(bar, &QScrollBar::valueChanged, this, [this] { ScrollChanged(); });
    }
    // Never shown: it only holds the horizontal offset.
    horz_->hide();
}

TEmfViewer::~TEmfViewer() = default;

void TEmfViewer::SetZoomLevel(TEmfZoomLevel level)
{
    if (level == zoom_)
        return;
    zoom_ = level;
    UpdateLayout(true);
    if (OnZoom)
        OnZoom();
}

void TEmfViewer::SetMargin(int &margin, int mm)
{
    if (margin == mm)
        return;
    margin = mm;
    update();
    // At zoomTextW the page size depends on the margins; elsewhere only the content area changes.
    if (zoom_ == zoomTextW)
        UpdateLayout(true);
}

void TEmfViewer::SetMargLeft(int mm)
{
    SetMargin(margLeft_, mm);
}

void TEmfViewer::SetMargRight(int mm)
{
    SetMargin(margRight_, mm);
}

void TEmfViewer::SetMargTop(int mm)
{
    SetMargin(margTop_, mm);
}

void TEmfViewer::SetMargBottom(int mm)
{
    SetMargin(margBottom_, mm);
}

void TEmfViewer::SetShowPageNr(bool show)
{
    if (show == showPageNr_)
        return;
    showPageNr_ = show;
    update();
}

void TEmfViewer::SetShowMarg(bool show)
{
    if (show == showMarg_)
        return;
    showMarg_ = show;
    update();
}

int TEmfViewer::PageNr() const
{
    return int(std::trunc(ScreenToPage(cw_ / 2, ch_ / 2).Y)) + 1;
}

void TEmfViewer::SetPageNr(int n)
{
    SetVert((qint64(n) - 1) * (ph_ + kGap));
}

int TEmfViewer::AddPage(platform::PageMetafile *page)
{
    pages_.append(page);
    // While a long printout is being built the view stays on its first pages: a page added below
    // them changes only the scroll range, and repainting the view for it would cost a page play.
    const TVisiblePages visible = VisiblePages(VertPos(), ph_, ch_, PageCount());
    UpdateLayout(false, visible.First + visible.Count >= PageCount());
    if (OnChange)
        OnChange();
    return int(pages_.size()) - 1;
}

void TEmfViewer::ClearPages()
{
    if (pages_.isEmpty())
        return;
    pages_.clear();
    UpdateLayout(false);
    if (OnChange)
        OnChange();
}

void TEmfViewer::FreePages()
{
    for (platform::PageMetafile *&page : pages_) {
        delete page;
        page = nullptr;
    }
    ClearPages();
}

void TEmfViewer::ZoomIn()
{
    if (zoom_ != zoomExtra3)
        SetZoomLevel(TEmfZoomLevel(zoom_ + 1));
}

void TEmfViewer::ZoomOut()
{
    if (zoom_ != zoomPageH)
        SetZoomLevel(TEmfZoomLevel(zoom_ - 1));
    if (zoom_ == zoomPageH)
        SnapToPage();
}

void TEmfViewer::SnapToPage()
{
    const float fy = ScreenToPage(cw_ / 2, ch_ / 2).Y;
    SetVert(qint64(std::trunc(fy)) * (ph_ + kGap));
}

void TEmfViewer::ShowPageArea(int index, const QRectF &area, int covered)
{
    if (index < 0 || index >= PageCount() || !pages_[index])
        return;
    const QSize size = pages_[index]->Size();
    if (size.isEmpty())
        return;
    // In strip pixels: the sheet's slot starts at index * pitch, the sheet kInset into it.
    const QRect content = ContentRect(kInset, int(kInset + qint64(index) * (ph_ + kGap)));
    const double top = content.top() + area.top() * content.height() / size.height();
    const double bottom = content.top() + area.bottom() * content.height() / size.height();
    const int seen = std::max(1, ch_ - covered);
    if (top < VertPos() || bottom > VertPos() + seen)
        SetVert(qint64(std::lround((top + bottom - seen) / 2)));
    if (zoom_ >= zoomExtra1 && pw_ > cw_) {
        const double left = content.left() + area.left() * content.width() / size.width();
        const double right = content.left() + area.right() * content.width() / size.width();
        if (left < HorzPos() || right > HorzPos() + cw_)
            SetHorz(qint64(std::lround((left + right - cw_) / 2)));
    }
}

TPagePoint TEmfViewer::ScreenToPage(int x, int y) const
{
    const int c = pw_ < cw_ ? (cw_ - pw_) / 2 : 0;
    const qint64 pitch = ph_ + kGap;
    const qint64 sy = qint64(y) + VertPos();
    TPagePoint point;
    point.X = float(qint64(x) + HorzPos() - c - kInset) / float(pw_);
    point.Y = float(sy / pitch) + float(sy % pitch - kInset) / float(ph_);
    return point;
}

void TEmfViewer::ScrollToPagePoint(int x, int y, TPagePoint point)
{
    if (zoom_ >= zoomExtra1)
        SetHorz(qint64(std::nearbyint(double(pw_) * point.X)) + kInset - x);
    const double page = std::trunc(double(point.Y));
    const double frac = double(point.Y) - page;
    SetVert(qint64(std::nearbyint(page * (ph_ + kGap))) + kInset + qint64(std::nearbyint(frac * ph_)) - y);
}

int TEmfViewer::HorzPos() const
{
    return horz_->value();
}

int TEmfViewer::VertPos() const
{
    return vert_->value();
}

int TEmfViewer::HorzRange() const
{
    return horz_->maximum();
}

int TEmfViewer::VertRange() const
{
    return vert_->maximum();
}

int TEmfViewer::ScrollBarWidth() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vert_);
}

void TEmfViewer::SetHorz(qint64 h)
{
    horz_->setValue(int(std::clamp<qint64>(h, 0, horz_->maximum())));
}

void TEmfViewer::SetVert(qint64 v)
{
    vert_->setValue(int(std::clamp<qint64>(v, 0, vert_->maximum())));
}

void TEmfViewer::ScrollChanged()
{
    update();
    if (OnMove)
        OnMove();
}

void TEmfViewer::UpdateLayout(bool rescale, bool repaint)
{
    const int sbw = ScrollBarWidth();
    cw_ = std::max(0, width() - sbw);
    ch_ = height();

    btnTop_->setGeometry(cw_, 0, sbw, kButtonHeight);
    btnBottom_->setGeometry(cw_, kButtonHeight, sbw, kButtonHeight);
    vert_->setGeometry(cw_, 2 * kButtonHeight, sbw, std::max(0, height() - 2 * kButtonHeight));
    horz_->setGeometry(0, ch_, cw_, 0);

    const TPageSize size = PageSizeForZoom(zoom_, cw_, ch_, margLeft_, margRight_);
    pw_ = size.Width;
    ph_ = size.Height;

    const int oldH = HorzPos();
    const int oldV = VertPos();
    // New ranges and positions are set quietly; one notification follows if the view moved.
    auto place = [rescale](QScrollBar *bar, qint64 range, int pageStep) {
        const int newRange = ClampToInt(range);
        const int oldRange = bar->maximum();
        qint64 pos = bar->value();
        // Rescaling keeps the view at the same relative place in the strip.
        if (rescale && oldRange != 0)
            pos = NearestRatio(pos * newRange, oldRange);
        const QSignalBlocker blocker(bar);
        bar->setRange(0, newRange);
        bar->setValue(int(std::clamp<qint64>(pos, 0, newRange)));
        bar->setPageStep(std::max(1, pageStep));
    };
    place(horz_, qint64(pw_) + kGap - cw_, cw_);
    place(vert_, qint64(PageCount()) * (ph_ + kGap) - ch_, ch_);

    if (zoom_ <= zoomPageW) {
        const QSignalBlocker blocker(horz_);
        horz_->setValue(0);
    } else if (zoom_ == zoomTextW) {
        // Puts the left edge of the text area 2 pixels from the view's left edge.
        const QSignalBlocker blocker(horz_);
        SetHorz(NearestRatio(qint64(pw_) * margLeft_, kSheetWidthMm) + 3);
    }

    if (HorzPos() != oldH || VertPos() != oldV)
        ScrollChanged();
    else if (repaint)
        update();
}

void TEmfViewer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UpdateLayout(true);
}

void TEmfViewer::paintEvent(QPaintEvent *event)
{
    QPainter screen(this);
    // The column of the jump buttons and the scroll bar shows through their rounded corners.
    screen.fillRect(QRect(cw_, 0, width() - cw_, height()), kSilver);
    // A repaint of the scroll bar alone (its range grows with every page added) passes through
    // here too: the pages are drawn only when the view itself needs it.
    if (cw_ <= 0 || ch_ <= 0 || !event->region().intersects(QRect(0, 0, cw_, ch_)))
        return;
    const qreal dpr = devicePixelRatioF();
    const QSize pixels(int(std::ceil(cw_ * dpr)), int(std::ceil(ch_ * dpr)));
    if (buffer_.size() != pixels) {
        buffer_ = QImage(pixels, QImage::Format_RGB32);
        buffer_.setDevicePixelRatio(dpr);
    }
    {
        QPainter painter(&buffer_);
        Render(painter);
    }
    // One copy to the screen: nothing flickers while scrolling or dragging.
    screen.drawImage(0, 0, buffer_);
}

void TEmfViewer::Render(QPainter &painter) const
{
    painter.fillRect(QRect(0, 0, cw_, ch_), kSilver);
    painter.setFont(pageNrFont_);
    // Only pages that intersect the view: from the first visible one down to the bottom edge.
    const TVisiblePages visible = VisiblePages(VertPos(), ph_, ch_, PageCount());
    const int x = pw_ <= cw_ ? (cw_ - pw_) / 2 : kInset - HorzPos();
    for (int k = 0; k < visible.Count; ++k)
        DrawPage(painter, visible.First + k, x, int(visible.Top + qint64(k) * (ph_ + kGap)));
}

QRect TEmfViewer::ContentRect(int left, int top) const
{
    const int mL = int(NearestRatio(qint64(margLeft_) * pw_, kSheetWidthMm));
    const int mR = int(NearestRatio(qint64(margRight_) * pw_, kSheetWidthMm));
    const int mT = int(NearestRatio(qint64(margTop_) * ph_, kSheetHeightMm));
    const int mB = int(NearestRatio(qint64(margBottom_) * ph_, kSheetHeightMm));
    return QRect(left + mL, top + mT, pw_ - mL - mR, ph_ - mT - mB);
}

void TEmfViewer::DrawPage(QPainter &painter, int index, int left, int top) const
{
    const int right = left + pw_;

    // Shadow, then the sheet with its 1-pixel border over it.
    painter.fillRect(QRect(left + 4, top + 4, pw_, ph_), Qt::black);
    painter.fillRect(QRect(left - 1, top - 1, pw_ + 2, ph_ + 2), Qt::black);
    painter.fillRect(QRect(left, top, pw_, ph_), Qt::white);

    const QRect content = ContentRect(left, top);
    const platform::PageMetafile *page = pages_[index];
    if (page && content.width() > 0 && content.height() > 0) {
        page->Play(painter, content);
        if (OnPageMarks)
            DrawMarks(painter, OnPageMarks(index), content, page->Size());
    }

    if (showMarg_) {
        // A GDI-style dotted cosmetic pen: 3 pixels on, 3 off.
        QPen pen(kSilver, 1);
        pen.setCosmetic(true);
        pen.setDashPattern({3, 3});
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        // The frame runs one pixel outside the content area on every side.
        painter.drawRect(content.adjusted(-1, -1, 0, 0));
    }

    if (showPageNr_) {
        const QString text = QStringLiteral("-  strona %1 -").arg(index + 1);
        const QFontMetrics metrics(pageNrFont_);
        const int textLeft = (left + right - metrics.horizontalAdvance(text)) / 2;
        painter.setPen(Qt::red);
        painter.drawText(QPoint(textLeft, top + metrics.ascent()), text);
    }
}

void TEmfViewer::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        leftDown_ = true;
    else if (event->button() == Qt::RightButton)
        rightDown_ = true;
    else
        return QWidget::mousePressEvent(event);
    // The dead zone is measured from the press, even when no move came before it.
    last_ = event->position().toPoint();
    event->accept();
}

void TEmfViewer::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (!leftDown_) {
        last_ = pos;
        return;
    }
    if (!dragging_ && std::abs(pos.x() - last_.x()) <= 2 && std::abs(pos.y() - last_.y()) <= 2)
        return;
    dragging_ = true;
    // The page follows the pointer at three times its speed.
    if (zoom_ >= zoomExtra1)
        SetHorz(qint64(HorzPos()) + qint64(last_.x() - pos.x()) * 3);
    SetVert(qint64(VertPos()) + qint64(last_.y() - pos.y()) * 3);
    last_ = pos;
}

void TEmfViewer::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && leftDown_) {
        leftDown_ = false;
        if (dragging_) {
            dragging_ = false;
            return;
        }
        const TPagePoint anchor = ScreenToPage(pos.x(), pos.y());
        ZoomIn();
        ScrollToPagePoint(pos.x(), pos.y(), anchor);
    } else if (event->button() == Qt::RightButton && rightDown_) {
        rightDown_ = false;
        const TPagePoint anchor = ScreenToPage(pos.x(), pos.y());
        ZoomOut();
        ScrollToPagePoint(pos.x(), pos.y(), anchor);
    } else {
        QWidget::mouseReleaseEvent(event);
    }
}

void TEmfViewer::wheelEvent(QWheelEvent *event)
{
    // 120 per notch, 90 pixels a notch; turning away from the user moves towards the first page.
    const int delta = event->angleDelta().y();
    if (event->modifiers() == Qt::ControlModifier) {
        // With Ctrl a notch is a zoom step around the pointer, as a click is; a touchpad's small
        // steps add up to a notch.
        wheelZoom_ += delta;
        const QPoint pos = event->position().toPoint();
        while (std::abs(wheelZoom_) >= 120) {
            const TPagePoint anchor = ScreenToPage(pos.x(), pos.y());
            if (wheelZoom_ > 0)
                ZoomIn();
            else
                ZoomOut();
            ScrollToPagePoint(pos.x(), pos.y(), anchor);
            wheelZoom_ -= wheelZoom_ > 0 ? 120 : -120;
        }
        event->accept();
        return;
    }
    SetVert(qint64(VertPos()) - NearestRatio(qint64(delta) * 3 * kLineStep, 120));
    event->accept();
}

bool TEmfViewer::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers shift = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool horizontalAllowed = zoom_ >= zoomExtra1;
    if (shift == Qt::ControlModifier) {
        if (key != Qt::Key_End && key != Qt::Key_Home)
            return false;
        if (horizontalAllowed)
            SetHorz(key == Qt::Key_End ? HorzRange() : 0);
        return true;
    }
    if (shift != Qt::NoModifier)
        return false;

    // With Num Lock on the keypad sends digits and signs; without it, the navigation keys.
    if (modifiers & Qt::KeypadModifier) {
        switch (key) {
        case Qt::Key_9:
            key = Qt::Key_PageUp;
            break;
        case Qt::Key_3:
            key = Qt::Key_PageDown;
            break;
        case Qt::Key_7:
            key = Qt::Key_Home;
            break;
        case Qt::Key_1:
            key = Qt::Key_End;
            break;
        case Qt::Key_8:
            key = Qt::Key_Up;
            break;
        case Qt::Key_2:
            key = Qt::Key_Down;
            break;
        case Qt::Key_4:
            key = Qt::Key_Left;
            break;
        case Qt::Key_6:
            key = Qt::Key_Right;
            break;
        case Qt::Key_Asterisk:
            SetZoomLevel(zoomPageW);
            return false;
        case Qt::Key_Plus:
            ZoomIn();
            return false;
        case Qt::Key_Minus:
            ZoomOut();
            return false;
        // The decimal key is a comma on Polish and many other layouts.
        case Qt::Key_Period:
        case Qt::Key_Comma:
            SnapToPage();
            return false;
        case Qt::Key_Slash:
            SetZoomLevel(zoomPageH);
            return false;
        default:
            break;
        }
    }
    switch (key) {
    case Qt::Key_PageUp:
        SetVert(qint64(VertPos()) - vert_->pageStep());
        return true;
    case Qt::Key_PageDown:
        SetVert(qint64(VertPos()) + vert_->pageStep());
        return true;
    case Qt::Key_Home:
        SetVert(0);
        return true;
    case Qt::Key_End:
        SetVert(VertRange());
        return true;
    case Qt::Key_Up:
        SetVert(qint64(VertPos()) - kLineStep);
        return true;
    case Qt::Key_Down:
        SetVert(qint64(VertPos()) + kLineStep);
        return true;
    case Qt::Key_Left:
        if (horizontalAllowed)
            SetHorz(qint64(HorzPos()) - kLineStep);
        return true;
    case Qt::Key_Right:
        if (horizontalAllowed)
            SetHorz(qint64(HorzPos()) + kLineStep);
        return true;
    default:
        return false;
    }
}

void TEmfViewer::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    if (HandleKey(key, event->modifiers()))
        key = 0;
    if (OnKeyDown)
        OnKeyDown(key, event->modifiers());
    if (key == 0)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void TEmfViewer::SendKey(int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &press);
}
