#include "BrowseDataLinkFile.h"

#include "DataLinkFolder.h"
#include "FilePaths.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTreeView>
#include <algorithm>

std::optional<QString> QtFileChooser::chooseFile(QWidget* parent, const QString& caption,
                                                 const QString& initialDirectory,
                                                 const QString& filter, FileChoice choice) {
    QFileDialog dialog(parent, caption, initialDirectory,
                       filter + QStringLiteral(";;All Files (*)"));
    dialog.setObjectName(QStringLiteral("FileChooser"));
    dialog.setFileMode(choice == FileChoice::Existing ? QFileDialog::ExistingFile
                                                      : QFileDialog::AnyFile);
    dialog.setAcceptMode(choice == FileChoice::Save ? QFileDialog::AcceptSave
                                                    : QFileDialog::AcceptOpen);
    if (choice == FileChoice::Save) {
        // A name typed without the filter's extension gets it.
        const QRegularExpressionMatch extension =
            QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)")).match(filter);
        dialog.setDefaultSuffix(extension.captured(1));
    }
    // Qt's own chooser: the name takes the room left by the other columns.
    dialog.setViewMode(QFileDialog::Detail);
    if (auto* files = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = files->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        dialog.resize(std::max(dialog.width(), 720), std::max(dialog.height(), 440));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
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
        QString::fromLatin1(DataLinkFileFilter), FileChoice::Existing);
    if (!chosen) {
        return initialFile;
    }
    return chosen->toStdU16String();
}
