#pragma once
// Pictures inside rich-text documents: an inline object of the picture's size that draws a
// decoded bitmap, an EMF picture, or nothing (a picture we cannot decode keeps its box so that
// pagination stays right).
#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSizeF>
#include <QTextCharFormat>
#include <QTextObjectInterface>
#include <vector>

class QTextDocument;

namespace platform::rtf {

class PictureObjects : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    static constexpr int kObjectType = QTextFormat::UserObject + 17;

    // Owned by the document and registered with its layout.
    explicit PictureObjects(QTextDocument *document);

    // The character format of an object showing image (may be null) or emf, sized in 96-dpi pixels.
    QTextCharFormat Add(const QTextCharFormat &base, QSizeF size, QImage image, QByteArray emf);

    QSizeF intrinsicSize(QTextDocument *document, int position, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int position,
                    const QTextFormat &format) override;

private:
    struct Picture {
        QSizeF size;
        QImage image;
        QByteArray emf;
    };
    const Picture *Find(const QTextFormat &format) const;

    std::vector<Picture> pictures_;
};

} // namespace platform::rtf
