#pragma once
// TEmfViewer: shows a printout's pages as a vertical strip of sheets on a grey background, scrolls and
// zooms them, and holds the page list that printing reads.
#include "core/Wydruki.h"
#include "view/PageMark.h"
#include "view/ViewerGeometry.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QWidget>

#include <functional>

class QScrollBar;
class QToolButton;

namespace platform {
class PageMetafile;
}

// A place in the page strip: X is the fraction of the page width, Y the page index (integer part)
// plus the fraction of the page height (fractional part). Single precision, as the strip maps it.
struct TPagePoint {
    float X = 0;
    float Y = 0;
};

class TEmfViewer : public QWidget, public TPageViewer {
    Q_OBJECT
public:
    // Events are plain callbacks, assigned by the owner (empty means none).
    using TNotifyEvent = std::function<void()>;
    // Called after the viewer's own key table with the key it left: 0 when the table consumed it.
    using TKeyEvent = std::function<void(int &key, Qt::KeyboardModifiers shift)>;

    explicit TEmfViewer(QWidget *parent = nullptr);
    ~TEmfViewer() override;

    TEmfZoomLevel ZoomLevel() const { return zoom_; }
    void SetZoomLevel(TEmfZoomLevel level);
    int MargLeft() const { return margLeft_; }
    void SetMargLeft(int mm);
    int MargRight() const { return margRight_; }
    void SetMargRight(int mm);
    int MargTop() const { return margTop_; }
    void SetMargTop(int mm);
    int MargBottom() const { return margBottom_; }
    void SetMargBottom(int mm);
    // 1-based number of the page under the centre of the view, from the geometry alone: it can exceed
    // PageCount when the strip is shorter than the view.
    int PageNr() const;
    // Scrolls page n's strip slot to the top; out-of-range numbers are clamped by the scroll range.
    void SetPageNr(int n);
    bool ShowPageNr() const { return showPageNr_; }
    void SetShowPageNr(bool show);
    bool ShowMarg() const { return showMarg_; }
    void SetShowMarg(bool show);

    TNotifyEvent OnZoom;   // after the zoom level changed
    TNotifyEvent OnMove;   // after the view scrolled, either direction
    TNotifyEvent OnChange; // after a page was added or the list was emptied
    TKeyEvent OnKeyDown;
    // The boxes to draw over page index (found text); unset means none.
    std::function<QList<TPageMark>(int index)> OnPageMarks;

    // The page list. The viewer does not own the pages: ClearPages and destruction leave them alive.
    int AddPage(platform::PageMetafile *page) override;
    void ClearPages();
    // Destroys every page of the list, then empties it.
    void FreePages();
    int PageCount() const { return int(pages_.size()); }
    const QList<platform::PageMetafile *> &Pages() const { return pages_; }

    void ZoomIn();
    // One level down; at zoomPageH (reached or already there) snaps so one whole page is in view.
    void ZoomOut();
    // Scrolls the page under the centre of the view to the top of its slot.
    void SnapToPage();

    // Scrolls, only when some of it is out of view, so that area of page index (page units) is in the
    // middle of the view; sideways only at zoomExtra1 and above. The bottom covered pixels of the view
    // (under a bar lying over it) do not count as in view.
    void ShowPageArea(int index, const QRectF &area, int covered = 0);

    TPagePoint ScreenToPage(int x, int y) const;
    // Scrolls so that the page point lies under client point (x, y); horizontally only at zoomExtra1
    // and above.
    void ScrollToPagePoint(int x, int y, TPagePoint point);

    // The geometry of the last layout, in pixels.
    int ClientWidth() const { return cw_; }
    int ClientHeight() const { return ch_; }
    int PageWidth() const { return pw_; }
    int PageHeight() const { return ph_; }
    int HorzPos() const;
    int VertPos() const;
    int HorzRange() const;
    int VertRange() const;
    int ScrollBarWidth() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Lays the strip out again; repaint false leaves the view alone when it has not moved.
    void UpdateLayout(bool rescale, bool repaint = true);
    void ScrollChanged();
    void SetMargin(int &margin, int mm);
    void SetHorz(qint64 h);
    void SetVert(qint64 v);
    // Runs the key table; returns true when the key was consumed.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    void SendKey(int key);
    void Render(QPainter &painter) const;
    void DrawPage(QPainter &painter, int index, int left, int top) const;
    // The area a page's picture is drawn into, for a sheet whose top left corner is at (left, top).
    QRect ContentRect(int left, int top) const;

    QList<platform::PageMetafile *> pages_;
    TEmfZoomLevel zoom_ = zoomPageW;
    int margLeft_ = 5;
    int margRight_ = 5;
    int margTop_ = 5;
    int margBottom_ = 10;
    bool showPageNr_ = true;
    bool showMarg_ = false;

    int cw_ = 0;
    int ch_ = 0;
    int pw_ = 1; // never 0: positions are divided by the page size
    int ph_ = 1;
    QImage buffer_;
    QFont pageNrFont_;

    int wheelZoom_ = 0; // Ctrl+wheel turned towards the next zoom step

    bool leftDown_ = false;
    bool rightDown_ = false;
    bool dragging_ = false;
    QPoint last_;

    QToolButton *btnTop_ = nullptr;
    QToolButton *btnBottom_ = nullptr;
    QScrollBar *vert_ = nullptr;
    QScrollBar *horz_ = nullptr;
};
