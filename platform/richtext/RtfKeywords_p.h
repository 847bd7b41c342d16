#pragma once
// The control words the reader acts on; everything else is ignored.
#include <cstdint>
#include <string_view>

namespace platform::rtf {

enum class Kw : std::uint8_t {
    Unknown,
    // destinations
    FontTable,
    ColorTable,
    Picture,
    SkipDestination,
    Transparent,
    FieldInstruction,
    Upr,
    Ud,
    // document
    Ansi,
    AnsiCodePage,
    DefaultFont,
    DefaultTab,
    UnicodeSkip,
    Unicode,
    // font table entries
    FontFamilyNil,
    FontFamilyRoman,
    FontFamilySwiss,
    FontFamilyModern,
    FontFamilyOther,
    FontCharset,
    // colour table
    Red,
    Green,
    Blue,
    // character
    Plain,
    Font,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    ForeColor,
    Highlight,
    BackColor,
    Super,
    Sub,
    NoSuperSub,
    Hidden,
    // paragraph
    Pard,
    Par,
    Line,
    Tab,
    AlignLeft,
    AlignRight,
    AlignCenter,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    TabStop,
    TabRight,
    TabCenter,
    TabDecimal,
    // tables
    InTable,
    Cell,
    Row,
    RowDefaults,
    CellX,
    RowGap,
    RowLeft,
    CellBorder,
    // pictures
    PngBlip,
    JpegBlip,
    EmfBlip,
    OtherBlip,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    // characters written as words
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    Bullet,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
};

Kw LookupKeyword(std::string_view word);

} // namespace platform::rtf
