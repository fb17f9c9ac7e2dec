#pragma once

#include <QString>
#include <optional>
#include <string>

class QWidget;

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
                                              const QString& filter) = 0;
};

// Qt's file dialog, offering the filter's files and all files.
class QtFileChooser : public FileChooser {
public:
    std::optional<QString> chooseFile(QWidget* parent, const QString& caption,
                                      const QString& initialDirectory,
                                      const QString& filter) override;
};

inline constexpr const char* DataLinkFileFilter = "Data Link Files (*.udl)";

// Lets the user choose a data link file ("*.udl"), starting in the initial
// file's directory, or in the data link folder for a bare name or none.
// Returns the chosen path, or the initial file when the user cancelled.
std::u16string BrowseDataLinkFile(QWidget* parent, const std::u16string& initialFile,
                                  FileChooser& chooser);
