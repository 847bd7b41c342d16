#include "platform/richtext/RtfDocumentSink_p.h"

#include "platform/richtext/RtfPictureObjects_p.h"
#include "platform/richtext/RtfReader.h"
#include "platform/richtext/RtfUnits_p.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

namespace platform::rtf {

namespace {

double Len(double twips)
{
    return FormatLength(TwipsToPixels(twips));
}

QTextBlockFormat BlockFormat(const RtfParagraphFormat &p, int extraSpaceBefore)
{
    QTextBlockFormat b;
    b.setAlignment(p.alignment);
    // Text never starts left of the formatting rectangle.
    const int left = std::max(0, p.leftIndent);
    const int first = std::max(-left, p.firstIndent);
    b.setLeftMargin(Len(left));
    b.setRightMargin(Len(std::max(0, p.rightIndent)));
    b.setTextIndent(Len(first));
    // Rich edit adds the space after a paragraph to the space before the next one, where
    // QTextDocument would keep only the larger: the whole gap goes on the top margin.
    b.setTopMargin(Len(p.spaceBefore + extraSpaceBefore));
    b.setBottomMargin(0);
    if (p.lineSpacing != 0) {
        if (p.lineMultiple && p.lineSpacing > 0)
            b.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.lineSpacing < 0)
            b.setLineHeight(Len(-p.lineSpacing), QTextBlockFormat::FixedHeight);
        else
            b.setLineHeight(Len(p.lineSpacing), QTextBlockFormat::MinimumHeight);
    }
    // RTF counts tab stops from the left edge of the text; QTextLayout from the start of the
    // line, which on the first line is the left indent plus the first-line indent. A hanging
    // first line also stops at the left indent, as in rich-edit bullets.
    QList<QTextOption::Tab> tabs;
    const int lineStart = left + first;
    for (const RtfTab &t : p.tabs) {
        const int rel = t.positionTwips - lineStart;
        if (rel <= 0)
            continue;
        QTextOption::Tab tab;
        tab.position = Len(rel);
        switch (t.kind) {
        case RtfTab::Kind::Left:
            tab.type = QTextOption::LeftTab;
            break;
        case RtfTab::Kind::Right:
            tab.type = QTextOption::RightTab;
            break;
        case RtfTab::Kind::Center:
            tab.type = QTextOption::CenterTab;
            break;
        case RtfTab::Kind::Decimal:
            tab.type = QTextOption::DelimiterTab;
            tab.delimiter = QChar(',');
            break;
        }
        tabs.append(tab);
    }
    if (first < 0)
        tabs.append(QTextOption::Tab(Len(-first), QTextOption::LeftTab));
    if (!tabs.isEmpty()) {
        std::sort(tabs.begin(), tabs.end(),
                  [](const QTextOption::Tab &x, const QTextOption::Tab &y) { return x.position < y.position; });
        b.setTabPositions(tabs);
    }
    return b;
}

} // namespace

DocumentSink::DocumentSink(QTextDocument &document, qint64 maxWork) : document_(document), workLeft_(maxWork)
{
    document_.setUndoRedoEnabled(false);
    document_.setDocumentMargin(0);
    // Advances from the font's design, not fitted to the layout device: pages are played back
    // at many scales (screen, printer, PDF) and lines must break the same everywhere.
    document_.setUseDesignMetrics(true);
    document_.documentLayout()->setPaintDevice(LayoutDevice());
    pictures_ = new PictureObjects(&document_); // owned by the document
    cursor_ = QTextCursor(&document_);
    cursor_.beginEditBlock();
}

DocumentSink::~DocumentSink()
{
    if (!cursor_.isNull())
        cursor_.endEditBlock();
}

bool DocumentSink::Spend(qint64 units)
{
    if (truncated_ || units > workLeft_) {
        truncated_ = true;
        return false;
    }
    workLeft_ -= units;
    return true;
}

void DocumentSink::Paragraph(const RtfParagraph &paragraph)
{
    if (!Spend(1))
        return;
    if (!blockFresh_)
        cursor_.insertBlock();
    blockFresh_ = false;
    table_ = nullptr;
    cursor_.setBlockFormat(BlockFormatFor(paragraph.format, pendingSpaceAfter_));
    cursor_.setBlockCharFormat(paragraph.markFormat);
    InsertRuns(cursor_, paragraph.runs);
    pendingSpaceAfter_ = paragraph.format.spaceAfter;
}

