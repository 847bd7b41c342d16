#include "core/Pole.h"

#include "core/BodyString.h"
#include "core/MLineWydruk.h"
#include "core/MetafileImage.h"
#include "core/PositionScale.h"

#include <type_traits>

static_assert(sizeof(TPole) <= 32, "fields are the bulk of a model: keep them small");

const TFieldLook *TPole::DefaultLook(TMLineWydruk *owner)
{
    return owner->StyleNames().DefaultLook();
}

void TPole::Read(TInflateStream &stream)
{
    TMLineWydruk &model = *Owner();
    const bool v6 = model.Version >= 6;
    // The look's bytes are gathered in one word: built byte by byte in memory, the table would read
    // them back through a stall.
    quint32 packed = 0;
    try {
        if (stream.ReadU8() != marker::kField)
            throw EReadFileError::Marker(marker::kField);
        const size_t fixed = v6 ? 14 : 12;
        const char *p = stream.Need(fixed);
        x_ = ScaleRound(qFromLittleEndian<qint32>(p), model.PositionScale);
        width_ = ScaleTrunc(qFromLittleEndian<qint32>(p + 4), model.PositionScale);
        quint32 flags = 0;
        if (v6) {
            flags |= p[10] ? kAlignBottom : 0;
            flags |= p[11] ? kEndEllipsis : 0;
        }
        const char *q = p + (v6 ? 12 : 10);
        flags |= q[0] ? kNoWrap : 0;
        packed = quint32(FieldKindOf(static_cast<quint8>(p[8]))) | quint32(static_cast<quint8>(p[9])) << 8 |
                 quint32(static_cast<quint8>(q[1])) << 16 | flags << 24;
        stream.Skip(fixed);
    } catch (const EBodyEnded &) {
        throw EReadFileError::Marker(marker::kField);
    }
    drawnTop_ = kNotDrawn;
    TStyleName *name = model.StyleNames().Intern(BodyStringView(stream));
    look_ = model.StyleNames().Look(
        {name, quint8(packed), quint8(packed >> 8), quint8(packed >> 16), quint8(packed >> 24)});
    const QByteArrayView text = BodyStringView(stream);
    try {
        text_ = model.Texts().Add(text);
    } catch (const std::length_error &) {
        throw EReadFileError::Marker(marker::kShortString);
    }
    MeasuredHeight = 0;
    if (Kind() == TFieldKind::Picture) {
        std::unique_ptr<TMetafileImage> picture;
        if (model.Version >= 4)
            picture = ReadMetafileImage(stream, [&](qint64 bytes) { model.CheckReadBudget(bytes); });
        model.AdoptPicture(*this, std::move(picture));
    }
}

QByteArrayView TPole::Text() const
{
    return Owner()->Texts().View(text_);
}

void TPole::SetText(QByteArrayView text)
{
    text_ = Owner()->Texts().Add(text);
    MeasuredHeight = 0;
}

TStyl *TPole::Styl() const
{
    TStyleName *name = look_->Name;
    if (!name->Styl)
        name->Styl = Owner()->Styles().Find(StyleName());
    return name->Styl;
}

const TMetafileImage *TPole::Picture() const
{
    return Kind() == TFieldKind::Picture ? Owner()->PictureOf(*this) : nullptr;
}

TDevRect TPole::DrawnRect() const
{
    if (drawnTop_ == kNotDrawn)
        return {};
    // The drawing computes the right edge in 32 bits as well.
    const auto right = static_cast<qint32>(static_cast<quint32>(x_) + static_cast<quint32>(width_));
    return {x_, drawnTop_, right, ClampEdge(qint64(drawnTop_) + DrawnHeight)};
}

void TPole::SetDrawn(qint32 top, qint32 height)
{
    drawnTop_ = ClampEdge(top);
    DrawnHeight = height;
}
