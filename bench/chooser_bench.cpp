// The file chooser on big folders: selecting a folder of 10,000 files (the list filled through
// OnDodajPlik, sorted, with the preview side off), and the search for *.wyd below a tree of 50,000
// entries, side by side with `find DIR -iname '*.wyd'` on the same tree. The two searches take
// turns; the best run of each counts, since the machine is shared.
//   chooser_bench [RUNS]
#include "bench/BenchSupport.h"
#include "chooser/Explorer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

void Touch(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        std::abort();
}

// 10 folders of 50 subfolders of 99 files, one in ten a printout: 50,010 entries.
int MakeTree(const QString &root)
{
    int entries = 0;
    for (int a = 0; a < 10; ++a) {
        for (int b = 0; b < 50; ++b) {
            const QString dir = QStringLiteral("%1/g%2/p%3").arg(root).arg(a).arg(b);
            QDir().mkpath(dir);
            entries += b == 0 ? 2 : 1;
            for (int f = 0; f < 99; ++f, ++entries)
                Touch(QStringLiteral("%1/plik%2.%3").arg(dir).arg(f).arg(f % 10 == 0 ? "WYD" : "txt"));
        }
    }
    return entries;
}

std::unique_ptr<TExplorerDlg> Chooser()
{
    auto dlg = std::make_unique<TExplorerDlg>();
    dlg->WyborPliku = true;
    dlg->PlikiWidoczne = true;
    dlg->files.Mask = QStringLiteral("*.wyd");
    dlg->OnDodajPlik = [](const std::filesystem::path &, QString &opis, bool &) { opis = QStringLiteral("opis"); };
    return dlg;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir tmp;
    qputenv("HOME", QFile::encodeName(tmp.path()));

    const QString lista = tmp.path() + QStringLiteral("/lista");
    QDir().mkpath(lista);
    for (int i = 0; i < 10000; ++i)
        Touch(QStringLiteral("%1/raport%2.wyd").arg(lista).arg(i, 5, 10, QLatin1Char('0')));
    const QString drzewo = tmp.path() + QStringLiteral("/drzewo");
    const int entries = MakeTree(drzewo);

    double listWall = 1e9, listCpu = 1e9;
    int listed = 0;
    for (int r = 0; r < runs; ++r) {
        auto dlg = Chooser();
        dlg->UstawKatalog(tmp.path());
        QTreeWidgetItem *node = dlg->tree->topLevelItem(0)->child(1);
        QElapsedTimer t;
        const double c0 = bench::CpuSeconds();
        t.start();
        dlg->tree->setCurrentItem(node);
        listWall = std::min(listWall, t.nsecsElapsed() / 1e9);
        listCpu = std::min(listCpu, bench::CpuSeconds() - c0);
        listed = dlg->lb->count();
    }
    std::printf("folder of 10000 files: %d lines listed, best of %d: %.3f s wall, %.3f s cpu\n", listed, runs, listWall,
                listCpu);

    double ourWall = 1e9, findWall = 1e9;
    int found = 0, findFound = 0;
    for (int r = 0; r < runs; ++r) {
        auto dlg = Chooser();
        dlg->UstawKatalog(drzewo);
        QElapsedTimer t;
        t.start();
        dlg->btnSzukajClick();
        ourWall = std::min(ourWall, t.nsecsElapsed() / 1e9);
        found = dlg->lb->count();

        QProcess find;
        t.restart();
        find.start(QStringLiteral("find"), {drzewo, QStringLiteral("-iname"), QStringLiteral("*.wyd")});
        find.waitForFinished(-1);
        findWall = std::min(findWall, t.nsecsElapsed() / 1e9);
        findFound = int(find.readAllStandardOutput().count('\n'));
    }
    std::printf("search below %d entries: chooser %d files in %.3f s, find %d files in %.3f s (best of %d)\n", entries,
                found, ourWall, findFound, findWall, runs);
    std::printf("ratio chooser / find: %.2f\n", ourWall / findWall);
    return 0;
}
