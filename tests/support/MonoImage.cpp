#include "tests/support/MonoImage.h"

namespace wydtest {

QImage BlankMono(int width, int height, bool inkIsOne)
{
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable(inkIsOne ? QList<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 0)}
                                 : QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(inkIsOne ? 0 : 1);
    return image;
}

} // namespace wydtest
