#pragma once

#include <QWidget>

// A horizontal gauge: a blue bar on white with a single border and its
// percent done written centred over it, inverted where the text crosses the
// bar. Stands in for the tables gauge pbTables.
class Gauge : public QWidget {
    Q_OBJECT

public:
    explicit Gauge(QWidget* parent = nullptr);

    int minValue() const noexcept { return minValue_; }
    int maxValue() const noexcept { return maxValue_; }
    int progress() const noexcept { return progress_; }
    void setMinValue(int value);
    void setMaxValue(int value);
    // Kept within the minimum and the maximum.
    void setProgress(int value);
    void addProgress(int value);

    // (progress - min) * 100 / (max - min), truncated; 0 when max equals min.
    int percentDone() const noexcept;
    // The painted text, "%d%%" of the percent done.
    QString percentText() const;

    static QColor barColor();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
};
