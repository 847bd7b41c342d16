#include "core/LineDrawing.h"

#include "core/DeviceUnits.h"
#include "core/MLineWydruk.h"
#include "core/MetafileImage.h"
#include "core/PageCanvas.h"
#include "core/StyleFont.h"
#include "core/TextDecode.h"
#include "platform/base/Saturate.h"
#include "platform/metafile/PageGeometry.h"
#include "platform/richtext/DrawRichText.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

using namespace platform;

namespace {

constexpr float kRichTextZoom = 1.8f;
// Leaders stop this many device units short of the field's right edge.
constexpr int kLeaderStop = 150;
constexpr qsizetype kMaxAfterPageNumber = 255;

int FieldLeft(const TPole &pole)
{
    return ClampEdge(pole.X());
}

int FieldRight(const TPole &pole)
{
    return ClampEdge(qint64(pole.X()) + pole.Width());
}

int Round(long double v)
{
    return SaturatingRound(v);
}

// The alignment code: 0 left, 1 right (DT_RIGHT), 2 centre (DT_CENTER); added to the flag word.
unsigned AlignmentCode(quint8 alignment)
{
    switch (alignment) {
    case 1:
        return DT_RIGHT;
    case 2:
        return DT_CENTER;
    default:
        return 0;
    }
}

// Bottom alignment and the end ellipsis each ask for a single line; set as flags, so a field
// with both still gets DT_SINGLELINE (a sum would carry into the next flag).
unsigned SingleLineFlags(const TPole &pole)
{
    unsigned flags = 0;
    if (pole.AlignBottom())
        flags |= DT_BOTTOM | DT_SINGLELINE;
    if (pole.EndEllipsis())
        flags |= DT_END_ELLIPSIS | DT_SINGLELINE;
    return flags;
}

// One string reused for every field: decoding allocates only when a longer text comes along.
QString &DecodedText(const TPole &pole, QByteArrayView bytes)
{
    static QString text;
    DecodeInto(bytes, pole.Styl()->Charset, text);
    return text;
}

QByteArray RawBytes(QByteArrayView bytes)
{
    return QByteArray::fromRawData(bytes.data(), bytes.size());
}

const QString &Leader(TPageCanvas &canvas)
{
    static const QString spaced = [] {
        QString s;
        for (int i = 0; i < 49; ++i)
            s += i ? QStringLiteral(" .") : QStringLiteral(".");
        return s;
    }();
    static const QString solid(97, u'.');
    const int z = Round(canvas.TextWidth(QStringLiteral("0000000000")) * 0.8L);
    return canvas.TextWidth(QStringLiteral("..........")) < z ? spaced : solid;
}

void DrawPicture(TPole &pole, int top0)
{
    const int h = FieldMeasuredHeight(pole);
    const TMetafileImage *picture = pole.Picture();
    if (picture && picture->Emf) {
        TMLineWydruk &model = *pole.Owner();
        TPageCanvas &canvas = model.GetCanvas();
        const int right = MmToDevX(kPageWidthMm, canvas.DpiX());
        const QRectF target(0, top0, right, h);
        // A picture in a repeated header is drawn the same way on every page: its records are kept once.
        model.Pages().SharedPictures().Draw(canvas.Painter(), picture, target,
                                            [&](QPainter &painter) { picture->Emf->Draw(painter, target); });
    }
    pole.DrawnHeight = h;
}

void DrawRule(TPole &pole, int top0, TPageCanvas &canvas)
{
    TMLineWydruk &model = *pole.Owner();
    TStyl &styl = *pole.Styl();
    const int h = FieldMeasuredHeight(pole);
    pole.DrawnHeight = h;
    // In 64 bits: a rule's dashes keep their places whatever its edges.
    const qint64 left = pole.X();
    const qint64 right = left + pole.Width();
    const int bottom = ClampEdge(qint64(top0) + h);
    const int ymid = top0 + (bottom - top0) / 2;
    const int gap11 = (bottom - top0) / 11;
    const quint8 ruleStyle = pole.RuleStyle();
    if (ruleStyle > 3)
        return;

    const auto c = static_cast<quint32>(styl.Color);
    const QColor color(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    const long double penMm = ruleStyle == 3 ? model.RulePenWidth * 3 : model.RulePenWidth;
    const int penWidth =
        ruleStyle == 1 || ruleStyle == 2 ? MmToDevY(model.RulePenWidth, canvas.DpiY()) : MmToDevY(penMm, canvas.DpiY());
    QPainter &p = canvas.Painter();
    p.setPen(QPen(color, penWidth, Qt::SolidLine, penWidth > 1 ? Qt::RoundCap : Qt::FlatCap));

    if (ruleStyle == 0 || ruleStyle == 3) {
        p.drawLine(QLine(ClampEdge(left), ymid, ClampEdge(right), ymid));
        return;
    }
    StyleLineHeight(styl); // measures DigitWidth
    const int d = Round(styl.DigitWidth * 1.4L);
    int dash = ruleStyle == 1 ? Round(d * 0.65L) : d;
    const int space = ruleStyle == 1 ? Round(dash * 0.35L) : 0;
    // A dash of 0 (a font without digit width) would never get anywhere.
    dash = std::max(dash, 1);
    // Dashes off the page are not recorded: a rule miles wide must not cost miles of dashes.
    const qint64 step = dash + space;
    const qint64 pageRight = MmToDevX(kPageWidthMm, canvas.DpiX()) + penWidth;
    qint64 x = left;
    if (x < -step - penWidth)
        x += (-penWidth - x) / step * step;
    const qint64 end = std::min(right, pageRight + step);
    QVarLengthArray<QLine, 128> lines;
    for (; x < end; x += step) {
        if (x + dash > right)
            dash = int(right - x);
        if (ruleStyle == 1) {
            lines.append(QLine(int(x), ymid, int(x) + dash, ymid));
        } else {
            lines.append(QLine(int(x), ymid - gap11, int(x) + dash, ymid - gap11));
            lines.append(QLine(int(x), ymid + gap11, int(x) + dash, ymid + gap11));
        }
    }
    if (!lines.isEmpty())
        p.drawLines(lines.constData(), int(lines.size()));
}

void DrawRichTextField(TPole &pole, float &y, int top0)
{
    TMLineWydruk &model = *pole.Owner();
    const QByteArray text = RawBytes(pole.Text());
    const int left = FieldLeft(pole);
    const int right = FieldRight(pole);
    int dpiY = model.GetCanvas().DpiY();
    const int bottom = MmToDevY(kPageHeightMm, dpiY);
    int top = top0 + MmToDevY(0.5, dpiY);
    int position = 0;
    int h = DrawRichText(model.GetCanvas().Painter(), {left, top, right, bottom}, text, &position, kRichTextZoom, true);
    while (position > 0) {
        y = DevToMmY(ClampEdge(qint64(top0) + h), dpiY);
        model.ClosePage(y);
        model.RepeatHeaders(y);
        dpiY = model.GetCanvas().DpiY();
        top0 = MmToDevY(y, dpiY);
        top = top0;
        const int from = position;
        h = DrawRichText(model.GetCanvas().Painter(), {left, top, right, bottom}, text, &position, kRichTextZoom, true);
        // A piece that takes nothing (an object taller than a page) would repeat forever.
        if (position <= from)
            break;
    }
    h = ClampEdge(qint64(h) + MmToDevY(1.0, dpiY));
    pole.SetDrawn(top, h);
}

void DrawTextField(TPole &pole, int top0, float R, float S, TPageCanvas &canvas)
{
    TStyl &styl = *pole.Styl();
    const TFieldKind kind = pole.Kind();
    const int left = FieldLeft(pole);
    const int right = FieldRight(pole);

    unsigned flags;
    if (kind == TFieldKind::Text || kind == TFieldKind::Leader)
        flags = (pole.NoWrap() ? DT_NOPREFIX | DT_NOCLIP : DT_EDITCONTROL | DT_NOPREFIX | DT_NOCLIP | DT_WORDBREAK) +
                AlignmentCode(pole.Alignment());
    else
        flags = DT_NOPREFIX | DT_WORDBREAK | DT_RIGHT;
    if (kind == TFieldKind::PageNumber)
        flags += AlignmentCode(pole.Alignment());

    QByteArrayView bytes = pole.Text();
    QString &text = DecodedText(pole, bytes);
    if (kind == TFieldKind::PageNumber) {
        const qsizetype at = text.indexOf(QLatin1String("%n"));
        if (at >= 0) {
            const QString number = QString::number(pole.Owner()->Pages().FinishedPages.size() + 1);
            text = text.left(at) + number + text.mid(at + 2, kMaxAfterPageNumber);
        }
    }
    flags |= SingleLineFlags(pole);

    const int a = StyleLineHeight(styl);
    const int dpiY = canvas.DpiY();
    // In 64 bits: a row or a spacing from the file may be as large as an int goes.
    const qint64 rowHeight = DeviceUnits().MmToDevY(R, dpiY);
    const int top =
        ClampEdge(pole.StyleName() == QByteArrayView("LOGO") ? top0 + (rowHeight - a) / 2
                                                             : qint64(top0) + DeviceUnits().MmToDevY(S, dpiY) - a);
    const int bottom = ClampEdge(top + rowHeight);

    canvas.SelectFont(StyleFont(styl));
    TRect rect{left, top, right, bottom};
    const int h = canvas.DrawText(text, rect, flags);

    if (kind == TFieldKind::Leader) {
        text += u'X';
        const int w = canvas.TextWidth(text);
        if (w < right - left) {
            TRect leader{left + w, top, right - kLeaderStop, bottom};
            canvas.DrawText(Leader(canvas), leader, DT_NOPREFIX | DT_RIGHT);
        }
    }
    pole.SetDrawn(top, h);
}

} // namespace

int FieldMeasuredHeight(TPole &pole)
{
    if (pole.MeasuredHeight != 0 || pole.Kind() == TFieldKind::Hidden)
        return pole.MeasuredHeight;
    TMLineWydruk &model = *pole.Owner();
    switch (pole.Kind()) {
    case TFieldKind::Picture: {
        const TMetafileImage *picture = pole.Picture();
        if (!picture || !picture->Emf || picture->Emf->Width() == 0)
            return 0;
        const int pageWidth = MmToDevX(kPageWidthMm, model.GetCanvas().DpiX());
        pole.MeasuredHeight = ClampEdge(qint64(pageWidth) * picture->Emf->Height() / picture->Emf->Width());
        break;
    }
    case TFieldKind::RichText: {
        TPageCanvas &canvas = model.GetCanvas();
        const int dpiY = canvas.DpiY();
        const int h = DrawRichText(canvas.Painter(), {0, 0, pole.Width(), MmToDevY(kPageHeightMm, dpiY)},
                                   RawBytes(pole.Text()), nullptr, kRichTextZoom, false);
        pole.MeasuredHeight = h + MmToDevY(0.5, dpiY) + MmToDevY(1.0, dpiY);
        break;
    }
    default: {
        TPageCanvas &canvas = SelectStyleFont(*pole.Styl());
        unsigned flags =
            pole.NoWrap() ? DT_NOPREFIX | DT_NOCLIP : DT_EDITCONTROL | DT_NOPREFIX | DT_NOCLIP | DT_WORDBREAK;
        flags += AlignmentCode(pole.Alignment());
        flags |= SingleLineFlags(pole);
        pole.MeasuredHeight = canvas.TextHeight(DecodedText(pole, pole.Text()), pole.Width(), flags);
        break;
    }
    }
    return pole.MeasuredHeight;
}

void DrawField(TPole &pole, float &y, float R, float S)
{
    TMLineWydruk &model = *pole.Owner();
    const int top0 = ClampEdge(DeviceUnits().MmToDevY(y, model.GetCanvas().DpiY()));
    switch (pole.Kind()) {
    case TFieldKind::Hidden:
        return;
    case TFieldKind::Picture:
        DrawPicture(pole, top0);
        return;
    case TFieldKind::Rule:
        DrawRule(pole, top0, SelectStyleFont(*pole.Styl()));
        return;
    case TFieldKind::RichText:
        SelectStyleFont(*pole.Styl());
        DrawRichTextField(pole, y, top0);
        return;
    default:
        DrawTextField(pole, top0, R, S, SelectStyleFont(*pole.Styl()));
        return;
    }
}

int LineHeight(TLinia &line)
{
    int h = 0;
    for (TPole &pole : line)
        if (pole.Kind() != TFieldKind::Hidden)
            h = std::max(h, FieldMeasuredHeight(pole));
    return h;
}

void DrawLine(TLinia &line, float &y)
{
    float S = 0;
    for (TPole &pole : line) {
        if (pole.Kind() == TFieldKind::Hidden)
            continue;
        FieldMeasuredHeight(pole);
        S = std::max(S, StyleLineHeightMm(*pole.Styl()));
    }
    float R = 0;
    for (TPole &pole : line) {
        if (pole.Kind() == TFieldKind::Hidden)
            continue;
        DrawField(pole, y, R, S);
        R = std::max(R, DeviceUnits().DevToMmY(pole.DrawnHeight, pole.Owner()->GetCanvas().DpiY()));
    }
    y = static_cast<float>(static_cast<long double>(y) + R + line.Owner()->LineSpacing);
}
