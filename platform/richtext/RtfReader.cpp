#include "platform/richtext/RtfReader.h"

#include "platform/richtext/RtfCodePages_p.h"
#include "platform/richtext/RtfKeywords_p.h"
#include "platform/richtext/RtfTokenizer.h"

#include <QColor>
#include <QFont>
#include <algorithm>
#include <unordered_map>

namespace platform::rtf {

namespace {

constexpr int kMaxDepth = 1000;  // deeper groups are counted, not kept
constexpr int kMaxTwips = 31680; // 22 inches: the largest measure a rich-edit control keeps
constexpr int kMaxTabs = 32;
constexpr int kMaxCells = 63;
// Sizes are kept to what a page can hold: a 294 mm page is 833 points (16,668 twips) high. Far larger
// characters and spacings show nothing more, and Qt's document layout is not made for them.
constexpr int kMaxHalfPoints = 1600; // 800 points
constexpr int kMaxPageTwips = 16668;

int Clamp(int v, int lo, int hi)
{
    return std::clamp(v, lo, hi);
}

enum class Dest : std::uint8_t { Text, Skip, FontTable, ColorTable, Picture, Upr };

struct CharState {
    int font = -1;
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false, strike = false, hidden = false;
    int fore = 0, back = 0;
    int vertical = 0; // 1 superscript, 2 subscript
    bool operator==(const CharState &) const = default;
};

struct GroupState {
    CharState chr;
    RtfParagraphFormat par;
    bool inTable = false;
    RtfTab::Kind nextTabKind = RtfTab::Kind::Left;
    Dest dest = Dest::Text;
    int uc = 1;
};

struct FontEntry {
    QString name;
    int charset = -1;
    Kw family = Kw::FontFamilyNil;
};

struct PictureState {
    RtfPicture::Kind kind = RtfPicture::Kind::Other;
    QByteArray data;
    int pendingNibble = -1;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
};

QString StripCharsetSuffix(QString name)
{
    name = name.trimmed();
    for (const char *suffix : {" CE", " Cyr", " Greek", " Tur", " Baltic", " (Hebrew)", " (Arabic)", " (Vietnamese)"}) {
        if (name.endsWith(QLatin1String(suffix)))
            return name.chopped(int(qstrlen(suffix)));
    }
    return name;
}

// Characters that mean structure to QTextDocument must not arrive as text.
void Sanitize(QString &s)
{
    for (QChar &c : s) {
        const char16_t u = c.unicode();
        if (u == '\t' || u == QChar::LineSeparator)
            continue;
        if (u < 0x20 || u == QChar::ParagraphSeparator || u == QChar::ObjectReplacementCharacter ||
            (u >= 0xFDD0 && u <= 0xFDEF) || u == 0xFFFE || u == 0xFFFF)
            c = QChar(' ');
    }
}

class Reader {
public:
    Reader(std::string_view rtf, RtfSink &sink) : tokens_(rtf), sink_(sink) { stack_.emplace_back(); }
    void Run();

private:
    GroupState &Top() { return stack_.back(); }

    void OpenGroup();
    void CloseGroup();
    void OnText(std::string_view bytes);
    void OnHex(int byte);
    void OnBinary(std::string_view bytes);
    void OnSymbol(char symbol);
    void OnWord(const Token &t);
    void OnTextWord(Kw kw, const Token &t);
    void OnFontTableWord(Kw kw, const Token &t);
    void OnPictureWord(Kw kw, const Token &t);

    bool SkipUnicodeFallback();
    void AddChar(QChar c);
    void FlushBytes();
    void FlushText();
    void EndParagraph();
    void EndCell();
    void EndRow();
    void FlushRow();
    void CommitFont();
    void FinishPicture();
    int CodePage();
    QColor ColorAt(int index) const;
    const QTextCharFormat &CharFormat();

    Tokenizer tokens_;
    RtfSink &sink_;
    std::vector<GroupState> stack_;
    int overflow_ = 0;
    bool ignorable_ = false;
    int ucSkip_ = 0;

    int ansiCodePage_ = 1250;
    int defaultFont_ = -1;
    int defaultTab_ = 720;
    std::unordered_map<int, FontEntry> fonts_;
    int entryId_ = -1;
    FontEntry entry_;
    QByteArray entryName_;
    std::vector<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;
    PictureState picture_;

