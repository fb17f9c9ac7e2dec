#include "FramePacer.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace {

struct Frames {
    QElapsedTimer sinceLastFrame;
    QTimer timer;
    std::vector<FramePacer*> waiting;
};

Frames& frames() {
    // Lives as long as the program: pacers go before the application does.
    static auto* shared = new Frames;
    return *shared;
}

} // namespace

FramePacer::FramePacer(std::function<void()> action, QObject* parent)
    : QObject(parent), action_(std::move(action)) {
    Frames& shared = frames();
    if (!shared.timer.isSingleShot()) {
        shared.timer.setSingleShot(true);
        QObject::connect(&shared.timer, &QTimer::timeout, &FramePacer::runFrame);
    }
}

FramePacer::~FramePacer() {
    auto& waiting = frames().waiting;
    waiting.erase(std::remove(waiting.begin(), waiting.end(), this), waiting.end());
}

void FramePacer::request() {
    Frames& shared = frames();
    if (!pending_) {
        pending_ = true;
        shared.waiting.push_back(this);
    }
    if (!shared.sinceLastFrame.isValid() || shared.sinceLastFrame.elapsed() >= frameMilliseconds) {
        shared.timer.stop();
        runFrame();
    } else if (!shared.timer.isActive()) {
        shared.timer.start(static_cast<int>(frameMilliseconds - shared.sinceLastFrame.elapsed()));
    }
}

void FramePacer::runFrame() {
    Frames& shared = frames();
    shared.sinceLastFrame.restart();
    const std::vector<FramePacer*> due = std::exchange(shared.waiting, {});
    for (FramePacer* pacer : due) {
        pacer->pending_ = false;
        pacer->action_();
    }
}
