// Starts Tallio: the file types and document globals, then the main window with its menu bar.
#include "core/FileTypes.h"
#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/UserQuestions.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Tallio");
    platform::SetQuestions(std::make_unique<platform::QtQuestions>());
    FileTypes::Init();
    Module1::InitGlobals();
    platform::SharedInstance<Window1>().Show();
    return app.exec();
}
