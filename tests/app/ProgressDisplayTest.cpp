#include "app/Gauge.h"
#include "app/RecordProgressBar.h"

#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

struct PercentCase {
    int max;
    int progress;
    int percent;
};

class GaugePercent : public ::testing::TestWithParam<PercentCase> {};

TEST_P(GaugePercent, IsTruncatedShareOfTheRange) {
    Gauge gauge;
    gauge.setMaxValue(GetParam().max);
    gauge.setProgress(GetParam().progress);
    EXPECT_EQ(gauge.percentDone(), GetParam().percent);
    EXPECT_EQ(gauge.percentText(), QString::number(GetParam().percent) + "%");
}

INSTANTIATE_TEST_SUITE_P(Tables, GaugePercent,
                         ::testing::Values(PercentCase{3, 1, 33}, PercentCase{3, 2, 66},
                                           PercentCase{3, 3, 100}, PercentCase{2, 1, 50},
                                           PercentCase{0, 0, 0}, PercentCase{0, 5, 0},
                                           PercentCase{5, 7, 100}, PercentCase{5, -2, 0},
                                           PercentCase{2000000000, 1999999999, 99}),
                         [](const ::testing::TestParamInfo<PercentCase>& param) {
                             return "Max" + std::to_string(param.param.max) + "Progress" +
                                    (param.param.progress < 0 ? "Minus" : "") +
                                    std::to_string(std::abs(param.param.progress));
                         });

TEST(GaugeProgress, StaysWithinTheRangeWhenAddedToOrWhenTheMaximumShrinks) {
    Gauge gauge;
    gauge.setMaxValue(2);
    gauge.addProgress(1);
    gauge.addProgress(1);
    gauge.addProgress(1);
    EXPECT_EQ(gauge.progress(), 2);
    EXPECT_EQ(gauge.percentDone(), 100);
    gauge.setMaxValue(1);
    EXPECT_EQ(gauge.progress(), 1);
    gauge.setProgress(0);
    EXPECT_EQ(gauge.percentDone(), 0);
}

// Pixels of the text: blue on the white part, white on the bar.
struct TextPixels {
    int whiteOnBar = 0;
    int blueOffBar = 0;
    int barPixels = 0;
};

TextPixels paintedTextPixels(int percent) {
    Gauge gauge;
    gauge.resize(198, 17);
    gauge.setMaxValue(100);
    gauge.setProgress(percent);
    const QImage image = gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int barEnd = 1 + (gauge.width() - 2) * percent / 100;
    TextPixels pixels;
    for (int y = 2; y < image.height() - 2; ++y) {
        for (int x = 2; x < image.width() - 2; ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool onBar = x < barEnd;
            if (c == Gauge::barColor()) {
                ++pixels.barPixels;
            }
            if (onBar && c.red() > 200 && c.green() > 200 && c.blue() > 200) {
                ++pixels.whiteOnBar;
            }
            if (!onBar && c.blue() > 150 && c.red() < 100 && c.green() < 100) {
                ++pixels.blueOffBar;
            }
        }
    }
    return pixels;
}

TEST(GaugePainting, TextIsInvertedWhereItCrossesTheBar) {
    const TextPixels empty = paintedTextPixels(0);
    EXPECT_EQ(empty.barPixels, 0);
    EXPECT_EQ(empty.whiteOnBar, 0);
    EXPECT_GT(empty.blueOffBar, 10) << "the text 0% is drawn in blue on white";

    const TextPixels half = paintedTextPixels(50);
    EXPECT_GT(half.barPixels, 1000);
    EXPECT_GT(half.whiteOnBar, 5) << "the left half of 50% is white on the bar";
    EXPECT_GT(half.blueOffBar, 5) << "the right half of 50% is blue on white";

    const TextPixels full = paintedTextPixels(100);
    EXPECT_EQ(full.blueOffBar, 0);
    EXPECT_GT(full.whiteOnBar, 10);
}

TEST(RecordProgress, PositionStaysWithinZeroAndTheMaximum) {
    RecordProgressBar bar;
    EXPECT_EQ(bar.max(), 100);
    bar.setMax(3);
    bar.setPosition(1);
    bar.stepBy(1);
    bar.stepBy(1);
    bar.stepBy(1);
    EXPECT_EQ(bar.position(), 3);
    bar.setPosition(-4);
    EXPECT_EQ(bar.position(), 0);
    bar.setPosition(2);
    bar.setMax(1);
    EXPECT_EQ(bar.position(), 1);
}

TEST(RecordProgress, EmptyTableShowsAnEmptyBarAndANegativeMaximumIsRefused) {
    RecordProgressBar bar;
    bar.setMax(0);
    bar.setPosition(1);
    EXPECT_EQ(bar.max(), 0);
    EXPECT_EQ(bar.position(), 0);
    EXPECT_LT(bar.minimum(), bar.maximum()) << "no busy indicator";
    EXPECT_EQ(bar.value(), 0);

    EXPECT_THROW(bar.setMax(-1), std::out_of_range);
    EXPECT_EQ(bar.max(), 0);
}

} // namespace
