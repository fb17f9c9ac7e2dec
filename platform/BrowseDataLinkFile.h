#pragma once

#include <QString>
#include <optional>
#include <string>

class QWidget;

// What a file chooser lets the user pick.
enum class FileChoice {
    // A file that exists, to be read.
    Existing,
    // A file that exists or the name of one to be created, such as a new database.
    ExistingOrNew,
    // A file to be written; replacing one is confirmed first.
    Save,
};

// The platform's file chooser, behind an interface so that a test can answer
// it in place of the user.
class FileChooser {
public:
    virtual ~FileChooser() = default;

    // The path of the file chosen, or nothing when the user cancelled. An
    // empty initial directory means none: the chooser picks its own. filter
    // reads "Description (*.ext)".
    virtual std::optional<QString> chooseFile(QWidget* parent, const QString& caption,
                                              const QString& initialDirectory,
                                              const QString& filter, FileChoice choice) = 0;
};

// Qt's file dialog, offering the filter's files and all files, with columns
// as wide as what they show.
class QtFileChooser : public FileChooser {
public:
    std::optional<QString> chooseFile(QWidget* parent, const QString& caption,
                                      const QString& initialDirectory, const QString& filter,
                                      FileChoice choice) override;
};

inline constexpr const char* DataLinkFileFilter = "Data Link Files (*.udl)";

// Lets the user choose a data link file ("*.udl"), starting in the initial
// file's directory, or in the data link folder for a bare name or none.
// Returns the chosen path, or the initial file when the user cancelled.
std::u16string BrowseDataLinkFile(QWidget* parent, const std::u16string& initialFile,
                                  FileChooser& chooser);
