#include "TADOCommand.h"

#include "Exceptions.h"
#include "OdbcHandle.h"
#include "StatementText.h"
#include "TADOConnection.h"

int TADOCommand::Execute() {
    if (commandText_.empty()) {
        throw EDatabaseError(prefixWithName(name_, "Missing CommandText property"));
    }
    if (connection_ == nullptr) {
        throw EDatabaseError(prefixWithName(name_, "Missing Connection or ConnectionString"));
    }
    const OdbcHandle statement = executeDirect(*connection_, replaceParameterMarkers(commandText_));
    return affectedRows(statement);
}
