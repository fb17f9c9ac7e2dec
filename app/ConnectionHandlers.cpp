#include "ConnectionHandlers.h"

#include "MainFormConnectionView.h"
#include "TMainForm.h"
#include "connections/OpenConnections.h"

#include <memory>

void connectConnectionHandlers(TMainForm& form) {
    const auto view = std::make_shared<MainFormConnectionView>(form);
    form.onOpenSource = [view] { btnOpenSourceClick(*view); };
    form.onOpenTarget = [view] { btnOpenTargetClick(*view); };
}
