#pragma once

class TMainForm;

// Gives the Source and Target buttons their handlers.
void connectConnectionHandlers(TMainForm& form);
