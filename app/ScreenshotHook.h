#pragma once

class TMainForm;
class TAboutBox;

// With VELBROOK_SCREENSHOT set to a folder, the program saves the whole
// screen as main.png once the window is up, opens the About box, saves
// about.png and quits. Used by the screenshot script; returns whether it is on.
bool installScreenshotHook(TMainForm& mainForm, TAboutBox& aboutBox);
