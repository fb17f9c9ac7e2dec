#include "BrowseDataLinkFile.h"

#include "DataLinkFolder.h"
#include "FilePaths.h"

#include <QFileDialog>

std::optional<QString> QtFileChooser::chooseFile(QWidget* parent, const QString& caption,
                                                 const QString& initialDirectory,
                                                 const QString& filter) {
    const QString chosen = QFileDialog::getOpenFileName(parent, caption, initialDirectory,
                                                        filter + QStringLiteral(";;All Files (*)"));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

std::u16string BrowseDataLinkFile(QWidget* parent, const std::u16string& initialFile,
                                  FileChooser& chooser) {
    // The chooser always starts on the pattern, never on the current name. A
    // name without a folder stands for a file in the data link folder.
    const std::string initial = QString::fromStdU16String(initialFile).toStdString();
    std::string directory = directoryPart(initial);
    if (directory.empty()) {
        const std::string folder = DataLinkFolder();
        if (!folder.empty()) {
            directory = folder + PathDelimiter;
        }
    }
    const std::optional<QString> chosen = chooser.chooseFile(
        parent, QStringLiteral("Select Data Link File"), QString::fromStdString(directory),
        QString::fromLatin1(DataLinkFileFilter));
    if (!chosen) {
        return initialFile;
    }
    return chosen->toStdU16String();
}
