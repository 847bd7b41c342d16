// libFuzzer target for the EMF player: arbitrary bytes are read as a picture and, when the
// header is accepted, played into a small image and into a painter with its own transform
// and clip. Only the invalid-metafile error may come out; anything else is a finding.
#include "platform/base/Exception.h"
#include "platform/emf/EmfPicture.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>

// fontconfig keeps a cache it never frees when a face name sends it looking: not ours to fix.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        const platform::TEmfPicture picture(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        (void)picture.Size();
        QImage image(160, 120, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        picture.Draw(painter, QRectF(0, 0, 160, 120));
        painter.scale(0.5, 0.75);
        painter.setClipRect(QRectF(10, 10, 200, 100));
        picture.Draw(painter, QRectF(20, 10, 180, 90));
    } catch (const EInvalidGraphic &) {
    }
    return 0;
}
