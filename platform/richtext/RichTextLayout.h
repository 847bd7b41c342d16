#pragma once
// A rich-text document laid out at one width, cut into whole lines (a table row counts as one
// line) so that any character range can be fitted into a rectangle, drawn or only measured.
#include <QByteArray>
#include <memory>
#include <vector>

class QPainter;
class QTextDocument;

namespace platform::rtf {

class RichTextLayout {
public:
    // Reads rtf and lays it out at widthPixels (96-dpi pixels).
    RichTextLayout(const QByteArray &rtf, double widthPixels);
    ~RichTextLayout();

    // Characters in the document, the final paragraph mark not counted.
    int TextLength() const;
    const QTextDocument &Document() const { return *document_; }

    struct Fit {
        int first = 0;                  // the first line's first character
        int next = 0;                   // the first character not laid out; TextLength() when all fitted
        double height = 0;              // the height taken by the lines laid out, in pixels
        std::size_t begin = 0, end = 0; // the lines laid out
    };
    // Whole lines from the one holding character `first` while they fit in heightPixels. When
    // not even the first line fits, next is `first` itself and nothing is laid out.
    Fit FitLines(int first, double heightPixels) const;

    // Draws the lines of fit with the painter's origin at their top left, in 96-dpi pixels.
    void Draw(QPainter &painter, const Fit &fit) const;

private:
    struct Line {
        int position; // first character
        double top, bottom;
        int rule = -1; // the borders of a table row, when it has them
    };
    // Cell boundaries of a table row with borders.
    struct RowRule {
        double top, bottom;
        std::vector<double> xs;
    };
    void CollectLines();
    void DrawRules(QPainter &painter, const Fit &fit) const;

    std::unique_ptr<QTextDocument> document_;
    double width_;
    std::vector<Line> lines_;
    std::vector<RowRule> rules_;
};

} // namespace platform::rtf
