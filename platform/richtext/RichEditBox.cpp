#include "platform/richtext/RichEditBox.h"

#include "platform/base/Saturate.h"
#include "platform/richtext/RichTextLayout.h"
#include "platform/richtext/RtfUnits_p.h"

#include <QCoreApplication>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>
#include <list>

namespace platform {

namespace {

// Each rich-text field is measured before it is drawn and drawn again piece by piece on every
// page it covers; keeping the last few layouts spares reading and laying out the text each time.
class LayoutCache {
public:
    std::shared_ptr<const rtf::RichTextLayout> Get(const QByteArray &text, double width)
    {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->width == width && it->text == text) {
                entries_.splice(entries_.begin(), entries_, it);
                return entries_.front().layout;
            }
        }
        auto layout = std::make_shared<const rtf::RichTextLayout>(text, width);
        // The key owns its bytes: callers pass texts that point into a model, which may be gone
        // (and its memory reused by the next printout) by the next lookup.
        entries_.push_front({QByteArray(text.constData(), text.size()), width, layout});
        if (entries_.size() > kCapacity)
            entries_.pop_back();
        return layout;
    }

    void Clear() { entries_.clear(); }

private:
    static constexpr std::size_t kCapacity = 4;
    struct Entry {
        QByteArray text;
        double width;
        std::shared_ptr<const rtf::RichTextLayout> layout;
    };
    std::list<Entry> entries_;
};

LayoutCache &Cache()
{
    static LayoutCache cache;
    static const bool cleared = [] {
        // Documents hold fonts, which must go before the application does.
        qAddPostRoutine([] { Cache().Clear(); });
        return true;
    }();
    Q_UNUSED(cleared);
    return cache;
}

void DeviceDpi(const QPainter &painter, int &dpiX, int &dpiY)
{
    const QPaintDevice *device = painter.device();
    dpiX = device && device->logicalDpiX() > 0 ? device->logicalDpiX() : rtf::kLayoutDpi;
    dpiY = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : rtf::kLayoutDpi;
}

} // namespace

TRichEditBox::TRichEditBox() = default;
TRichEditBox::~TRichEditBox() = default;

void TRichEditBox::LoadRtf(const QByteArray &rtf)
{
    rtf_ = rtf;
    layout_.reset();
}

int TRichEditBox::TextLength()
{
    if (!layout_)
        layout_ = Cache().Get(rtf_, rtf::kLayoutDpi); // the length does not depend on the width
    return layout_->TextLength();
}

FormatRangeResult TRichEditBox::FormatRange(QPainter &canvas, const TwipsRect &rc, int first, bool render)
{
    const double width = rtf::TwipsToPixels(double(rc.Right) - rc.Left);
    const double height = rtf::TwipsToPixels(double(rc.Bottom) - rc.Top);
    layout_ = Cache().Get(rtf_, width);

    const rtf::RichTextLayout::Fit fit = layout_->FitLines(std::max(0, first), height);
    FormatRangeResult result;
    result.Answer = fit.next;
    result.FirstNotFitted = fit.next >= layout_->TextLength() ? 0 : fit.next;
    result.BottomTwips = rc.Top + SaturatingRound(std::round(fit.height * rtf::kTwipsPerPixel));

    if (render && fit.end > fit.begin) {
        int dpiX, dpiY;
        DeviceDpi(canvas, dpiX, dpiY);
        canvas.save();
        canvas.translate(rc.Left * dpiX / 1440.0, rc.Top * dpiY / 1440.0);
        canvas.scale(double(dpiX) / rtf::kLayoutDpi, double(dpiY) / rtf::kLayoutDpi);
        layout_->Draw(canvas, fit);
        canvas.restore();
    }
    return result;
}

void TRichEditBox::ReleaseFormatting()
{
    layout_.reset();
}

} // namespace platform
