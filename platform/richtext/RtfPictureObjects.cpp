#include "platform/richtext/RtfPictureObjects_p.h"

#include "platform/richtext/RtfEmfPicture_p.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

namespace platform::rtf {

namespace {
constexpr int kIndexProperty = QTextFormat::UserProperty + 17;
}

PictureObjects::PictureObjects(QTextDocument *document) : QObject(document)
{
    document->documentLayout()->registerHandler(kObjectType, this);
}

QTextCharFormat PictureObjects::Add(const QTextCharFormat &base, QSizeF size, QImage image, QByteArray emf)
{
    QTextCharFormat f = base;
    f.setObjectType(kObjectType);
    f.setProperty(kIndexProperty, int(pictures_.size()));
    pictures_.push_back({size, std::move(image), std::move(emf)});
    return f;
}

const PictureObjects::Picture *PictureObjects::Find(const QTextFormat &format) const
{
    bool ok = false;
    const int i = format.property(kIndexProperty).toInt(&ok);
    if (!ok || i < 0 || i >= int(pictures_.size()))
        return nullptr;
    return &pictures_[std::size_t(i)];
}

QSizeF PictureObjects::intrinsicSize(QTextDocument *, int, const QTextFormat &format)
{
    const Picture *p = Find(format);
    return p ? p->size : QSizeF();
}

void PictureObjects::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *, int, const QTextFormat &format)
{
    const Picture *p = Find(format);
    if (!p)
        return;
    if (!p->image.isNull())
        painter->drawImage(rect, p->image);
    else if (!p->emf.isEmpty())
        DrawEmfPicture(*painter, rect, p->emf);
}

} // namespace platform::rtf
