// Plays every shared real EMF file into an 800-pixel-wide image and prints files per second,
// the median and the slowest file's time. Goal: median under 5 ms, no file over 500 ms.
#include "platform/base/Exception.h"
#include "platform/emf/EmfPicture.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = QStringLiteral(WENOGLAD_EMF_CORPUS);
    struct Item {
        QString path;
        QByteArray bytes;
    };
    std::vector<Item> items;
    QDirIterator it(dir, {"*.emf", "*.EMF"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            items.push_back({path, f.readAll()});
    }
    if (items.empty()) {
        std::printf("no EMF files under %s (CMake option WENOGLAD_EMF_CORPUS)\n", qPrintable(dir));
        return 0;
    }
    // One warm-up pass loads the fonts; the second is measured.
    std::vector<std::pair<double, QString>> times;
    QElapsedTimer total;
    for (int pass = 0; pass < 2; ++pass) {
        times.clear();
        total.start();
        for (const Item &item : items) {
            QElapsedTimer t;
            t.start();
            try {
                const platform::TEmfPicture picture(item.bytes);
                const QSize s = picture.Size();
                const int height =
                    s.width() > 0 && s.height() > 0 ? std::clamp(800 * s.height() / s.width(), 16, 3200) : 800;
                QImage image(800, height, QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::white);
                QPainter painter(&image);
                picture.Draw(painter, QRectF(0, 0, 800, height));
            } catch (const EInvalidGraphic &) {
            }
            times.emplace_back(t.nsecsElapsed() / 1e6, item.path);
        }
    }
    const double seconds = total.nsecsElapsed() / 1e9;
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2].first;
    std::printf("files: %zu, %.1f files/s, median %.2f ms, 90th percentile %.2f ms\n", times.size(),
                times.size() / seconds, median, times[times.size() * 9 / 10].first);
    std::printf("slowest:\n");
    for (std::size_t i = 0; i < std::min<std::size_t>(5, times.size()); ++i) {
        const auto &t = times[times.size() - 1 - i];
        std::printf("  %8.2f ms  %s\n", t.first, qPrintable(t.second.mid(dir.size() + 1)));
    }
    return 0;
}
