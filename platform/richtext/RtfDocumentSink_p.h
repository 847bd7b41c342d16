#pragma once
// Builds a QTextDocument from what the RTF reader hands on, at 96 dpi.
#include "platform/richtext/RtfSink.h"

#include <QByteArray>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextFormat>
#include <memory>

class QTextDocument;
class QTextTable;

namespace platform::rtf {

class PictureObjects;

// Set on a table's format when its cells have borders; they are drawn with the lines.
constexpr int kTableBordersProperty = QTextFormat::UserProperty + 18;

// The most a document may hold, in characters, paragraphs, cells and picture bytes counted alike:
// the layout's work grows with it, and no rich-text field of a printout comes near. What lies past
// it is read but not kept, so a hostile field still lays out in bounded time.
inline constexpr qint64 kMaxDocumentWork = 4'000'000;

class DocumentSink : public RtfSink {
public:
    // The document must be empty; its layout device and margins are set here.
    explicit DocumentSink(QTextDocument &document, qint64 maxWork = kMaxDocumentWork);
    ~DocumentSink() override;

    void Paragraph(const RtfParagraph &paragraph) override;
    void TableRow(const RtfTableRow &row) override;
    void Finish(int defaultTabTwips) override;

private:
    // Counts units of work; false (and nothing more is kept) once the bound is passed.
    bool Spend(qint64 units);
    void InsertRuns(QTextCursor &cursor, const std::vector<RtfRun> &runs);
    const QTextBlockFormat &BlockFormatFor(const RtfParagraphFormat &format, int extraSpaceBefore);
    void InsertPicture(QTextCursor &cursor, const RtfRun &run);

    QTextDocument &document_;
    qint64 workLeft_;
    bool truncated_ = false;
    PictureObjects *pictures_;
    QTextCursor cursor_;
    bool blockFresh_ = true; // the cursor stands in an empty block that no paragraph has taken yet
    int pendingSpaceAfter_ = 0;
    QTextTable *table_ = nullptr;
    std::vector<int> tableWidths_;
    bool tableBorders_ = false;
    int tableLeft_ = 0;
    int tableGap_ = 0;
    // The last block format built: consecutive paragraphs mostly share theirs.
    RtfParagraphFormat lastFormat_;
    int lastExtra_ = -1;
    QTextBlockFormat lastBlockFormat_;
};

// Reads rtf into a new document laid out against the 96-dpi layout device.
std::unique_ptr<QTextDocument> BuildRichTextDocument(const QByteArray &rtf);

} // namespace platform::rtf
