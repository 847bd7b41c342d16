#pragma once
// One field of a printout line: a positioned text, page number, rule, picture or rich text,
// with the caches and drawing results of the page layout.
//
// A printout holds millions of fields, so a field is kept small: its texts live in the model's
// text store, its style name is a shared entry of the model's name table (which also leads to
// the owning model), and its picture is held by the model on the field's behalf.
#include "core/StyleNames.h"
#include "core/TextStore.h"

#include <QByteArrayView>

class TInflateStream;
class TMLineWydruk;
class TStyl;
struct TMetafileImage;

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
    explicit TPole(TMLineWydruk *owner) : styleName_(DefaultName(owner)) {}

    // Reads the field record (marker 6) and places X and Width on the page.
    void Read(TInflateStream &stream);

    TMLineWydruk *Owner() const { return styleName_->Owner; }
    qint32 X() const { return x_; }
    qint32 Width() const { return width_; }
    quint8 Kind() const { return kind_; }
    quint8 Alignment() const { return alignment_; }
    bool AlignBottom() const { return flags_ & kAlignBottom; }
    bool EndEllipsis() const { return flags_ & kEndEllipsis; }
    bool NoWrap() const { return flags_ & kNoWrap; }
    quint8 RuleStyle() const { return ruleStyle_; }
    QByteArrayView StyleName() const { return styleName_->Name; }
    QByteArrayView Text() const;
    // Replaces the text; the next measurement runs again.
    void SetText(QByteArrayView text);
    // The style the field's StyleName finds (the default style when none); looked up once.
    TStyl *Styl() const;
    // The embedded picture of a kind-6 field, or none.
    const TMetafileImage *Picture() const;

    // Where the last drawing put the field, (0, 0, 0, 0) before any. A drawn field always
    // spans X .. X + Width, so only its top and bottom are kept.
    TDevRect DrawnRect() const;
    void SetDrawnRect(qint32 top, qint32 bottom);

    // Layout caches and the results of the last drawing, in device units.
    qint32 MeasuredHeight = 0; // 0: not measured yet
    qint32 DrawnHeight = 0;

private:
    static TStyleName *DefaultName(TMLineWydruk *owner);
    enum : quint8 { kAlignBottom = 1, kEndEllipsis = 2, kNoWrap = 4, kDrawn = 8 };

    TStyleName *styleName_;
    qint32 x_ = 0;
    qint32 width_ = 0;
    qint32 drawnTop_ = 0;
    qint32 drawnBottom_ = 0;
    TTextRef text_;
    quint32 picture_ = 0; // 1-based index into the model's pictures; 0: none
    quint8 kind_ = 0;
    quint8 alignment_ = 0;
    quint8 ruleStyle_ = 0;
    quint8 flags_ = 0;
};
