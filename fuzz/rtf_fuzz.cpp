// Feeds arbitrary bytes to the RTF reader and lays them out piece by piece, measuring and drawing.
#include "platform/richtext/DrawRichText.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>

// Qt's font database keeps fontconfig's answer for every family name it has been asked about
// for the life of the process; arbitrary font names make that look like a leak.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the field's width, so layout runs at many widths.
    const int width = 20 + data[0] * 5;
    const QByteArray rtf(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    QImage image(300, 300, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    const platform::RichTextRect page{10, 10, 10 + width, 290};
    int measured = platform::DrawRichText(painter, {10, 10, 10 + width, 100000}, rtf, nullptr, 1.8f, false);
    if (measured < 0)
        std::abort();
    int position = 0;
    for (int piece = 0; piece < 200; ++piece) {
        const int start = position;
        const int h = platform::DrawRichText(painter, page, rtf, &position, 1.8f, true);
        if (h < 0 || h > 290 + 2)
            std::abort(); // a piece never takes more than its rectangle
        if (position == 0)
            break;
        if (position <= start)
            std::abort(); // continuation must advance or end
    }
    return 0;
}
