#include "platform/richtext/RichTextLayout.h"

#include "platform/richtext/RtfDocumentSink_p.h"
#include "platform/richtext/RtfUnits_p.h"

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

int RichTextLayout::TextLength() const
{
    return std::max(0, document_->characterCount() - 1);
}

void RichTextLayout::CollectLines()
{
    QAbstractTextDocumentLayout *layout = document_->documentLayout();
    struct Raw {
        int position;
        double top, bottom;
        int rule;
    };
    std::vector<Raw> raw;
    QTextFrame *root = document_->rootFrame();
    for (QTextFrame::iterator it = root->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame()) {
            const QRectF frameRect = layout->frameBoundingRect(frame);
            auto *table = qobject_cast<QTextTable *>(frame);
            if (!table) {
                raw.push_back({frame->firstPosition(), frameRect.top(), frameRect.bottom(), -1});
                continue;
            }
            // A table row is one line: it is never split between pages.
            const bool borders = table->format().property(kTableBordersProperty).toBool();
            const QList<QTextLength> widths = table->format().columnWidthConstraints();
            auto rowTop = [&](int r) {
                double top = frameRect.bottom();
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextBlock b = table->cellAt(r, c).firstCursorPosition().block();
                    top = std::min(top, layout->blockBoundingRect(b).top());
                }
                return top;
            };
            // The frame's rectangle counts its top margin twice at the bottom; the last row
            // ends with its lowest cell.
            auto lastRowBottom = [&] {
                double bottom = 0;
                const int r = table->rows() - 1;
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextBlock b = table->cellAt(r, c).lastCursorPosition().block();
                    bottom = std::max(bottom, layout->blockBoundingRect(b).bottom());
                }
                return bottom;
            };
            double top = rowTop(0);
            for (int r = 0; r < table->rows(); ++r) {
                const double bottom = r + 1 < table->rows() ? rowTop(r + 1) : lastRowBottom();
                int rule = -1;
                if (borders) {
                    RowRule rr{top, bottom, {}};
                    double right = 0;
                    for (int c = 0; c < table->columns(); ++c) {
                        const QTextTableCell cell = table->cellAt(r, c);
                        const QTextBlock b = cell.firstCursorPosition().block();
                        const double pad = cell.format().toTableCellFormat().leftPadding() / FormatLength(1);
                        rr.xs.push_back(layout->blockBoundingRect(b).left() - pad);
                        right = rr.xs.back() + (c < widths.size() ? widths[c].rawValue() / FormatLength(1) : 0);
                    }
                    rr.xs.push_back(right);
                    rule = int(rules_.size());
                    rules_.push_back(std::move(rr));
                }
                raw.push_back({table->cellAt(r, 0).firstPosition(), top, bottom, rule});
                top = bottom;
            }
            continue;
        }
        const QTextBlock block = it.currentBlock();
        const QTextLayout *tl = block.layout();
        const QRectF rect = layout->blockBoundingRect(block);
        if (!tl || tl->lineCount() == 0) {
            raw.push_back({block.position(), rect.top(), rect.bottom(), -1});
            continue;
        }
        const double origin = rect.top() - tl->boundingRect().top();
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            const double lineTop = origin + line.y();
            raw.push_back({block.position() + line.textStart(), lineTop, lineTop + line.height(), -1});
        }
    }

    // Lines tile the document: the space before a line belongs to it, and a line ends where the
    // next one starts (exact line spacing may overlap them; the empty block Qt keeps before a
    // table takes no room at all).
    double bottom = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        double lineBottom = raw[i].bottom;
        if (i + 1 < raw.size())
            lineBottom = std::min(lineBottom, raw[i + 1].top);
        lineBottom = std::max(lineBottom, bottom);
        lines_.push_back({raw[i].position, bottom, lineBottom, raw[i].rule});
        bottom = lineBottom;
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
    auto it =
        std::upper_bound(lines_.begin(), lines_.end(), first, [](int pos, const Line &l) { return pos < l.position; });
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
    DrawRules(painter, fit);
    painter.restore();
}

void RichTextLayout::DrawRules(QPainter &painter, const Fit &fit) const
{
    // One pixel (15 twips) lines on the cell boundaries: each row draws its top, the last row of
    // a table or of the piece also its bottom, inside the row so that clipping keeps them.
    QPen pen(Qt::black, 1.0);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    for (std::size_t i = fit.begin; i < fit.end; ++i) {
        if (lines_[i].rule < 0)
            continue;
        const RowRule &r = rules_[std::size_t(lines_[i].rule)];
        const bool lastOfTable = i + 1 >= fit.end || lines_[i + 1].rule < 0;
        const double top = r.top + 0.5;
        const double bottom = r.bottom - 0.5;
        painter.drawLine(QLineF(r.xs.front(), top, r.xs.back(), top));
        if (lastOfTable)
            painter.drawLine(QLineF(r.xs.front(), bottom, r.xs.back(), bottom));
        for (double x : r.xs)
            painter.drawLine(QLineF(x, top, x, bottom));
    }
}

} // namespace platform::rtf
