// Lays arbitrary printout text out with arbitrary DrawTextEx flags and widths, records it on a page
// and plays the page. Besides crashes and hangs it checks that measuring (both ways) and drawing agree.
#include "platform/metafile/PageMetafile.h"
#include "platform/text/CodePage.h"
#include "platform/text/DrawText.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstring>
#include <memory>

using namespace platform;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 8)
        return 0;
    uint32_t flags;
    int16_t width;
    std::memcpy(&flags, data, 4);
    std::memcpy(&width, data + 4, 2);
    const uint8_t face = data[6];
    const uint8_t charset = data[7];
    const QString text = DecodeCharset(QByteArray(reinterpret_cast<const char *>(data + 8), int(size - 8)), charset);
    static const char *const kFaces[] = {"Courier New", "Arial", "Times New Roman", "MS Sans Serif"};
    const int height = 6 + face % 40;
    const TFont font = CreateFont(-height, -(face / 4 % 20), 0, 0, face & 0x80 ? 700 : 400, face & 0x40, face & 0x20, 0,
                                  charset, 0, 0, 1, 0, kFaces[face % 4]);
    // Only the flags the line drawing uses; the rest of GDI's are not emulated.
    flags &= DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX |
             DT_EDITCONTROL | DT_END_ELLIPSIS;

    TRect measured{10, 20, 10 + width, 30};
    const int calcHeight = DrawTextEx(nullptr, font, text, measured, flags | DT_CALCRECT);
    if (calcHeight < 0 || calcHeight % font.Height() != 0 || measured.Bottom != 20 + calcHeight ||
        TextHeight(font, text, width, flags) != calcHeight)
        __builtin_trap();

    PageMetafile page;
    int drawnHeight;
    {
        QPainter p(&page);
        TRect r{10, 20, 10 + width, 30};
        drawnHeight = DrawTextEx(&p, font, text, r, flags | DT_NOCLIP);
    }
    if (!(flags & (DT_BOTTOM | DT_VCENTER)) && drawnHeight != calcHeight)
        __builtin_trap();
    QImage image(143, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    page.Play(p, QRectF(0, 0, 143, 200));
    return 0;
}
