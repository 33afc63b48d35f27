// Prints the hand-over picture folder of its own process and writes a
// picture there, for the test that compares the folders of two processes.
#include "sestava.h"

#include <QCoreApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    const bool written = tz::rep::setHandoverPicture(QStringLiteral("Rx.bmp"), img);
    std::printf("%s\n", tz::rep::handoverFolder().toLocal8Bit().constData());
    return written ? 0 : 1;
}
