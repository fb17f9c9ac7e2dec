#pragma once

#include <QObject>
#include <functional>

// Runs an action at most once a frame: at once when the last frame is a
// frame ago, otherwise once when the frame is over. A move run changes the
// progress display for every row; the screen only needs it at its own rate.
// The pacers share their frames, so that what they change is painted together.
class FramePacer : public QObject {
    Q_OBJECT

public:
    explicit FramePacer(std::function<void()> action, QObject* parent = nullptr);
    ~FramePacer() override;

    void request();

    static constexpr int frameMilliseconds = 16;

private:
    static void runFrame();

    std::function<void()> action_;
    bool pending_ = false;
};
