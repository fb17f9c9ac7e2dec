#include <QGuiApplication>
#include <QImage>
#include <QSet>
#include <algorithm>
#include <cstdio>

// Checks that each PNG decodes and shows more than a blank screen: many
// distinct colours and no single colour covering nearly all of it.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s image.png...\n", argv[0]);
        return 2;
    }
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        const QImage image(QString::fromLocal8Bit(argv[i]));
        if (image.isNull()) {
            std::fprintf(stderr, "%s: not a readable image\n", argv[i]);
            ++failures;
            continue;
        }
        QHash<QRgb, qint64> counts;
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x) {
                ++counts[line[x]];
            }
        }
        qint64 largest = 0;
        for (const qint64 count : counts) {
            largest = std::max(largest, count);
        }
        const qint64 pixels = qint64(rgb.width()) * rgb.height();
        const double share = pixels == 0 ? 1.0 : double(largest) / double(pixels);
        const bool blank = counts.size() < 16 || share > 0.9;
        std::printf("%s: %dx%d, %lld colours, largest colour %.1f%%%s\n", argv[i], rgb.width(),
                    rgb.height(), static_cast<long long>(counts.size()), share * 100.0,
                    blank ? " - blank" : "");
        if (blank) {
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
