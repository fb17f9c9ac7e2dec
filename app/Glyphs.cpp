#include "Glyphs.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace {

QImage render(const QString& name, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/glyphs/%1.svg").arg(name));
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// Grey, lighter and a little embossed, as disabled glyphs look.
QImage disabled(const QImage& image) {
    QImage grey(image.size(), QImage::Format_ARGB32);
    grey.fill(Qt::transparent);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() == 0) {
                continue;
            }
            const int level = 128 + qGray(c.rgb()) / 2;
            grey.setPixelColor(x, y, QColor(level, level, level, c.alpha()));
        }
    }
    QImage result(image.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.drawImage(1, 1,
                      grey.convertToFormat(QImage::Format_Alpha8)
                          .convertToFormat(QImage::Format_ARGB32_Premultiplied));
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(result.rect(), Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, grey);
    return result;
}

} // namespace

QIcon toolGlyph(const QString& name, bool twoState) {
    const QImage enabled = render(name, 16);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(enabled), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(twoState ? disabled(enabled) : enabled), QIcon::Disabled);
    return icon;
}

std::array<QPixmap, 2> connectionStateImages() {
    return {QPixmap::fromImage(render(QStringLiteral("disconnected"), 16)),
            QPixmap::fromImage(render(QStringLiteral("connected"), 16))};
}

QPixmap programIcon(int size) {
    return QPixmap::fromImage(render(QStringLiteral("program"), size));
}
