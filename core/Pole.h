#pragma once
// One field of a printout line: a positioned text, page number, rule, picture or rich text,
// with the caches and drawing results of the page layout.
//
// A printout holds millions of fields, so a field is kept small: its texts live in the model's
// text store, its style name, kind, alignment, rule style and flags are one shared look of the
// model's name table (which also leads to the owning model), and its picture is held by the
// model on the field's behalf, found by the field's address.
#include "core/StyleNames.h"
#include "core/TextStore.h"

#include <QByteArrayView>

class TInflateStream;
class TMLineWydruk;
class TStyl;
struct TMetafileImage;

// What a field is, by the kind byte the file stores for it.
enum class TFieldKind : quint8 {
    Text = 0,         // word-wrapped unless NoWrap, aligned by the alignment byte
    RightWrapped = 1, // right-aligned with word wrap
    PageNumber = 2,   // the first "%n" becomes the page number
    Hidden = 3,       // never measured nor drawn
    Rule = 4,         // horizontal rule across the width
    Leader = 5,       // text followed by a leader of dots
    Picture = 6,      // picture across the page width
    RichText = 7,     // rich-text block that may go on over pages
};
// The kind a stored kind byte means: bytes above 7 behave like kind 1.
constexpr TFieldKind FieldKindOf(quint8 stored)
{
    return stored > quint8(TFieldKind::RichText) ? TFieldKind::RightWrapped : TFieldKind(stored);
}

// Field edges as drawn. Positions from the file can be anything; they are kept within a range
// no text reaches (65535 characters of the widest cell), so sums never overflow and nothing on
// the page moves.
constexpr qint64 kFarEdge = 1 << 26;
constexpr qint32 ClampEdge(qint64 v)
{
    return static_cast<qint32>(v < -kFarEdge ? -kFarEdge : v > kFarEdge ? kFarEdge : v);
}

// A rectangle in page device units, right and bottom exclusive.
struct TDevRect {
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Right = 0;
    qint32 Bottom = 0;
    friend bool operator==(const TDevRect &, const TDevRect &) = default;
};

class TPole {
public:
    explicit TPole(TMLineWydruk *owner) : look_(DefaultLook(owner)) {}

    // Reads the field record (marker 6) and places X and Width on the page.
    void Read(TInflateStream &stream);

    TMLineWydruk *Owner() const { return look_->Name->Owner; }
    qint32 X() const { return x_; }
    qint32 Width() const { return width_; }
    TFieldKind Kind() const { return TFieldKind(look_->Kind); }
    quint8 Alignment() const { return look_->Alignment; }
    bool AlignBottom() const { return look_->Flags & kAlignBottom; }
    bool EndEllipsis() const { return look_->Flags & kEndEllipsis; }
    bool NoWrap() const { return look_->Flags & kNoWrap; }
    quint8 RuleStyle() const { return look_->RuleStyle; }
    QByteArrayView StyleName() const { return look_->Name->Name; }
    QByteArrayView Text() const;
    // Replaces the text; the next measurement runs again.
    void SetText(QByteArrayView text);
    // The style the field's StyleName finds (the default style when none); looked up once.
    TStyl *Styl() const;
    // The embedded picture of a kind-6 field, or none.
    const TMetafileImage *Picture() const;

    // Where the last drawing put the field, (0, 0, 0, 0) before any. A drawn field always
    // spans X .. X + Width and DrawnHeight down from its top, so only the top is kept.
    TDevRect DrawnRect() const;
    // Records a drawing: its top (kept within the range of drawn edges) and DrawnHeight.
    void SetDrawn(qint32 top, qint32 height);

private:
    static const TFieldLook *DefaultLook(TMLineWydruk *owner);
    enum : quint8 { kAlignBottom = 1, kEndEllipsis = 2, kNoWrap = 4 };
    // The drawn top before any drawing: no drawing puts a field there.
    static constexpr qint32 kNotDrawn = -kFarEdge - 1;

    // The style name, kind, alignment, rule style and flags, shared with the fields that have the
    // same: most of a field's bytes would repeat down every column.
    const TFieldLook *look_;
    qint32 x_ = 0;
    qint32 width_ = 0;
    qint32 drawnTop_ = kNotDrawn;
    TTextRef text_;

public:
    // Layout caches and the results of the last drawing, in device units.
    qint32 MeasuredHeight = 0; // 0: not measured yet
    qint32 DrawnHeight = 0;
};
