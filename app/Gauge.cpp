#include "Gauge.h"

#include <QPainter>
#include <algorithm>

Gauge::Gauge(QWidget* parent) : QWidget(parent) {}

void Gauge::setMinValue(int value) {
    minValue_ = value;
    maxValue_ = std::max(maxValue_, minValue_);
    setProgress(progress_);
}

void Gauge::setMaxValue(int value) {
    maxValue_ = value;
    minValue_ = std::min(minValue_, maxValue_);
    setProgress(progress_);
}

void Gauge::setProgress(int value) {
    const int clamped = std::clamp(value, minValue_, maxValue_);
    if (clamped != progress_) {
        progress_ = clamped;
        update();
    }
}

void Gauge::addProgress(int value) {
    setProgress(static_cast<int>(
        std::clamp<long long>(static_cast<long long>(progress_) + value, minValue_, maxValue_)));
}

int Gauge::percentDone() const noexcept {
    const long long range = static_cast<long long>(maxValue_) - minValue_;
    if (range == 0) {
        return 0;
    }
    return static_cast<int>((static_cast<long long>(progress_) - minValue_) * 100 / range);
}

QString Gauge::percentText() const {
    return QString::asprintf("%d%%", percentDone());
}

QColor Gauge::barColor() {
    return QColor(0, 0, 255);
}

void Gauge::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect outer = rect();
    painter.setPen(Qt::black);
    painter.drawRect(outer.adjusted(0, 0, -1, -1));

    const QRect inner = outer.adjusted(1, 1, -1, -1);
    painter.fillRect(inner, Qt::white);
    const int barWidth = inner.width() * percentDone() / 100;
    const QRect bar(inner.left(), inner.top(), barWidth, inner.height());
    painter.fillRect(bar, barColor());

    // The text is drawn twice, each time clipped to one side of the bar's end.
    const QString text = percentText();
    painter.setFont(font());
    painter.setClipRect(bar);
    painter.setPen(Qt::white);
    painter.drawText(inner, Qt::AlignCenter, text);
    painter.setClipRect(inner.adjusted(barWidth, 0, 0, 0));
    painter.setPen(barColor());
    painter.drawText(inner, Qt::AlignCenter, text);
}
