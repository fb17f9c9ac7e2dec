#pragma once

#include <string>

// The folder in which the platform keeps data link files, without a trailing
// separator, or empty when it cannot be found. Read again at every call.
// Windows: the registry's CommonFilesDir + "\System\OLE DB\Data Links".
// Elsewhere: $XDG_DATA_HOME, else $HOME/.local/share, + "/OLE DB/Data Links".
std::string DataLinkFolder();
