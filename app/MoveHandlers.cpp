#include "MoveHandlers.h"

#include "TMainForm.h"

void connectMoveHandlers(TMainForm& form) { (void)form; }
