#include "DocumentsFolder.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

QString documentsFolder(const QString& executableFolder) {
    const QString installed =
        QDir::cleanPath(executableFolder + QStringLiteral("/../share/doc/velbrook"));
    if (QFileInfo::exists(installed + QStringLiteral("/README.md"))) {
        return installed;
    }
    return QStringLiteral(VELBROOK_DOCUMENTS_DIR);
}

QString programDocumentsFolder() {
    // /proc rather than QCoreApplication: the address is also asked for
    // before the application object exists.
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return QStringLiteral(VELBROOK_DOCUMENTS_DIR);
    }
    return documentsFolder(QString::fromStdString(executable.parent_path().string()));
}
