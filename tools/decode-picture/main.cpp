// Decodes a picture once, when building, into the form the program draws without decoding:
// kevran-decode-picture INPUT OUTPUT. The output is a 16-byte header ("KVPIXEL1", the width
// and the height as 32-bit numbers in the machine's order) followed by the pixels, each a
// 32-bit RGB value in the machine's order (QImage::Format_RGB32), row after row.

#include "platform/FileReplacement.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: kevran-decode-picture INPUT OUTPUT\n", stderr);
        return 2;
    }
    // Read the way QPixmap reads it, so that the pixels are those the window showed before.
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "kevran-decode-picture: %s: %s\n", argv[1],
                     qPrintable(reader.errorString()));
        return 1;
    }
    image = image.convertToFormat(QImage::Format_RGB32);
    QByteArray out(16, '\0');
    std::memcpy(out.data(), "KVPIXEL1", 8);
    const quint32 size[2] = {quint32(image.width()), quint32(image.height())};
    std::memcpy(out.data() + 8, size, sizeof size);
    for (int y = 0; y < image.height(); ++y)
        out.append(reinterpret_cast<const char *>(image.constScanLine(y)), image.width() * 4);
    const QString reason = FileReplacement::write(QString::fromLocal8Bit(argv[2]), out);
    if (!reason.isEmpty()) {
        std::fprintf(stderr, "kevran-decode-picture: cannot write %s: %s\n", argv[2],
                     qPrintable(reason));
        return 1;
    }
    return 0;
}
