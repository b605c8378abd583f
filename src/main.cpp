// Starts Tallio: the application object brings up the document and the main window, the event loop
// runs until the application quits, and quitting writes the preferences.
#include "core/Module1.h"
#include "editor/App.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Tallio");
    app.setQuitOnLastWindowClosed(false); // the main window's close decides, after offering to save
    App::Instance().Start();
    const int result = app.exec();
    App::Instance().Event_Close();
    Module1::ReleaseGlobals();
    return result;
}
