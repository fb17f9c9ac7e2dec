#include "AboutBox.h"
#include "ConnectionHandlers.h"
#include "MessageDialogs.h"
#include "MoveHandlers.h"
#include "ScreenshotHook.h"
#include "TMainForm.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QtMessageDialogs dialogs;
    TMainForm MainForm(dialogs);
    TAboutBox AboutBox(dialogs, &MainForm);
    MainForm.setAboutBox(&AboutBox);
    connectConnectionHandlers(MainForm);
    connectMoveHandlers(MainForm);
    MainForm.show();
    installScreenshotHook(MainForm, AboutBox);
    return QApplication::exec();
}
