// Composes the menu window's picture: a world map under an arc of lettering
// naming the program's purpose, above a banner with the office's name.
// Usage: compose <equirectangular world map> <output.jpg>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cstdio>

namespace {
constexpr int width = 295;
constexpr int height = 305;

// Letters stood upright along an arc centred at (cx, cy) with the given
// radius, spread symmetrically about the top of the circle.
void drawArcText(QPainter& p, const QString& text, QPointF centre, qreal radius, const QFont& font)
{
    p.setFont(font);
    const QFontMetricsF m(font);
    const qreal total = m.horizontalAdvance(text);
    qreal angle = -total / radius / 2;  // radians, 0 = straight up
    for (const QChar c : text) {
        const qreal advance = m.horizontalAdvance(c);
        const qreal mid = angle + advance / radius / 2;
        p.save();
        p.translate(centre.x() + radius * qSin(mid), centre.y() - radius * qCos(mid));
        p.rotate(qRadiansToDegrees(mid));
        p.drawText(QPointF(-advance / 2, 0), QString(c));
        p.restore();
        angle += advance / radius;
    }
}

void drawBanner(QPainter& p, const QRectF& band, const QString& text)
{
    const QColor ribbon(150, 20, 30);
    const QColor fold(95, 10, 18);
    const qreal tail = 16;
    // The two tails behind the band's ends.
    for (int side : {-1, 1}) {
        const qreal x = side < 0 ? band.left() : band.right();
        QPainterPath path;
        path.moveTo(x, band.top() + 6);
        path.lineTo(x + side * tail * 1.6, band.top() + 6);
        path.lineTo(x + side * tail, band.center().y() + 6);
        path.lineTo(x + side * tail * 1.6, band.bottom() + 6);
        path.lineTo(x, band.bottom() + 6);
        path.closeSubpath();
        p.fillPath(path, fold);
    }
    p.fillRect(band, ribbon);
    p.setPen(QPen(QColor(230, 190, 90), 1.5));
    p.drawRect(band.adjusted(2, 2, -2, -2));
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(17);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(255, 236, 170));
    p.drawText(band, Qt::AlignCenter, text);
}
}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: compose <world map> <output.jpg>\n");
        return 2;
    }
    const QImage map(QString::fromLocal8Bit(argv[1]));
    if (map.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }

    QImage picture(width, height, QImage::Format_RGB32);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(250, 246, 228));
    sky.setColorAt(1, QColor(222, 232, 240));
    p.fillRect(picture.rect(), sky);

    // The map in an oval frame, as a globe seen flat.
    const QRectF oval(12, 86, width - 24, 142);
    QPainterPath clip;
    clip.addEllipse(oval);
    p.save();
    p.setClipPath(clip);
    p.drawImage(oval, map);
    p.restore();
    p.setPen(QPen(QColor(20, 50, 110), 2.5));
    p.drawEllipse(oval);
    p.setPen(QPen(QColor(20, 50, 110, 90), 0.8));
    for (int i = 1; i < 6; ++i) {  // meridians
        const qreal w = oval.width() * i / 6.0;
        p.drawEllipse(QRectF(oval.center().x() - w / 2, oval.top(), w, oval.height()));
    }
    p.drawLine(QPointF(oval.left(), oval.center().y()), QPointF(oval.right(), oval.center().y()));

    QFont arcFont(QStringLiteral("Liberation Sans"));
    arcFont.setPixelSize(13);
    arcFont.setBold(true);
    p.setPen(QColor(20, 50, 110));
    drawArcText(p, QStringLiteral("PENGELOLAAN DATA MUTASI"), QPointF(width / 2.0, 170), 140, arcFont);
    arcFont.setPixelSize(12);
    drawArcText(p, QStringLiteral("KEPEGAWAIAN"), QPointF(width / 2.0, 170), 118, arcFont);

    drawBanner(p, QRectF(34, 246, width - 68, 34), QStringLiteral("RADAR Kelas I Sindara"));
    p.end();

    if (!picture.save(QString::fromLocal8Bit(argv[2]), "JPEG", 88)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
