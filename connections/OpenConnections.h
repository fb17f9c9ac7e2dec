#pragma once

class ConnectionView;

// The Source and Target buttons, past the window's busy guard: close the
// connection, let the user edit its string, open it and read its tables.
void btnOpenSourceClick(ConnectionView& view);
void btnOpenTargetClick(ConnectionView& view);
