#pragma once

#include <QString>

// The folder that holds the README and docs/: the documentation installed
// under the program's prefix (bin/../share/doc/velbrook) when it is there,
// otherwise the checkout the program was built from.
QString documentsFolder(const QString& executableFolder);

// documentsFolder for the running program's own executable.
QString programDocumentsFolder();
