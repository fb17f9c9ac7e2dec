#include "ConnectionHandlers.h"

#include "TMainForm.h"

void connectConnectionHandlers(TMainForm& form) { (void)form; }
