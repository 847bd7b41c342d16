// Fuzzes laying printouts out into pages: the input is a printout body (compressed and put
// behind a good header here, so that mutations reach the records and fields), read into a model
// whose pages are then built and played. Whatever the body says, the build must end without a
// crash, a hang or a page drawn past its records.
#include "core/MLineWydruk.h"
#include "core/PrintoutFile.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>
#include <zlib.h>

// fontconfig keeps a cache it never frees when a face name sends it looking: not ours to fix.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

namespace {

QByteArray AsFile(const uint8_t *data, size_t size)
{
    uLongf packedSize = compressBound(static_cast<uLong>(size));
    QByteArray file("WENOR2001\x06Wydruk");
    const qsizetype header = file.size();
    file.resize(header + static_cast<qsizetype>(packedSize));
    compress2(reinterpret_cast<Bytef *>(file.data() + header), &packedSize, data, static_cast<uLong>(size), 1);
    file.resize(header + static_cast<qsizetype>(packedSize));
    return file;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray file = AsFile(data, size);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    TMLineWydruk model;
    try {
        ReadPrintout(buffer, model);
    } catch (const Exception &) {
        return 0; // a broken body is not laid out
    }
    // Enough for any small input; a body that would run to more pages is stopped there.
    constexpr size_t kMaxPages = 200;
    model.Pages().OnPageDone = [&model](TMLineWydruk *, platform::PageMetafile *) {
        if (model.Pages().FinishedPages.size() >= kMaxPages)
            model.Pages().Abort = true;
    };
    model.OnLineDone = [&model](TLinie *) {
        if (model.Pages().FinishedPages.size() >= kMaxPages)
            model.Pages().Abort = true;
    };
    model.BuildPages();
    QImage image(143, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    for (const auto &page : model.Pages().FinishedPages)
        page->Play(painter, QRectF(0, 0, 143, 200));
    return 0;
}
