#pragma once

class TMainForm;

// Gives the Execute button its handler: the move run.
void connectMoveHandlers(TMainForm& form);
