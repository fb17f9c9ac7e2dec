#pragma once

#include "FramePacer.h"

#include <QProgressBar>

// A progress bar whose position stays within 0 and its maximum, as the record
// progress bar pbRecords needs; a maximum of 0 shows an empty bar rather than
// Qt's busy indicator.
class RecordProgressBar : public QProgressBar {
    Q_OBJECT

public:
    explicit RecordProgressBar(QWidget* parent = nullptr);

    int max() const noexcept { return max_; }
    int position() const noexcept { return position_; }
    // A negative maximum is out of range and throws std::out_of_range.
    void setMax(int max);
    void setPosition(int position);
    void stepBy(int delta);

private:
    void sync();
    void showPosition();

    int max_ = 100;
    int position_ = 0;
    // A move run sets the position for every row; the bar follows at the
    // screen's rate.
    FramePacer positions_;
};
