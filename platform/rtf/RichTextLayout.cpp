#include "platform/rtf/RichTextLayout.h"

#include "platform/rtf/RtfDocumentSink.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <algorithm>

namespace platform::rtf {

namespace {
constexpr double kMaxWidth = 100000; // pixels; wider rectangles are laid out at this width
constexpr double kEpsilon = 1e-6;
} // namespace

RichTextLayout::RichTextLayout(const QByteArray &rtf, double widthPixels)
    : document_(BuildRichTextDocument(rtf)), width_(std::clamp(widthPixels, 1.0, kMaxWidth))
{
    document_->setTextWidth(width_);
    CollectLines();
}

RichTextLayout::~RichTextLayout() = default;

int RichTextLayout::TextLength() const { return std::max(0, document_->characterCount() - 1); }

double RichTextLayout::HeightPixels() const { return lines_.empty() ? 0 : lines_.back().bottom; }

void RichTextLayout::CollectLines()
{
    QAbstractTextDocumentLayout *layout = document_->documentLayout();
    double bottom = 0;
    auto add = [&](int position, double lineBottom) {
        // Lines tile the document: the space before a line belongs to it.
        lineBottom = std::max(lineBottom, bottom);
        lines_.push_back({position, bottom, lineBottom});
        bottom = lineBottom;
    };
    QTextFrame *root = document_->rootFrame();
    for (QTextFrame::iterator it = root->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame()) {
            const double frameBottom = layout->frameBoundingRect(frame).bottom();
            auto *table = qobject_cast<QTextTable *>(frame);
            if (!table) {
                add(frame->firstPosition(), frameBottom);
                continue;
            }
            // A table row is one line: it is never split between pages.
            const double border = table->format().border();
            for (int r = 0; r < table->rows(); ++r) {
                double nextTop = frameBottom;
                if (r + 1 < table->rows()) {
                    nextTop = frameBottom;
                    for (int c = 0; c < table->columns(); ++c) {
                        const QTextBlock b = table->cellAt(r + 1, c).firstCursorPosition().block();
                        nextTop = std::min(nextTop, layout->blockBoundingRect(b).top() - border);
                    }
                }
                add(table->cellAt(r, 0).firstPosition(), nextTop);
            }
            continue;
        }
        const QTextBlock block = it.currentBlock();
        const QTextLayout *tl = block.layout();
        if (!tl || tl->lineCount() == 0) {
            add(block.position(), layout->blockBoundingRect(block).bottom());
            continue;
        }
        const double origin = layout->blockBoundingRect(block).top() - tl->boundingRect().top();
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            add(block.position() + line.textStart(), origin + line.y() + line.height());
        }
    }
    if (!lines_.empty())
        lines_.back().bottom = std::max(lines_.back().bottom, layout->documentSize().height());
}

RichTextLayout::Fit RichTextLayout::FitLines(int first, double heightPixels) const
{
    Fit fit;
    fit.first = first;
    fit.next = TextLength();
    if (first >= TextLength() || lines_.empty())
        return fit;
    // The line holding `first`: the last one starting at or before it.
    auto it = std::upper_bound(lines_.begin(), lines_.end(), first,
                               [](int pos, const Line &l) { return pos < l.position; });
    const std::size_t begin = it == lines_.begin() ? 0 : std::size_t(it - lines_.begin()) - 1;
    const double top = lines_[begin].top;
    std::size_t end = begin;
    while (end < lines_.size() && lines_[end].bottom - top <= heightPixels + kEpsilon)
        ++end;
    fit.begin = begin;
    fit.end = end;
    if (end == begin) {
        fit.next = first;
        return fit;
    }
    fit.first = lines_[begin].position;
    fit.height = lines_[end - 1].bottom - top;
    if (end < lines_.size())
        fit.next = lines_[end].position;
    return fit;
}

void RichTextLayout::Draw(QPainter &painter, const Fit &fit) const
{
    if (fit.end <= fit.begin)
        return;
    const double top = lines_[fit.begin].top;
    const QRectF clip(-2, 0, width_ + 4, fit.height);
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    painter.translate(0, -top);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip.translated(0, top);
    context.palette.setColor(QPalette::Text, Qt::black);
    document_->documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace platform::rtf
