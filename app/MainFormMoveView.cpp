#include "MainFormMoveView.h"

#include "ApplicationTitle.h"
#include "CheckListBox.h"
#include "Gauge.h"
#include "RecordProgressBar.h"
#include "TMainForm.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace {

QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void MainFormMoveView::AddMessage(const std::string& text) {
    form_.AddMessage(text);
}

void MainFormMoveView::addMemoLine(const std::string& text) {
    form_.addMemoLine(toQString(text));
}

void MainFormMoveView::addResultLine(const std::string& text, bool ticked) {
    const QString line = toQString(text);
    const bool named =
        !selectedTable_.isEmpty() && line.startsWith(selectedTable_ + u' ', Qt::CaseInsensitive);
    form_.addTargetResult(line, ticked, named ? selectedTable_.size() : -1);
}

void MainFormMoveView::clearResults() {
    form_.clstTarget->clear();
    form_.Memo1->clear();
}

int MainFormMoveView::sourceCount() const {
    return form_.clstSource->count();
}

bool MainFormMoveView::sourceChecked(int index) const {
    return form_.clstSource->checked(index);
}

std::string MainFormMoveView::sourceText(int index) const {
    return form_.clstSource->item(index)->text().toStdString();
}

void MainFormMoveView::selectSource(int index) {
    // A selection made here is not the user's: the click handler stays out.
    const QSignalBlocker blocker(form_.clstSource);
    form_.clstSource->setCurrentRow(index);
    form_.clstSource->scrollToItem(form_.clstSource->item(index));
    selectedTable_ = form_.clstSource->item(index)->text();
}

int MainFormMoveView::countCheckedSources() const {
    return TMainForm::CountChecked(*form_.clstSource);
}

void MainFormMoveView::setTablesMaximum(int maximum) {
    form_.pbTables->setMaxValue(maximum);
}

void MainFormMoveView::setTablesProgress(int progress) {
    form_.pbTables->setProgress(progress);
}

int MainFormMoveView::tablesProgress() const {
    return form_.pbTables->progress();
}

int MainFormMoveView::tablesPercentDone() const {
    return form_.pbTables->percentDone();
}

void MainFormMoveView::setRecordMaximum(int maximum) {
    form_.pbRecords->setMax(maximum);
}

int MainFormMoveView::recordMaximum() const {
    return form_.pbRecords->max();
}

void MainFormMoveView::setRecordPosition(int position) {
    form_.pbRecords->setPosition(position);
}

int MainFormMoveView::recordPosition() const {
    return form_.pbRecords->position();
}

void MainFormMoveView::setRecordCounterText(const std::string& text) {
    form_.setRecordCounterText(toQString(text));
}

void MainFormMoveView::setApplicationTitle(const std::string& title) {
    // Set for every row, changed once a percent.
    if (title != lastTitle_) {
        lastTitle_ = title;
        ::setApplicationTitle(toQString(title));
    }
}

void MainFormMoveView::ShowConnectionState(int index, bool target) {
    form_.ShowConnectionState(index, target ? form_.s2 : form_.s1);
}

bool MainFormMoveView::moving() const {
    return form_.FMoving;
}

void MainFormMoveView::beginRun() {
    form_.beginRun();
}

void MainFormMoveView::endRun() {
    form_.endRun();
}

bool MainFormMoveView::stopRequested() const {
    return form_.FStopRequested;
}

void MainFormMoveView::clearStopRequest() {
    form_.FStopRequested = false;
}

void MainFormMoveView::processEvents() {
    // Asked for once a row. A pass costs a system call even with nothing to
    // do, so rows quicker than a millisecond share one: input waits at most
    // that long, well within a frame, and a clock read is all the rest cost.
    const auto now = std::chrono::steady_clock::now();
    if (now < nextPass_) {
        return;
    }
    nextPass_ = now + std::chrono::milliseconds(1);
    form_.processEvents();
}

void MainFormMoveView::showError(const std::string& text) {
    form_.showError(toQString(text));
}

bool MainFormMoveView::confirm(const std::string& text) {
    return form_.confirm(toQString(text)) == DialogResult::Yes;
}
