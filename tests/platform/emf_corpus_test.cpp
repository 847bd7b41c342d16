// The player over real EMF files written by Windows and other programs (the shared test data):
// every valid file plays and leaves marks; every deliberately broken one is rejected or drawn
// in part, never crashing. The folder is the CMake option WENOGLAD_EMF_CORPUS; the tests skip
// when it is not there (a fresh clone elsewhere).
#include "platform/base/Exception.h"
#include "platform/emf/EmfPicture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

const QString kCorpus = QStringLiteral(WENOGLAD_EMF_CORPUS);

std::string NoCorpus()
{
    return "no EMF files to play: the folder " + kCorpus.toStdString() +
           " is missing (point the CMake option WENOGLAD_EMF_CORPUS at the shared testdata/emf)";
}

QStringList Files(const QString &dir, bool corrupted)
{
    QStringList files;
    QDirIterator it(dir, {"*.emf", "*.EMF"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains(QStringLiteral("/libemf2svg-corrupted/")) == corrupted)
            files.append(path);
    }
    files.sort();
    return files;
}

QByteArray Read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// True when the file has a record of the plain format that draws: pictures made only of EMF+
// comments (which the player leaves to the plain records) or of state records draw nothing.
bool HasPlainDrawing(const QByteArray &bytes)
{
    static const QSet<quint32> drawing = {2,  3,  4,  5,  6,  7,  8,  15, 41, 42, 43, 44,  45,  46,  47,
                                          54, 55, 56, 62, 63, 64, 71, 72, 74, 77, 78, 79,  80,  81,  83,
                                          84, 85, 86, 87, 88, 89, 90, 91, 92, 96, 97, 108, 114, 116, 118};
    qint64 at = 0;
    while (at + 8 <= bytes.size()) {
        const auto *p = reinterpret_cast<const uchar *>(bytes.constData() + at);
        const quint32 type = qFromLittleEndian<quint32>(p), size = qFromLittleEndian<quint32>(p + 4);
        if (size < 8 || size > bytes.size() - at)
            break;
        // A bit-block transfer whose operation leaves the destination alone draws nothing.
        if (drawing.contains(type) || (type == 76 && size >= 44 && qFromLittleEndian<quint32>(p + 40) != 0x00AA0029))
            return true;
        at += size;
    }
    return false;
}

// Counts the pixels that are not the white background.
int Marks(const QImage &image)
{
    int marks = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF)
                ++marks;
    }
    return marks;
}

QImage Play(const platform::TEmfPicture &picture, int width)
{
    const QSize s = picture.Size();
    const int height =
        s.width() > 0 && s.height() > 0 ? std::clamp(width * s.height() / s.width(), 16, 4 * width) : width;
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.Draw(painter, QRectF(0, 0, width, height));
    return image;
}

} // namespace

TEST(EmfCorpus, EveryValidFilePlaysAndDrawsSomething)
{
    if (!QDir(kCorpus).exists())
        GTEST_SKIP() << NoCorpus();
    const QString out = qEnvironmentVariable("WENOGLAD_EMF_PNG_DIR");
    QStringList blank, rejected;
    const QStringList files = Files(kCorpus, false);
    ASSERT_GT(files.size(), 300);
    for (const QString &path : files) {
        try {
            const platform::TEmfPicture picture(Read(path));
            const QImage image = Play(picture, 400);
            if (Marks(image) == 0 && HasPlainDrawing(picture.Bytes()))
                blank.append(path);
            if (!out.isEmpty())
                image.save(out + "/" + QFileInfo(path).completeBaseName() + ".png");
        } catch (const EInvalidGraphic &) {
            rejected.append(path);
        }
    }
    EXPECT_TRUE(rejected.isEmpty()) << rejected.join('\n').toStdString();
    EXPECT_TRUE(blank.isEmpty()) << blank.join('\n').toStdString();
}

TEST(EmfCorpus, CorruptedFilesAreRejectedOrDrawnInPart)
{
    if (!QDir(kCorpus).exists())
        GTEST_SKIP() << NoCorpus();
    const QStringList files = Files(kCorpus, true);
    ASSERT_FALSE(files.isEmpty());
    int played = 0;
    for (const QString &path : files) {
        try {
            const platform::TEmfPicture picture(Read(path));
            Play(picture, 200);
            ++played;
        } catch (const EInvalidGraphic &e) {
            EXPECT_EQ(e.Message(), kMetafileNotValid);
        }
    }
    RecordProperty("played", played);
}