    CodePageDecoders decoders_;
    QByteArray pendingBytes_;
    QString pendingText_;
    // Formats already built for character states; cleared when the font or colour table changes.
    std::vector<std::pair<CharState, QTextCharFormat>> formats_;

    RtfParagraph paragraph_;
    RtfCell cell_;
    std::vector<RtfCell> cells_;
    std::vector<int> cellRight_;
    int rowGap_ = 0, rowLeft_ = 0;
    bool rowBorders_ = false;
};

void Reader::Run()
{
    for (;;) {
        const Token t = tokens_.Next();
        switch (t.type) {
        case TokenType::End:
            FlushText();
            if (!paragraph_.runs.empty())
                EndParagraph();
            if (!cell_.paragraphs.empty())
                EndCell();
            FlushRow();
            sink_.Finish(defaultTab_);
            return;
        case TokenType::GroupOpen:
            OpenGroup();
            break;
        case TokenType::GroupClose:
            CloseGroup();
            break;
        case TokenType::Text:
            OnText(t.data);
            break;
        case TokenType::Hex:
            OnHex(t.param);
            break;
        case TokenType::Binary:
            OnBinary(t.data);
            break;
        case TokenType::ControlSymbol:
            OnSymbol(t.symbol);
            break;
        case TokenType::ControlWord:
            OnWord(t);
            break;
        }
    }
}

void Reader::OpenGroup()
{
    FlushText();
    ucSkip_ = 0;
    ignorable_ = false;
    if (stack_.size() >= kMaxDepth) {
        ++overflow_;
        return;
    }
    stack_.push_back(stack_.back());
}

void Reader::CloseGroup()
{
    FlushText();
    ucSkip_ = 0;
    ignorable_ = false;
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (stack_.size() <= 1)
        return; // an unmatched closing brace
    const Dest closed = Top().dest;
    stack_.pop_back();
    const Dest parent = Top().dest;
    if (closed == Dest::FontTable)
        CommitFont(); // an entry may end with its group instead of a semicolon
    else if (closed == Dest::Picture && parent != Dest::Picture)
        FinishPicture();
}

bool Reader::SkipUnicodeFallback()
{
    if (ucSkip_ <= 0)
        return false;
    --ucSkip_;
    return true;
}

void Reader::OnText(std::string_view bytes)
{
    switch (Top().dest) {
    case Dest::Text:
        for (const char c : bytes) {
            if (SkipUnicodeFallback())
                continue;
            if (c == '\t')
                AddChar(QChar('\t'));
            else if (static_cast<unsigned char>(c) >= 0x20)
                pendingBytes_.append(c);
        }
        break;
    case Dest::FontTable:
        for (const char c : bytes) {
            if (c == ';')
                CommitFont();
            else
                entryName_.append(c);
        }
        break;
    case Dest::ColorTable:
        for (const char c : bytes) {
            if (c != ';')
                continue;
            colors_.push_back(colorGiven_ ? QColor(red_, green_, blue_) : QColor());
            formats_.clear();
            red_ = green_ = blue_ = 0;
            colorGiven_ = false;
        }
        break;
    case Dest::Picture:
        for (const char c : bytes) {
            int v;
            if (c >= '0' && c <= '9')
                v = c - '0';
            else if (c >= 'a' && c <= 'f')
                v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                v = c - 'A' + 10;
            else
                continue;
            if (picture_.pendingNibble < 0) {
                picture_.pendingNibble = v;
            } else {
                picture_.data.append(char(picture_.pendingNibble * 16 + v));
                picture_.pendingNibble = -1;
            }
        }
        break;
    case Dest::Skip:
    case Dest::Upr:
        break;
    }
}

void Reader::OnHex(int byte)
{
    if (byte < 0)
        return; // \' without a hex digit
    if (Top().dest == Dest::Text) {
        if (!SkipUnicodeFallback())
            pendingBytes_.append(char(byte));
    } else if (Top().dest == Dest::FontTable) {
        entryName_.append(char(byte));
    }
}

void Reader::OnBinary(std::string_view bytes)
{
    if (Top().dest == Dest::Picture)
        picture_.data = QByteArray(bytes.data(), qsizetype(bytes.size()));
    else if (Top().dest == Dest::Text)
        SkipUnicodeFallback();
}

void Reader::OnSymbol(char symbol)
{
    if (symbol == '*') {
        ignorable_ = true;
        return;
    }
    if (Top().dest != Dest::Text)
        return;
    if (SkipUnicodeFallback())
        return;
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        pendingBytes_.append(symbol);
        break;
    case '~':
        AddChar(QChar(0x00A0));
        break;
    case '-':
        AddChar(QChar(0x00AD));
        break;
    case '_':
        AddChar(QChar(0x2011));
        break;
    case '\n':
        EndParagraph();
        break;
    case '\t':
        AddChar(QChar('\t'));
        break;
    default:
        break;
    }
}

void Reader::OnWord(const Token &t)
{
    Kw kw = LookupKeyword(t.word);
    const bool isDestination = kw == Kw::FontTable || kw == Kw::ColorTable || kw == Kw::Picture ||
                               kw == Kw::SkipDestination || kw == Kw::Transparent || kw == Kw::FieldInstruction ||
                               kw == Kw::Upr || kw == Kw::Ud;
    if (ignorable_ && !isDestination)
        kw = Kw::SkipDestination; // \* before a word we do not know: skip the whole group
    ignorable_ = false;

    GroupState &g = Top();
    if (kw == Kw::SkipDestination && g.dest != Dest::Skip) {
        FlushText();
        g.dest = Dest::Skip;
        return;
    }
    switch (g.dest) {
    case Dest::Text:
        if (SkipUnicodeFallback())
            return;
        FlushBytes();
        OnTextWord(kw, t);
        break;
    case Dest::FontTable:
        OnFontTableWord(kw, t);
        break;
    case Dest::ColorTable: {
        const int v = Clamp(t.param, 0, 255);
        if (kw == Kw::Red)
            red_ = v, colorGiven_ = true;
        else if (kw == Kw::Green)
            green_ = v, colorGiven_ = true;
        else if (kw == Kw::Blue)
            blue_ = v, colorGiven_ = true;
        break;
    }
    case Dest::Picture:
        OnPictureWord(kw, t);
        break;
    case Dest::Upr:
        if (kw == Kw::Ud)
            g.dest = Dest::Text;
        break;
    case Dest::Skip:
        break;
    }
}

void Reader::OnTextWord(Kw kw, const Token &t)
{
    GroupState &g = Top();
    CharState &c = g.chr;
    RtfParagraphFormat &p = g.par;
    const int v = t.param;
    const bool on = !t.hasParam || t.param != 0;
    // Anything that changes the character format ends the text gathered so far.
    auto setChar = [&](auto apply) {
        CharState next = c;
        apply(next);
        if (!(next == c)) {
            FlushText();
            c = next;
        }
    };

    switch (kw) {
    case Kw::FontTable:
        FlushText();
        g.dest = Dest::FontTable;
        entryId_ = -1;
        entryName_.clear();
        break;
    case Kw::ColorTable:
        FlushText();
        g.dest = Dest::ColorTable;
        colors_.clear();
        formats_.clear();
        red_ = green_ = blue_ = 0;
        colorGiven_ = false;
        break;
    case Kw::Picture:
        FlushText();
        g.dest = Dest::Picture;
        picture_ = PictureState();
        break;
    case Kw::FieldInstruction:
        FlushText();
        g.dest = Dest::Skip;
        break;
    case Kw::Upr:
        FlushText();
        g.dest = Dest::Upr;
        break;
    case Kw::AnsiCodePage:
        if (t.hasParam && v > 0)
            ansiCodePage_ = v;
        break;
    case Kw::DefaultFont:
        defaultFont_ = v;
        formats_.clear();
        break;
    case Kw::DefaultTab:
        if (v > 0)
            defaultTab_ = Clamp(v, 15, kMaxTwips);
        break;
    case Kw::UnicodeSkip:
        g.uc = Clamp(v, 0, 16);
        break;
    case Kw::Unicode:
        if (t.hasParam) {
            AddChar(QChar(char16_t(v < 0 ? v + 65536 : v)));
            ucSkip_ = g.uc;
        }
        break;
    case Kw::Plain:
        setChar([&](CharState &n) {
            n = CharState();
            n.font = defaultFont_;
        });
        break;
    case Kw::Font:
        setChar([&](CharState &n) { n.font = v; });
        break;
    case Kw::FontSize:
        setChar([&](CharState &n) { n.halfPoints = t.hasParam ? Clamp(v, 2, kMaxHalfPoints) : 24; });
        break;
    case Kw::Bold:
        setChar([&](CharState &n) { n.bold = on; });
        break;
    case Kw::Italic:
        setChar([&](CharState &n) { n.italic = on; });
        break;
    case Kw::Underline:
        setChar([&](CharState &n) { n.underline = on; });
        break;
    case Kw::UnderlineNone:
        setChar([&](CharState &n) { n.underline = false; });
        break;
    case Kw::Strike:
        setChar([&](CharState &n) { n.strike = on; });
        break;
    case Kw::Hidden:
        setChar([&](CharState &n) { n.hidden = on; });
        break;
    case Kw::ForeColor:
        setChar([&](CharState &n) { n.fore = v; });
        break;
    case Kw::Highlight:
    case Kw::BackColor:
        setChar([&](CharState &n) { n.back = v; });
        break;
    case Kw::Super:
        setChar([&](CharState &n) { n.vertical = on ? 1 : 0; });
        break;
    case Kw::Sub:
        setChar([&](CharState &n) { n.vertical = on ? 2 : 0; });
        break;
    case Kw::NoSuperSub:
        setChar([&](CharState &n) { n.vertical = 0; });
        break;

    case Kw::Pard:
        p = RtfParagraphFormat();
        g.inTable = false;
        g.nextTabKind = RtfTab::Kind::Left;
        break;
    case Kw::Par:
        EndParagraph();
        break;
    case Kw::Line:
        AddChar(QChar::LineSeparator);
        break;
    case Kw::Tab:
        AddChar(QChar('\t'));
        break;
    case Kw::AlignLeft:
        p.alignment = Qt::AlignLeft;
        break;
    case Kw::AlignRight:
        p.alignment = Qt::AlignRight;
        break;
    case Kw::AlignCenter:
        p.alignment = Qt::AlignHCenter;
        break;
    case Kw::AlignJustify:
        p.alignment = Qt::AlignJustify;
        break;
    case Kw::LeftIndent:
        p.leftIndent = Clamp(v, -kMaxTwips, kMaxTwips);
        break;
    case Kw::RightIndent:
        p.rightIndent = Clamp(v, -kMaxTwips, kMaxTwips);
        break;
    case Kw::FirstIndent:
        p.firstIndent = Clamp(v, -kMaxTwips, kMaxTwips);
        break;
    case Kw::SpaceBefore:
        p.spaceBefore = Clamp(v, 0, kMaxPageTwips);
        break;
    case Kw::SpaceAfter:
        p.spaceAfter = Clamp(v, 0, kMaxPageTwips);
        break;
    case Kw::LineSpacing:
        p.lineSpacing = Clamp(v, -kMaxPageTwips, kMaxPageTwips);
        break;
    case Kw::LineMultiple:
        p.lineMultiple = on;
        break;
    case Kw::TabRight:
        g.nextTabKind = RtfTab::Kind::Right;
        break;
    case Kw::TabCenter:
        g.nextTabKind = RtfTab::Kind::Center;
        break;
    case Kw::TabDecimal:
        g.nextTabKind = RtfTab::Kind::Decimal;
        break;
    case Kw::TabStop:
        if (int(p.tabs.size()) < kMaxTabs)
            p.tabs.push_back({Clamp(v, 0, kMaxTwips), g.nextTabKind});
        g.nextTabKind = RtfTab::Kind::Left;
        break;

    case Kw::InTable:
        g.inTable = true;
        break;
    case Kw::Cell:
        EndCell();
        break;
    case Kw::Row:
        EndRow();
        break;
    case Kw::RowDefaults:
        cellRight_.clear();
        rowGap_ = rowLeft_ = 0;
        rowBorders_ = false;
        break;
    case Kw::CellX:
        if (int(cellRight_.size()) < kMaxCells)
            cellRight_.push_back(Clamp(v, -kMaxTwips, kMaxTwips));
        break;
    case Kw::RowGap:
        rowGap_ = Clamp(v, 0, 1440);
        break;
    case Kw::RowLeft:
        rowLeft_ = Clamp(v, -kMaxTwips, kMaxTwips);
        break;
    case Kw::CellBorder:
        rowBorders_ = true;
        break;

    case Kw::EmDash:
        AddChar(QChar(0x2014));
        break;
    case Kw::EnDash:
        AddChar(QChar(0x2013));
        break;
    case Kw::EmSpace:
        AddChar(QChar(0x2003));
        break;
    case Kw::EnSpace:
        AddChar(QChar(0x2002));
        break;
    case Kw::Bullet:
        AddChar(QChar(0x2022));
        break;
    case Kw::LQuote:
        AddChar(QChar(0x2018));
        break;
    case Kw::RQuote:
        AddChar(QChar(0x2019));
        break;
    case Kw::LDblQuote:
        AddChar(QChar(0x201C));
        break;
    case Kw::RDblQuote:
        AddChar(QChar(0x201D));
        break;
    default:
        break;
    }
}

void Reader::OnFontTableWord(Kw kw, const Token &t)
{
    switch (kw) {
    case Kw::Font:
        if (!entryName_.isEmpty())
            CommitFont();
        entryId_ = t.param;
        entry_ = FontEntry();
        break;
    case Kw::FontCharset:
        entry_.charset = t.param;
        break;
    case Kw::FontFamilyNil:
    case Kw::FontFamilyRoman:
    case Kw::FontFamilySwiss:
    case Kw::FontFamilyModern:
    case Kw::FontFamilyOther:
        entry_.family = kw;
        break;
    default:
        break;
    }
}

void Reader::OnPictureWord(Kw kw, const Token &t)
{
    PictureState &p = picture_;
    const int v = t.param;
    switch (kw) {
    case Kw::PngBlip:
        p.kind = RtfPicture::Kind::Png;
        break;
    case Kw::JpegBlip:
        p.kind = RtfPicture::Kind::Jpeg;
        break;
    case Kw::EmfBlip:
        p.kind = RtfPicture::Kind::Emf;
        break;
    case Kw::OtherBlip:
        p.kind = RtfPicture::Kind::Other;
        break;
    case Kw::PicW:
        p.picw = Clamp(v, 0, 1'000'000);
        break;
    case Kw::PicH:
        p.pich = Clamp(v, 0, 1'000'000);
        break;
    case Kw::PicWGoal:
        p.goalw = Clamp(v, 0, kMaxTwips);
        break;
    case Kw::PicHGoal:
        p.goalh = Clamp(v, 0, kMaxTwips);
        break;
    case Kw::PicScaleX:
        p.scalex = Clamp(v, 1, 1000);
        break;
    case Kw::PicScaleY:
        p.scaley = Clamp(v, 1, 1000);
        break;
    default:
        break;
    }
}

void Reader::AddChar(QChar c)
{
    FlushBytes();
    pendingText_.append(c);
}

int Reader::CodePage()
{
    int font = Top().chr.font;
    if (font < 0)
        font = defaultFont_;
    const auto it = fonts_.find(font);
    const int cp = it == fonts_.end() ? 0 : CodePageForRtfCharset(it->second.charset);
    return cp != 0 ? cp : ansiCodePage_;
}

void Reader::FlushBytes()
{
    if (pendingBytes_.isEmpty())
        return;
    pendingText_.append(decoders_.Decode(pendingBytes_, CodePage()));
    pendingBytes_.clear();
}

QColor Reader::ColorAt(int index) const
{
    if (index < 0 || index >= int(colors_.size()))
        return QColor();
    return colors_[std::size_t(index)];
}

const QTextCharFormat &Reader::CharFormat()
{
    const CharState &c = Top().chr;
    for (const auto &[state, format] : formats_)
        if (state == c)
            return format;
    if (formats_.size() >= 64)
        formats_.clear();
    QTextCharFormat f;
    const auto it = fonts_.find(c.font >= 0 ? c.font : defaultFont_);
    QStringList families;
    Kw family = Kw::FontFamilySwiss;
    if (it != fonts_.end()) {
        if (!it->second.name.isEmpty())
            families << it->second.name;
        family = it->second.family;
    }
    // The metric-compatible face of the font's family, so layout does not depend on the machine.
    families << (family == Kw::FontFamilyRoman    ? QStringLiteral("Liberation Serif")
                 : family == Kw::FontFamilyModern ? QStringLiteral("Liberation Mono")
                                                  : QStringLiteral("Liberation Sans"));
    f.setFontFamilies(families);
    f.setFontPointSize(c.halfPoints / 2.0);
    f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(c.italic);
    f.setFontUnderline(c.underline);
    f.setFontStrikeOut(c.strike);
    f.setFontKerning(false);
    f.setFontHintingPreference(QFont::PreferNoHinting);
    const QColor fore = c.fore > 0 ? ColorAt(c.fore) : ColorAt(0);
    f.setForeground(fore.isValid() ? fore : QColor(Qt::black));
    if (c.back > 0) {
        const QColor back = ColorAt(c.back);
        if (back.isValid())
            f.setBackground(back);
    }
    if (c.vertical == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (c.vertical == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    formats_.emplace_back(c, f);
    return formats_.back().second;
}

void Reader::FlushText()
{
    FlushBytes();
    if (pendingText_.isEmpty())
        return;
    if (!Top().chr.hidden) {
        Sanitize(pendingText_);
        const QTextCharFormat &f = CharFormat();
        if (!paragraph_.runs.empty() && !paragraph_.runs.back().isPicture && paragraph_.runs.back().format == f) {
            paragraph_.runs.back().text += pendingText_;
        } else {
            RtfRun run;
            run.text = pendingText_;
            run.format = f;
            paragraph_.runs.push_back(std::move(run));
        }
    }
    pendingText_.clear();
}

void Reader::EndParagraph()
{
    FlushText();
    paragraph_.format = Top().par;
    paragraph_.markFormat = CharFormat();
    if (Top().inTable) {
        cell_.paragraphs.push_back(std::move(paragraph_));
    } else {
        if (!cell_.paragraphs.empty())
            EndCell();
        FlushRow();
        sink_.Paragraph(paragraph_);
    }
    paragraph_ = RtfParagraph();
}

void Reader::EndCell()
{
    FlushText();
    if (!paragraph_.runs.empty() || cell_.paragraphs.empty()) {
        paragraph_.format = Top().par;
        paragraph_.markFormat = CharFormat();
        cell_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = RtfParagraph();
    }
    if (int(cells_.size()) < kMaxCells) {
        cells_.push_back(std::move(cell_));
    } else {
        auto &last = cells_.back().paragraphs;
        std::move(cell_.paragraphs.begin(), cell_.paragraphs.end(), std::back_inserter(last));
    }
    cell_ = RtfCell();
}

void Reader::EndRow()
{
    FlushText();
    if (!paragraph_.runs.empty() || !cell_.paragraphs.empty())
        EndCell();
    FlushRow();
}

void Reader::FlushRow()
{
    if (cells_.empty())
        return;
    RtfTableRow row;
    row.cellRight = cellRight_;
    row.gap = rowGap_;
    row.left = rowLeft_;
    row.borders = rowBorders_;
    row.cells = std::move(cells_);
    cells_.clear();
    sink_.TableRow(row);
}

void Reader::CommitFont()
{
    if (entryId_ >= 0 && !entryName_.isEmpty()) {
        int cp = CodePageForRtfCharset(entry_.charset);
        if (cp == 0 || cp == kSymbolCodePage)
            cp = ansiCodePage_;
        entry_.name = StripCharsetSuffix(decoders_.Decode(entryName_, cp));
        fonts_[entryId_] = entry_;
        formats_.clear();
    }
    entryName_.clear();
}

void Reader::FinishPicture()
{
    const PictureState &p = picture_;
    RtfPicture pic;
    pic.kind = p.kind;
    pic.data = p.data;
    // \picw and \pich are pixels for bitmaps and hundredths of a millimetre for metafiles.
    auto natural = [&](int n) {
        return p.kind == RtfPicture::Kind::Png || p.kind == RtfPicture::Kind::Jpeg ? qint64(n) * 15
                                                                                   : qint64(n) * 1440 / 2540;
    };
    const qint64 w = p.goalw > 0 ? p.goalw : natural(p.picw);
    const qint64 h = p.goalh > 0 ? p.goalh : natural(p.pich);
    pic.widthTwips = int(std::min<qint64>(w * p.scalex / 100, kMaxTwips));
    pic.heightTwips = int(std::min<qint64>(h * p.scaley / 100, kMaxTwips));

    RtfRun run;
    run.isPicture = true;
    run.format = CharFormat();
    run.picture = std::move(pic);
    if (Top().dest == Dest::Text && !Top().chr.hidden)
        paragraph_.runs.push_back(std::move(run));
    picture_ = PictureState();
}

} // namespace

void ReadRtf(std::string_view rtf, RtfSink &sink)
{
    Reader reader(rtf, sink);
    reader.Run();
}

} // namespace platform::rtf
