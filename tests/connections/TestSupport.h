#pragma once

#include "connections/DataLinkServices.h"
#include "platform/BrowseDataLinkFile.h"

#include <QApplication>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The driver manager caches what it reads of odbc.ini, so the whole test run
// shares one user file, set up before the first test: VelbrookShop (SQLite3),
// VelbrookOrders (PostgreSQL Unicode) and Connection, the source's start-up
// data source, an SQLite file of testDataSourceFile().
void installTestDataSources();
const std::string& testDataSourceFile();

// Sets or unsets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

// A fresh folder under the temporary directory, removed with its contents.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }
    std::string string() const { return path_.string(); }
    // Creates a file (and its folders) below the folder; returns its path.
    std::string addFile(const std::string& relative, const std::string& content = {}) const;

private:
    std::filesystem::path path_;
};

// A data home of its own, so that the data link folder is a known one.
class DataHome {
public:
    DataHome();
    std::string dataLinkFolder() const { return home_.string() + "/OLE DB/Data Links"; }
    std::string addDataLink(const std::string& name, const std::string& content = {}) const {
        return home_.addFile("OLE DB/Data Links/" + name, content);
    }

private:
    TemporaryFolder home_;
    ScopedEnvironment variable_;
};

// Runs an action on the next modal dialog of class Dialog once it is shown,
// standing in for the user.
template <typename Dialog> class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(Dialog&)> action) : action_(std::move(action)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible()) {
                return;
            }
            timer_.stop();
            ran_ = true;
            action_(*dialog);
        });
        timer_.start(5);
    }

    bool ran() const noexcept { return ran_; }

private:
    std::function<void(Dialog&)> action_;
    QTimer timer_;
    bool ran_ = false;
};

// A file chooser that answers from a queue and keeps what it was asked.
class ScriptedFileChooser : public FileChooser {
public:
    struct Request {
        QString caption;
        QString initialDirectory;
        QString filter;
        FileChoice choice;
    };

    std::optional<QString> chooseFile(QWidget*, const QString& caption,
                                      const QString& initialDirectory, const QString& filter,
                                      FileChoice choice) override {
        requests.push_back({caption, initialDirectory, filter, choice});
        if (failWith) {
            throw std::runtime_error(*failWith);
        }
        if (answers.empty()) {
            return std::nullopt;
        }
        // A chosen file, or the chooser cancelled.
        const bool chosen = answers.front().has_value();
        const QString file = chosen ? *answers.front() : QString();
        answers.pop_front();
        return chosen ? std::optional<QString>(file) : std::nullopt;
    }

    std::deque<std::optional<QString>> answers;
    std::vector<Request> requests;
    std::optional<std::string> failWith;
};

// The program's services with a scripted chooser; help and error reports
// are kept instead of shown.
class TestDataLinkServices : public StandardDataLinkServices {
public:
    TestDataLinkServices() : StandardDataLinkServices(files) {}

    void ShowHelp(QWidget*, int helpContext) override { helpContexts.push_back(helpContext); }
    void ReportError(QWidget*, const QString& text) override { errors.push_back(text); }

    ScriptedFileChooser files;
    std::vector<int> helpContexts;
    std::vector<QString> errors;
};
