#pragma once

#include <QString>

class DataLinkServices;
class TADOConnection;

// The caption "<owner>.<name> ConnectionString" of the editor.
QString connectionStringCaption(const QString& ownerName, const QString& connectionName);

// Runs the connection string editor on the connection, owned by the component
// named ownerName. Writes the confirmed string when it differs from the one
// held, code unit by code unit, and returns whether it did. Never connects.
bool EditConnectionString(TADOConnection& connection, const QString& ownerName,
                          DataLinkServices& services);
