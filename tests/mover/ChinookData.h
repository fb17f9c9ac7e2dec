#pragma once

#include "tests/support/ScratchDatabase.h"

// The Chinook sample database (demo/ and tests/data/chinook/, MIT licence beside each)
// on one engine, in a database of the test's own. The SQLite and MariaDB
// copies name tables and columns like Album/AlbumId, the PostgreSQL one like
// album/album_id.
ScratchDatabase loadChinook(TestDatabase::Engine engine);
