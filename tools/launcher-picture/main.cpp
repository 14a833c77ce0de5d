// Renders the launcher's background picture: kevran-launcher-picture OUTPUT.jpg

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cstdio>

namespace {

// An eight-pointed star: two squares turned against each other.
QPainterPath star(QPointF centre, qreal radius)
{
    QPainterPath path;
    for (int k = 0; k < 2; ++k) {
        QPolygonF square;
        for (int i = 0; i < 4; ++i) {
            const qreal a = qDegreesToRadians(45.0 * k + 90.0 * i);
            square << centre + QPointF(radius * qCos(a), radius * qSin(a));
        }
        square << square.first();
        path.addPolygon(square);
    }
    return path;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: kevran-launcher-picture OUTPUT.jpg\n", stderr);
        return 2;
    }
    QImage image(742, 557, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0, QColor(0x0d, 0x3b, 0x40));
    sky.setColorAt(1, QColor(0x06, 0x22, 0x26));
    p.fillRect(image.rect(), sky);

    // A lattice of faint stars.
    p.setPen(QPen(QColor(255, 255, 255, 22), 1.2));
    p.setBrush(Qt::NoBrush);
    for (int y = 0; y < image.height() + 60; y += 60)
        for (int x = (y / 60) % 2 ? 30 : 0; x < image.width() + 60; x += 60)
            p.drawPath(star(QPointF(x, y), 22));

    // A warm glow behind the name.
    QRadialGradient glow(QPointF(290, 210), 300);
    glow.setColorAt(0, QColor(0xe8, 0xc8, 0x7a, 90));
    glow.setColorAt(1, QColor(0xe8, 0xc8, 0x7a, 0));
    p.fillRect(image.rect(), glow);

    p.setPen(QPen(QColor(0xe8, 0xc8, 0x7a), 2));
    p.drawPath(star(QPointF(290, 120), 46));
    p.drawEllipse(QPointF(290, 120), 30, 30);

    QFont arabic(QStringLiteral("Noto Naskh Arabic"));
    arabic.setPixelSize(92);
    arabic.setBold(true);
    p.setFont(arabic);
    p.setPen(QColor(0xf6, 0xe7, 0xc1));
    p.drawText(QRect(40, 170, 500, 130), Qt::AlignCenter, QStringLiteral("ورتانس"));

    QFont latin(QStringLiteral("DejaVu Sans"));
    latin.setPixelSize(30);
    latin.setLetterSpacing(QFont::AbsoluteSpacing, 14);
    p.setFont(latin);
    p.setPen(QColor(0xe8, 0xc8, 0x7a));
    p.drawText(QRect(40, 300, 500, 44), Qt::AlignCenter, QStringLiteral("KEVRAN"));

    QFont subtitle(QStringLiteral("Noto Naskh Arabic"));
    subtitle.setPixelSize(26);
    p.setFont(subtitle);
    p.setPen(QColor(0xd9, 0xe6, 0xe4));
    p.drawText(QRect(40, 350, 500, 50), Qt::AlignCenter,
               QStringLiteral("قرآن کريم و نهج البلاغه با ترجمه فارسي"));

    // A quiet panel behind the launcher's buttons.
    p.setPen(QPen(QColor(0xe8, 0xc8, 0x7a, 120), 1));
    p.setBrush(QColor(0xf4, 0xf1, 0xe8, 235));
    p.drawRoundedRect(QRectF(563, 280, 153, 241), 8, 8);
    p.end();

    if (!image.save(QString::fromLocal8Bit(argv[1]), nullptr, 92)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
