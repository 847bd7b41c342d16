#include "cli/BuildPrintout.h"
#include "cli/Commands.h"

#include "platform/base/SaveFile.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr int kMaxSize = 2048;

} // namespace

int RunThumbnail(const QStringList &args)
{
    bool ok = false;
    const int size = args.size() == 3 ? args[2].toInt(&ok) : 0;
    if (!ok || size < 1 || size > kMaxSize) {
        PrintError(
            QStringLiteral("wenoglad-cli thumbnail: podaj plik wydruku, plik PNG i rozmiar od 1 do %1").arg(kMaxSize));
        return kExitUsage;
    }
    // A file manager waits for this: only the first page is laid out.
    BuiltPrintout printout;
    if (const int code = BuildPrintoutWithPages(args[0], printout, 1))
        return code;
    const platform::PageMetafile &page = *printout.pages.front();
    const QSize pageSize = page.Size();
    // The page stands upright: its height is the size asked for, its width follows the page's shape.
    const int height = size;
    const int width = std::max(1, int(qint64(height) * pageSize.width() / std::max(1, pageSize.height())));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        page.Play(painter, QRectF(0, 0, width, height));
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(0, 0, width - 1, height - 1);
    }
    platform::SaveFile out(args[1]);
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit()) {
        PrintError(out.ErrorText());
        return kExitCannotOpen;
    }
    return kExitOk;
}
