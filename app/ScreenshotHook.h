#pragma once

class TMainForm;
class TAboutBox;

// With VELBROOK_SCREENSHOT set to a folder, the program saves what the screen
// shows of the main window, frame included, as main.png once it is up, opens
// the About box and saves about.png, presses Source and saves conn-editor.png,
// presses Build there and saves data-link-properties.png, cancels both and
// quits. Used by the screenshot script; returns whether it is on.
bool installScreenshotHook(TMainForm& mainForm, TAboutBox& aboutBox);
