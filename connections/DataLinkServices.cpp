#include "DataLinkServices.h"

#include "DataLinkPropertiesDialog.h"
#include "platform/HelpTopics.h"

std::u16string StandardDataLinkServices::BrowseDataLinkFile(QWidget* parent,
                                                            const std::u16string& initialFile) {
    return ::BrowseDataLinkFile(parent, initialFile, chooser_);
}

std::u16string
StandardDataLinkServices::RunDataLinkProperties(QWidget* parent,
                                                const std::u16string& initialString) {
    return ::RunDataLinkProperties(parent, initialString, chooser_);
}

void StandardDataLinkServices::ShowHelp(QWidget* parent, int helpContext) {
    ShowHelpTopic(parent, helpContext);
}
