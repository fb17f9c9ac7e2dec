// Measures appending lines to the window's message list and move status
// memo: 50 000 lines each, the time of the last 5 000 against the first
// 5 000 in the same run. A ratio near 1 means an append costs the same
// however long the list is.
#include "app/MessageDialogs.h"
#include "app/TMainForm.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int lineCount = 50000;
constexpr int sliceSize = 5000;

class SilentDialogs : public MessageDialogs {
public:
    void showError(const QString&) override {}
    DialogResult confirm(const QString&) override { return DialogResult::No; }
    void reportError(const QString&, const QString&) override {}
    void showInformation(const QString&) override {}
};

// Seconds of the first and of the last slice of lineCount appends.
std::pair<double, double> appendTimes(const std::function<void(int)>& append) {
    double first = 0;
    double last = 0;
    for (int start = 0; start < lineCount; start += sliceSize) {
        const auto began = std::chrono::steady_clock::now();
        for (int i = start; i < start + sliceSize; ++i) {
            append(i);
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        if (start == 0) {
            first = seconds;
        }
        last = seconds;
    }
    return {first, last};
}

void report(const char* what, const std::pair<double, double>& times) {
    std::printf("%s: first %d lines %.3f s, last %d lines %.3f s, ratio %.2f\n", what, sliceSize,
                times.first, sliceSize, times.second, times.second / times.first);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication application(argc, argv);
    SilentDialogs dialogs;
    TMainForm form(dialogs);
    form.show();
    const QString text = QStringLiteral("Table: readings UNIQUE constraint failed: readings.code");
    report("message list", appendTimes([&](int i) { form.AddMessage(text + QString::number(i)); }));
    // The memo's page in front, and the event loop run as a move run does.
    form.PageControl1->setCurrentWidget(form.Memo1);
    report("memo", appendTimes([&](int i) {
               form.addMemoLine(text + QString::number(i));
               form.processEvents();
           }));
    return 0;
}
