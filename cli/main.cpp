// wenoglad-cli: the headless companion of Wenoglad. Commands live in their own files.
#include "cli/BuildPrintout.h"
#include "cli/Commands.h"

#include <QGuiApplication>
#include <QStringList>

#include <memory>
#include <new>

#include <cstdio>

namespace {

int RunCommand(int argc, char **argv)
{
    // Without a display the commands still work: Qt's offscreen platform stands in for the
    // commands that need a GUI application (each makes its own; `info` needs none).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty()) {
        std::fputs(UsageText().toUtf8().constData(), stderr);
        return 2;
    }
    const QString &command = args.front();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help"))
        return RunHelp();
    if (command == QLatin1String("info"))
        return RunInfo(args.mid(1));
    if (command == QLatin1String("wersja"))
        return RunWersja(args.mid(1));
    if (command == QLatin1String("paczka"))
        return RunPaczka(args.mid(1));
    // Laying pages out takes fonts, and fonts take a GUI application.
    std::unique_ptr<QGuiApplication> app;
    const QStringList drawing = {"text", "pdf", "png", "print", "thumbnail", "find"};
    if (drawing.contains(command))
        app = std::make_unique<QGuiApplication>(argc, argv);
    if (command == QLatin1String("text"))
        return RunText(args.mid(1));
    if (command == QLatin1String("pdf"))
        return RunPdf(args.mid(1));
    if (command == QLatin1String("png"))
        return RunPng(args.mid(1));
    if (command == QLatin1String("print"))
        return RunPrint(args.mid(1));
    if (command == QLatin1String("thumbnail"))
        return RunThumbnail(args.mid(1));
    if (command == QLatin1String("find"))
        return RunFind(args.mid(1));
    std::fprintf(stderr, "wenoglad-cli: nieznane polecenie \"%s\"\n\n%s", command.toUtf8().constData(),
                 UsageText().toUtf8().constData());
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // Memory running out anywhere (reading, laying out, exporting) is the printout being too big.
    try {
        return RunCommand(argc, argv);
    } catch (const std::bad_alloc &) {
        PrintError(kPrintoutTooLarge);
        return kExitBadPrintout;
    }
}
