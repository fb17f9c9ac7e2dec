#include "RecordProgressBar.h"

#include <algorithm>
#include <stdexcept>

RecordProgressBar::RecordProgressBar(QWidget* parent)
    : QProgressBar(parent), positions_([this] { showPosition(); }) {
    setTextVisible(false);
    sync();
}

void RecordProgressBar::setMax(int max) {
    if (max < 0) {
        throw std::out_of_range("Progress bar maximum out of range: " + std::to_string(max));
    }
    max_ = max;
    position_ = std::min(position_, max_);
    sync();
}

void RecordProgressBar::setPosition(int position) {
    const int clamped = std::clamp(position, 0, max_);
    if (clamped != position_) {
        position_ = clamped;
        positions_.request();
    }
}

void RecordProgressBar::stepBy(int delta) {
    setPosition(static_cast<int>(
        std::clamp<long long>(static_cast<long long>(position_) + delta, 0, max_)));
}

void RecordProgressBar::sync() {
    // Qt shows a busy indicator for an empty range; 0 of 1 looks the same as 0 of 0.
    setRange(0, std::max(max_, 1));
    showPosition();
}

void RecordProgressBar::showPosition() {
    setValue(position_);
}
