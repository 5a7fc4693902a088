// Makes the program's desktop icon from the menu picture: the picture
// scaled into a square of the given size, centred on transparency.
//
//     arsipstaf-make-icon assets/menu-picture.jpg arsipstaf.png 256
#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: arsipstaf-make-icon PICTURE ICON.png SIZE\n");
        return 2;
    }
    const int size = std::atoi(argv[3]);
    QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull() || size <= 0) {
        std::fprintf(stderr, "arsipstaf-make-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage scaled = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    painter.end();
    if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "arsipstaf-make-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
