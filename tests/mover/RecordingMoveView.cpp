#include "RecordingMoveView.h"

#include <algorithm>
#include <stdexcept>

void RecordingMoveView::AddMessage(const std::string& text) {
    messages.push_back(text);
    processEvents();
}

void RecordingMoveView::addMemoLine(const std::string& text) {
    memo.push_back(text);
}

void RecordingMoveView::addResultLine(const std::string& text, bool ticked) {
    results.push_back({text, ticked});
}

// The run clears the result list and the memo together.
void RecordingMoveView::clearResults() {
    results.clear();
    memo.clear();
}

int RecordingMoveView::sourceCount() const {
    return static_cast<int>(sources.size());
}

bool RecordingMoveView::sourceChecked(int index) const {
    return sources.at(static_cast<std::size_t>(index)).ticked;
}

std::string RecordingMoveView::sourceText(int index) const {
    return sources.at(static_cast<std::size_t>(index)).text;
}

void RecordingMoveView::selectSource(int index) {
    selections.push_back(index);
}

int RecordingMoveView::countCheckedSources() const {
    return static_cast<int>(
        std::count_if(sources.begin(), sources.end(), [](const auto& s) { return s.ticked; }));
}

void RecordingMoveView::setTablesMaximum(int maximum) {
    tablesMaximum = maximum;
    tablesProgress_ = std::clamp(tablesProgress_, 0, std::max(tablesMaximum, 0));
}

void RecordingMoveView::setTablesProgress(int progress) {
    tablesProgress_ = std::clamp(progress, 0, std::max(tablesMaximum, 0));
}

int RecordingMoveView::tablesPercentDone() const {
    if (tablesMaximum == 0) {
        return 0;
    }
    return static_cast<int>(static_cast<long long>(tablesProgress_) * 100 / tablesMaximum);
}

void RecordingMoveView::setRecordMaximum(int maximum) {
    if (maximum < 0) {
        throw std::out_of_range("Progress bar maximum out of range: " + std::to_string(maximum));
    }
    recordMaximum_ = maximum;
    recordPosition_ = std::min(recordPosition_, recordMaximum_);
}

void RecordingMoveView::setRecordPosition(int position) {
    recordPosition_ = std::clamp(position, 0, recordMaximum_);
}

void RecordingMoveView::setRecordCounterText(const std::string& text) {
    counterTexts.push_back(text);
}

void RecordingMoveView::setApplicationTitle(const std::string& title) {
    titles.push_back(title);
}

void RecordingMoveView::ShowConnectionState(int index, bool target) {
    connectionStates.emplace_back(target, index);
}

void RecordingMoveView::beginRun() {
    moving_ = true;
    stopEnabled = true;
}

void RecordingMoveView::endRun() {
    moving_ = false;
    stopEnabled = false;
}

void RecordingMoveView::processEvents() {
    ++eventPasses;
    if (duringEvents) {
        duringEvents(*this);
    }
}

void RecordingMoveView::showError(const std::string& text) {
    errors.push_back(text);
}

bool RecordingMoveView::confirm(const std::string& text) {
    questions.push_back(text);
    if (answers.empty()) {
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}
