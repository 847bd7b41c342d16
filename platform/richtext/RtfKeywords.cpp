#include "platform/richtext/RtfKeywords_p.h"

#include <unordered_map>

namespace platform::rtf {

namespace {

const std::unordered_map<std::string_view, Kw> &Table()
{
    static const std::unordered_map<std::string_view, Kw> table = [] {
        std::unordered_map<std::string_view, Kw> t = {
            {"fonttbl", Kw::FontTable}, {"colortbl", Kw::ColorTable}, {"pict", Kw::Picture},
            {"field", Kw::Transparent}, {"fldrslt", Kw::Transparent}, {"fldinst", Kw::FieldInstruction},
            {"shppict", Kw::Transparent}, {"pntext", Kw::Transparent}, {"listtext", Kw::Transparent},
            {"object", Kw::Transparent}, {"result", Kw::Transparent}, {"upr", Kw::Upr}, {"ud", Kw::Ud},
            {"ansi", Kw::Ansi}, {"ansicpg", Kw::AnsiCodePage}, {"deff", Kw::DefaultFont},
            {"deftab", Kw::DefaultTab}, {"uc", Kw::UnicodeSkip}, {"u", Kw::Unicode},
            {"fnil", Kw::FontFamilyNil}, {"froman", Kw::FontFamilyRoman}, {"fswiss", Kw::FontFamilySwiss},
            {"fmodern", Kw::FontFamilyModern}, {"fscript", Kw::FontFamilyOther},
            {"fdecor", Kw::FontFamilyOther}, {"ftech", Kw::FontFamilyOther}, {"fbidi", Kw::FontFamilyOther},
            {"fcharset", Kw::FontCharset},
            {"red", Kw::Red}, {"green", Kw::Green}, {"blue", Kw::Blue},
            {"plain", Kw::Plain}, {"f", Kw::Font}, {"fs", Kw::FontSize}, {"b", Kw::Bold},
            {"i", Kw::Italic}, {"ul", Kw::Underline}, {"uld", Kw::Underline}, {"uldb", Kw::Underline},
            {"uldash", Kw::Underline}, {"uldashd", Kw::Underline}, {"uldashdd", Kw::Underline},
            {"ulw", Kw::Underline}, {"ulwave", Kw::Underline}, {"ulth", Kw::Underline},
            {"ulhwave", Kw::Underline}, {"ululdbwave", Kw::Underline}, {"ulnone", Kw::UnderlineNone},
            {"strike", Kw::Strike}, {"striked", Kw::Strike}, {"cf", Kw::ForeColor},
            {"highlight", Kw::Highlight}, {"cb", Kw::BackColor}, {"chcbpat", Kw::BackColor},
            {"super", Kw::Super}, {"sub", Kw::Sub}, {"nosupersub", Kw::NoSuperSub}, {"v", Kw::Hidden},
            {"pard", Kw::Pard}, {"par", Kw::Par}, {"line", Kw::Line}, {"tab", Kw::Tab},
            {"ql", Kw::AlignLeft}, {"qr", Kw::AlignRight}, {"qc", Kw::AlignCenter}, {"qj", Kw::AlignJustify},
            {"li", Kw::LeftIndent}, {"lin", Kw::LeftIndent}, {"ri", Kw::RightIndent},
            {"rin", Kw::RightIndent}, {"fi", Kw::FirstIndent}, {"sb", Kw::SpaceBefore},
            {"sa", Kw::SpaceAfter}, {"sl", Kw::LineSpacing}, {"slmult", Kw::LineMultiple},
            {"tx", Kw::TabStop}, {"tqr", Kw::TabRight}, {"tqc", Kw::TabCenter}, {"tqdec", Kw::TabDecimal},
            {"intbl", Kw::InTable}, {"cell", Kw::Cell}, {"row", Kw::Row}, {"trowd", Kw::RowDefaults},
            {"cellx", Kw::CellX}, {"trgaph", Kw::RowGap}, {"trleft", Kw::RowLeft},
            {"clbrdrt", Kw::CellBorder}, {"clbrdrb", Kw::CellBorder}, {"clbrdrl", Kw::CellBorder},
            {"clbrdrr", Kw::CellBorder},
            {"pngblip", Kw::PngBlip}, {"jpegblip", Kw::JpegBlip}, {"emfblip", Kw::EmfBlip},
            {"wmetafile", Kw::OtherBlip}, {"dibitmap", Kw::OtherBlip}, {"wbitmap", Kw::OtherBlip},
            {"macpict", Kw::OtherBlip}, {"pmmetafile", Kw::OtherBlip},
            {"picw", Kw::PicW}, {"pich", Kw::PicH}, {"picwgoal", Kw::PicWGoal}, {"pichgoal", Kw::PicHGoal},
            {"picscalex", Kw::PicScaleX}, {"picscaley", Kw::PicScaleY},
            {"emdash", Kw::EmDash}, {"endash", Kw::EnDash}, {"emspace", Kw::EmSpace},
            {"enspace", Kw::EnSpace}, {"bullet", Kw::Bullet}, {"lquote", Kw::LQuote},
            {"rquote", Kw::RQuote}, {"ldblquote", Kw::LDblQuote}, {"rdblquote", Kw::RDblQuote},
        };
        // Destinations whose content is never shown, starred or not.
        for (std::string_view skip :
             {"stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer", "footerl",
              "footerr", "footerf", "footnote", "listtable", "listoverridetable", "revtbl", "rsidtbl",
              "xmlnstbl", "filetbl", "pgdsctbl", "themedata", "colorschememapping", "latentstyles",
              "datastore", "private", "objdata", "objclass", "objname", "nonshppict", "pn", "generator",
              "annotation", "atnid", "atnauthor", "comment", "txe", "xe", "tc", "bkmkstart", "bkmkend",
              "ftnsep", "ftnsepc", "aftnsep", "aftnsepc", "template", "userprops", "docvar", "mmathPr",
              "fchars", "lchars", "panose", "falt", "blipuid", "picprop", "sp", "shpinst", "do",
              "pgptbl", "listpicture", "keywords", "subject", "title", "author", "operator", "doccomm",
              "company", "category", "manager", "hlinkbase", "xmlopen", "wgrffmtfilter", "mmath",
              "themedata", "passwordhash"})
            t[skip] = Kw::SkipDestination;
        return t;
    }();
    return table;
}

} // namespace

Kw LookupKeyword(std::string_view word)
{
    const auto &t = Table();
    const auto it = t.find(word);
    return it == t.end() ? Kw::Unknown : it->second;
}

} // namespace platform::rtf