void DocumentSink::TableRow(const RtfTableRow &row)
{
    const int n = int(row.cells.size());
    if (n == 0 || !Spend(n))
        return;
    std::vector<int> widths;
    int left = row.left;
    for (int i = 0; i < n; ++i) {
        const int right = i < int(row.cellRight.size()) ? row.cellRight[std::size_t(i)] : left + 1440;
        widths.push_back(std::max(right - left, 150));
        left = std::max(left, right);
    }
    // Rich edit writes \trleft-108 with \trgaph108 so that the first cell's text lines up with
    // the paragraphs; the table cannot start left of the rectangle, so the first cell gives up
    // that much of its width and padding instead.
    const int shift = row.left < 0 ? -row.left : 0;
    widths[0] = std::max(widths[0] - shift, 150);
    const int firstPadding = std::max(0, row.gap - shift);
    int r = 0;
    if (table_ && widths == tableWidths_ && row.borders == tableBorders_ && row.left == tableLeft_ &&
        row.gap == tableGap_) {
        table_->appendRows(1);
        r = table_->rows() - 1;
    } else {
        QTextTableFormat tf;
        QList<QTextLength> constraints;
        for (int w : widths)
            constraints.append(QTextLength(QTextLength::FixedLength, Len(w)));
        tf.setColumnWidthConstraints(constraints);
        tf.setCellSpacing(0);
        tf.setCellPadding(0);
        tf.setMargin(0);
        tf.setLeftMargin(Len(std::max(0, row.left)));
        tf.setTopMargin(Len(pendingSpaceAfter_));
        // Rich edit draws borders on the cell boundaries without moving the text; QTextTable
        // would make room for them, so the layout draws them itself.
        tf.setBorder(0);
        tf.setProperty(kTableBordersProperty, row.borders);
        tf.setAlignment(Qt::AlignLeft);
        table_ = cursor_.insertTable(1, n, tf);
        tableWidths_ = widths;
        tableBorders_ = row.borders;
        tableLeft_ = row.left;
        tableGap_ = row.gap;
    }
    for (int i = 0; i < n; ++i) {
        QTextTableCell cell = table_->cellAt(r, i);
        QTextCursor c = cell.firstCursorPosition();
        bool first = true;
        for (const RtfParagraph &p : row.cells[std::size_t(i)].paragraphs) {
            if (!first && !Spend(1))
                break;
            if (!first)
                c.insertBlock();
            first = false;
            c.setBlockFormat(BlockFormatFor(p.format, 0));
            c.setBlockCharFormat(p.markFormat);
            InsertRuns(c, p.runs);
        }
        // The cell's own format shares its character with the first block's character format,
        // so the padding goes on after the content.
        QTextTableCellFormat cf = cell.format().toTableCellFormat();
        cf.setLeftPadding(Len(i == 0 ? firstPadding : row.gap));
        cf.setRightPadding(Len(row.gap));
        cf.setTopPadding(0);
        cf.setBottomPadding(0);
        cell.setFormat(cf);
    }
    cursor_.setPosition(table_->lastPosition() + 1);
    blockFresh_ = true;
    pendingSpaceAfter_ = 0;
}

void DocumentSink::Finish(int defaultTabTwips)
{
    if (pendingSpaceAfter_ > 0 && !blockFresh_) {
        QTextBlockFormat b = cursor_.blockFormat();
        b.setBottomMargin(Len(pendingSpaceAfter_));
        cursor_.setBlockFormat(b);
    }
    QTextOption option = document_.defaultTextOption();
    option.setTabStopDistance(Len(defaultTabTwips));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document_.setDefaultTextOption(option);
    cursor_.endEditBlock();
    cursor_ = QTextCursor();
}

const QTextBlockFormat &DocumentSink::BlockFormatFor(const RtfParagraphFormat &format, int extraSpaceBefore)
{
    if (extraSpaceBefore != lastExtra_ || !(format == lastFormat_)) {
        lastBlockFormat_ = BlockFormat(format, extraSpaceBefore);
        lastFormat_ = format;
        lastExtra_ = extraSpaceBefore;
    }
    return lastBlockFormat_;
}

void DocumentSink::InsertRuns(QTextCursor &cursor, const std::vector<RtfRun> &runs)
{
    for (const RtfRun &run : runs) {
        if (run.isPicture) {
            if (!Spend(1 + run.picture.data.size()))
                return;
            InsertPicture(cursor, run);
            continue;
        }
        if (Spend(run.text.size())) {
            cursor.insertText(run.text, run.format);
            continue;
        }
        // The part that still fits is kept, so the text stops where the bound is.
        cursor.insertText(run.text.left(int(workLeft_)), run.format);
        workLeft_ = 0;
        return;
    }
}

void DocumentSink::InsertPicture(QTextCursor &cursor, const RtfRun &run)
{
    const RtfPicture &p = run.picture;
    QImage image;
    QByteArray emf;
    if (p.kind == RtfPicture::Kind::Png || p.kind == RtfPicture::Kind::Jpeg)
        image = QImage::fromData(p.data, p.kind == RtfPicture::Kind::Png ? "PNG" : "JPEG");
    else if (p.kind == RtfPicture::Kind::Emf)
        emf = p.data;
    double w = TwipsToPixels(p.widthTwips);
    double h = TwipsToPixels(p.heightTwips);
    if ((w <= 0 || h <= 0) && !image.isNull()) {
        w = image.width(); // a bitmap without a stated size shows at one pixel per 96-dpi pixel
        h = image.height();
    }
    if (w <= 0 || h <= 0)
        return;
    const QTextCharFormat f = pictures_->Add(run.format, QSizeF(w, h), std::move(image), std::move(emf));
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), f);
}

std::unique_ptr<QTextDocument> BuildRichTextDocument(const QByteArray &rtf)
{
    auto document = std::make_unique<QTextDocument>();
    DocumentSink sink(*document);
    ReadRtf(std::string_view(rtf.constData(), std::size_t(rtf.size())), sink);
    return document;
}

} // namespace platform::rtf
