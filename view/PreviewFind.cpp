#include "view/PreviewFind.h"

#include "platform/metafile/PageMetafile.h"
#include "view/EmfViewer.h"
#include "view/FindBar.h"

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QTimer>

namespace {

// One indexing step between other events: short enough that typing and scrolling stay smooth.
constexpr int kStepMs = 15;

} // namespace

TPreviewFind::TPreviewFind(TEmfViewer *viewer) : QObject(viewer), viewer_(viewer)
{
    bar_ = new TFindBar(viewer, [viewer] { return viewer->width() - viewer->ScrollBarWidth(); });
    bar_->setObjectName(QStringLiteral("findBar"));
    steps_ = new QTimer(this);
    steps_->setSingleShot(true);
    steps_->setInterval(0);
    connect(steps_, &QTimer::timeout, this, &TPreviewFind::Step);
    connect(bar_, &TFindBar::TextEdited, this, &TPreviewFind::TextEdited);
    connect(bar_, &TFindBar::NextClicked, this, &TPreviewFind::Next);
    connect(bar_, &TFindBar::PreviousClicked, this, &TPreviewFind::Previous);
    connect(bar_, &TFindBar::CloseClicked, this, &TPreviewFind::Close);
    viewer_->OnPageMarks = [this](int index) { return Marks(index); };
}

bool TPreviewFind::IsOpen() const
{
    return bar_->isVisible();
}

bool TPreviewFind::HasFocus() const
{
    return IsOpen() && bar_->Field()->hasFocus();
}

void TPreviewFind::Open()
{
    const bool wasOpen = IsOpen();
    bar_->Open();
    if (!wasOpen) {
        ShowCount();
        viewer_->update();
    }
    Schedule();
}

void TPreviewFind::Close()
{
    if (!IsOpen())
        return;
    bar_->hide();
    viewer_->setFocus(Qt::OtherFocusReason);
    viewer_->update();
}

void TPreviewFind::Next()
{
    if (!IsOpen())
        Open();
    if (find_.Next())
        ShowCurrent();
}

void TPreviewFind::Previous()
{
    if (!IsOpen())
        Open();
    if (find_.Previous())
        ShowCurrent();
}

void TPreviewFind::SetBuilding(bool building)
{
    building_ = building;
    Schedule();
}

void TPreviewFind::PagesChanged()
{
    if (viewer_->PageCount() < find_.IndexedPages()) {
        find_.Clear();
        find_.SetText(bar_->Text(), 0);
        ShowCount();
    }
    Schedule();
}

void TPreviewFind::Schedule()
{
    if (find_.IndexedPages() < viewer_->PageCount() && (IsOpen() || !building_))
        steps_->start();
}

void TPreviewFind::Step()
{
    IndexPages(QDeadlineTimer(kStepMs));
    Schedule();
}

void TPreviewFind::IndexAll()
{
    IndexPages(QDeadlineTimer(QDeadlineTimer::Forever));
}

void TPreviewFind::IndexPages(const QDeadlineTimer &deadline)
{
    const int before = find_.Count();
    bool madeCurrent = false;
    while (find_.IndexedPages() < viewer_->PageCount() && !deadline.hasExpired()) {
        const platform::PageMetafile *page = viewer_->Pages()[find_.IndexedPages()];
        madeCurrent |= page ? find_.AddPage(*page) : find_.AddPage(platform::PageMetafile());
    }
    if (!IsOpen())
        return;
    // The first match found scrolls into view; later ones only count and show.
    if (madeCurrent) {
        ShowCurrent();
    } else if (find_.Count() != before) {
        ShowCount();
        viewer_->update();
    }
}

void TPreviewFind::TextEdited(const QString &text)
{
    find_.SetText(text, std::clamp(viewer_->PageNr() - 1, 0, std::max(0, viewer_->PageCount() - 1)));
    if (find_.Current() >= 0)
        ShowCurrent();
    else
        ShowCount();
    viewer_->update();
}

void TPreviewFind::ShowCurrent()
{
    ShowCount();
    if (find_.Current() >= 0) {
        const TFoundText &found = find_.Found(find_.Current());
        const platform::PageMetafile *page = viewer_->Pages().value(found.Page);
        if (page)
            viewer_->ShowPageArea(found.Page, find_.CurrentRect(*page), bar_->height());
    }
    viewer_->update();
}

void TPreviewFind::ShowCount()
{
    bar_->ShowCount(find_.Current(), find_.Count());
}

QList<TPageMark> TPreviewFind::Marks(int index)
{
    if (!IsOpen() || find_.Count() == 0 || index >= find_.IndexedPages())
        return {};
    const platform::PageMetafile *page = viewer_->Pages().value(index);
    return page ? find_.Marks(index, *page) : QList<TPageMark>();
}

QString TPreviewFind::CopyText() const
{
    const QList<platform::PageMetafile *> &pages = viewer_->Pages();
    if (IsOpen() && find_.Current() >= 0) {
        const platform::PageMetafile *page = pages.value(find_.Found(find_.Current()).Page);
        if (page)
            return find_.CurrentLine(*page);
    }
    const int index = std::clamp(viewer_->PageNr() - 1, 0, int(pages.size()) - 1);
    return index >= 0 && pages[index] ? platform::PageText(*pages[index]) : QString();
}
