#pragma once
// What the RTF reader hands on: finished paragraphs and table rows, with their formatting resolved.
#include <QByteArray>
#include <QString>
#include <QTextCharFormat>
#include <Qt>
#include <vector>

namespace platform::rtf {

// A picture of a \pict group, with the size it is shown at.
struct RtfPicture {
    enum class Kind { Png, Jpeg, Emf, Other };
    Kind kind = Kind::Other;
    QByteArray data;
    int widthTwips = 0;
    int heightTwips = 0;
};

// A run of text in one character format, or one picture (then text is empty).
struct RtfRun {
    QString text;
    QTextCharFormat format;
    bool isPicture = false;
    RtfPicture picture;
};

struct RtfTab {
    enum class Kind { Left, Right, Center, Decimal };
    int positionTwips = 0; // from the left edge of the text, as RTF counts
    Kind kind = Kind::Left;
    bool operator==(const RtfTab &) const = default;
};

// Paragraph properties in twips, as the document states them.
struct RtfParagraphFormat {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; // \sl: 0 single
    bool lineMultiple = false;
    std::vector<RtfTab> tabs;
    bool operator==(const RtfParagraphFormat &) const = default;
};

struct RtfParagraph {
    RtfParagraphFormat format;
    std::vector<RtfRun> runs;
    QTextCharFormat markFormat; // the format of the paragraph mark (sizes an empty paragraph)
};

struct RtfCell {
    std::vector<RtfParagraph> paragraphs;
};

struct RtfTableRow {
    std::vector<int> cellRight; // \cellx: right edge of each cell, in twips from the row's origin
    int gap = 0;                // \trgaph: half the space between cells
    int left = 0;               // \trleft
    bool borders = false;       // some cell asked for a border
    std::vector<RtfCell> cells;
};

class RtfSink {
public:
    virtual ~RtfSink() = default;
    virtual void Paragraph(const RtfParagraph &paragraph) = 0;
    virtual void TableRow(const RtfTableRow &row) = 0;
    // Called once, after the last paragraph.
    virtual void Finish(int defaultTabTwips) = 0;
};

} // namespace platform::rtf
