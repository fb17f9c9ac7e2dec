#include "FramePacer.h"

FramePacer::FramePacer(std::function<void()> action, QObject* parent)
    : QObject(parent), action_(std::move(action)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &FramePacer::run);
}

void FramePacer::request() {
    if (!sinceLastRun_.isValid() || sinceLastRun_.elapsed() >= frameMilliseconds) {
        timer_.stop();
        run();
    } else if (!timer_.isActive()) {
        timer_.start(static_cast<int>(frameMilliseconds - sinceLastRun_.elapsed()));
    }
}

void FramePacer::run() {
    sinceLastRun_.restart();
    action_();
}
