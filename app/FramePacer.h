#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

// Runs an action at most once a frame: at once when the last run is a frame
// ago, otherwise once when the frame is over. A move run changes the
// progress display for every row; the screen only needs it at its own rate.
class FramePacer : public QObject {
    Q_OBJECT

public:
    explicit FramePacer(std::function<void()> action, QObject* parent = nullptr);

    void request();

    static constexpr int frameMilliseconds = 16;

private:
    void run();

    std::function<void()> action_;
    QElapsedTimer sinceLastRun_;
    QTimer timer_;
};
