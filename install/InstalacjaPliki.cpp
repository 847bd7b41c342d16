// The contents of the files the install writes: the desktop entry, the MIME type, the icon and the
// thumbnailer, and where each goes.
#include "install/Instalacja.h"
#include "platform/base/Defaults.h"

#include <QDir>

namespace {

// The icon the desktop shows for printouts, named after their MIME type as icon themes name them.
QString MimeIconName()
{
    return QString(defaults::kPrintoutMimeType).replace(u'/', u'-');
}

// One argument of an Exec line: quoted, with the characters the quoting reserves escaped, then
// escaped again as a desktop-entry string.
QString ExecArg(const QString &arg)
{
    QString quoted;
    for (const QChar c : arg) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'%', QStringLiteral("%%"));
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    return u'"' + quoted + u'"';
}

// A desktop-entry string value: backslashes and line breaks escaped.
QString EntryString(const QString &value)
{
    QString s = value;
    s.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\r', QStringLiteral("\\r"));
    return s;
}

QByteArray DesktopEntry(const TInstallPaths &paths)
{
    QString lib = paths.Library;
    if (lib.size() > 1 && lib.endsWith(u'/'))
        lib.chop(1);
    const QString exe = ExecArg(paths.Program);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Wenoglad - przeglądarka wydruków Wenora\n"
                          "Comment=Przeglądanie i drukowanie wydruków programu WENOR 2001\n"
                          "TryExec=%1\n"
                          "Exec=%2 %f\n"
                          "Path=%3\n"
                          "Icon=wenoglad\n"
                          "Terminal=false\n"
                          "MimeType=%4;\n"
                          "Categories=Office;Viewer;\n"
                          "Keywords=wydruk;raport;drukowanie;podgląd;WENOR;\n"
                          "Actions=Odinstaluj;\n"
                          "\n"
                          "[Desktop Action Odinstaluj]\n"
                          "Name=Odinstaluj program Wenoglad\n"
                          "Exec=%2 UNINST\n")
        .arg(EntryString(paths.Program), exe, EntryString(lib), defaults::kPrintoutMimeType)
        .toUtf8();
}

QByteArray MimePackage()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>Wydruk z programu WENOR 2001</comment>\n"
                          "    <icon name=\"%2\"/>\n"
                          "    <magic priority=\"80\">\n"
                          "      <match type=\"string\" offset=\"0\" value=\"WENOR2001\"/>\n"
                          "      <match type=\"string\" offset=\"0\" value=\"WENOR2000\"/>\n"
                          "    </magic>\n"
                          "    <glob pattern=\"%3\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(defaults::kPrintoutMimeType, MimeIconName(), defaults::PrintoutMask())
        .toUtf8();
}

QByteArray Thumbnailer(const TInstallPaths &paths)
{
    return QStringLiteral("[Thumbnailer Entry]\n"
                          "TryExec=%1\n"
                          "Exec=%2 thumbnail %i %o %s\n"
                          "MimeType=%3;\n")
        .arg(EntryString(paths.Cli), ExecArg(paths.Cli), defaults::kPrintoutMimeType)
        .toUtf8();
}

// A printed sheet with a folded corner, lines of a report and the program's blue band.
QByteArray Icon()
{
    return QByteArrayLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
        "  <path d=\"M12 4h30l10 10v46H12z\" fill=\"#fff\" stroke=\"#333\" stroke-width=\"2\"/>\n"
        "  <path d=\"M42 4v10h10\" fill=\"#ddd\" stroke=\"#333\" stroke-width=\"2\"/>\n"
        "  <rect x=\"12\" y=\"18\" width=\"40\" height=\"8\" fill=\"#000080\"/>\n"
        "  <text x=\"32\" y=\"25\" font-family=\"sans-serif\" font-size=\"7\" font-weight=\"bold\" fill=\"#fff\" "
        "text-anchor=\"middle\">WENOR</text>\n"
        "  <g stroke=\"#555\" stroke-width=\"2\">\n"
        "    <path d=\"M17 32h30M17 37h24M17 42h30M17 47h18M17 52h26\"/>\n"
        "  </g>\n"
        "</svg>\n");
}

} // namespace

QList<TInstalledFile> InstalledFiles(const TInstallPaths &paths)
{
    const QDir data(paths.DataHome);
    QList<TInstalledFile> files = {
        {data.filePath(QStringLiteral("applications/wenoglad.desktop")), DesktopEntry(paths), false},
        {data.filePath(QStringLiteral("mime/packages/wenoglad.xml")), MimePackage(), false},
        {data.filePath(QStringLiteral("icons/hicolor/scalable/apps/wenoglad.svg")), Icon(), false},
        {data.filePath(QStringLiteral("icons/hicolor/scalable/mimetypes/%1.svg").arg(MimeIconName())), Icon(), false},
        {data.filePath(QStringLiteral("thumbnailers/wenoglad.thumbnailer")), Thumbnailer(paths), false},
    };
    // The desktop launches only entries it may run: the shortcut is marked executable.
    if (const QString shortcut = SciezkaSkrotu(paths); !shortcut.isEmpty())
        files.append({shortcut, DesktopEntry(paths), true});
    return files;
}
