// PNG export on every core against one: wenoglad-cli png of 150 listing pages, the whole process
// timed on one core (taskset, which makes the command encode on the thread that plays the pages,
// as it did before) and on all, less the time to lay the printout out (the same command for one
// page). Wall time: the point is the second core. Goal: at least 1.8 x on two cores.
//   png_bench [PAGES]
#include "tests/support/ListingPrintout.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Seconds the command took, or -1 when it failed.
double Seconds(const QStringList &prefix, const QStringList &args)
{
    const QString cli = QStringLiteral(WENOGLAD_BUILD_DIR "/cli/wenoglad-cli");
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(prefix.isEmpty() ? cli : prefix.front(), prefix.isEmpty() ? args : prefix.mid(1) + QStringList{cli} + args);
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::printf("wenoglad-cli failed: %s\n", p.readAllStandardError().constData());
        return -1;
    }
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(2, std::atoi(argv[1])) : 150;
    QTemporaryDir dir;
    const QString wyd = dir.filePath("listing.wyd");
    wydtest::WriteListingPrintout(wyd, false, pages + 20);
    const QStringList oneCore = {"taskset", "-c", "0"};
    const QString range = QStringLiteral("1-%1").arg(pages);
    double rate[2] = {};
    for (int all = 0; all < 2; ++all) {
        const QStringList prefix = all ? QStringList() : oneCore;
        const double layout = Seconds(prefix, {"png", wyd, "-o", dir.filePath("first"), "--pages", "1"});
        const double whole = Seconds(prefix, {"png", wyd, "-o", dir.filePath(all ? "all" : "one"), "--pages", range});
        if (layout < 0 || whole < 0)
            return 1;
        rate[all] = (pages - 1) / std::max(whole - layout, 1e-6);
        std::printf("%-14s %6.1f pages/s (%d pages in %.2f s, %.2f s of it laying out)\n",
                    all ? "all cores:" : "one core:", rate[all], pages, whole, layout);
    }
    const double ratio = rate[1] / rate[0];
    std::printf("PNG export on %d cores: %.2f x one core (goal >= 1.8: %s)\n", QThread::idealThreadCount(), ratio,
                ratio >= 1.8 ? "met" : "MISSED");
    return 0;
}
