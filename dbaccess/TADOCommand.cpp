#include "TADOCommand.h"

#include "dbaccess/TADOConnection.h"
#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/odbc/StatementText.h"
#include "dbaccess/values/Exceptions.h"

int TADOCommand::Execute() {
    if (commandText_.empty()) {
        throw EDatabaseError(prefixWithName(name_, "Missing CommandText property"));
    }
    if (connection_ == nullptr) {
        throw EDatabaseError(prefixWithName(name_, "Missing Connection or ConnectionString"));
    }
    const OdbcHandle statement =
        executeDirect(connection_->session(), replaceParameterMarkers(commandText_));
    return affectedRows(statement);
}
