#include "EditConnectionString.h"

#include "TConnEditForm.h"
#include "dbaccess/TADOConnection.h"
#include "dbaccess/values/UnicodeText.h"
#include "dbaccess/values/Variant.h"

QString connectionStringCaption(const QString& ownerName, const QString& connectionName) {
    return QStringLiteral("%1%2%3 %4")
        .arg(ownerName, QStringLiteral("."), connectionName, QStringLiteral("ConnectionString"));
}

bool EditConnectionString(TADOConnection& connection, const QString& ownerName,
                          DataLinkServices& services) {
    TConnEditForm form(services);
    form.setWindowTitle(
        connectionStringCaption(ownerName, QString::fromStdString(connection.Name())));
    const std::u16string oldString = utf8ToUtf16(connection.ConnectionString());
    const std::u16string newString = form.RunEditor(oldString);
    if (newString == oldString) {
        return false;
    }
    connection.SetConnectionString(utf16ToUtf8(newString));
    return true;
}
