#include "editor/App.h"

#include "core/FileTypes.h"
#include "core/Module1.h"
#include "dialogs/Help1.h"
#include "editor/DocumentCommands.h"
#include "editor/MenuBar1.h"
#include "editor/Window1.h"
#include "platform/Canvas.h"
#include "platform/Menu.h"
#include "platform/UserQuestions.h"
#include "platform/Window.h"

using namespace platform;

App& App::Instance() {
    static App app;
    return app;
}

void App::Reset() {
    Instance() = App();
}

void App::Start() {
    Module1::InitGlobals();
    FileTypes::Init();
    SharedMenuBar<MenuBar1>();
    AddAppMenuHandler("HelpHelpPictures", [this] { return HelpHelpPictures_Action(); });
    SharedInstance<Window1>();
    // The document is in place before the window shows, so its opening fits that page to the view.
    Event_Open();
    SharedInstance<Window1>().Show();
}

void App::Event_Open() {
    Module1::NewDoc();
    Module1::ReadPrefs();
    Module1::FillModNames();
    if (!Module1::Filename.isEmpty() && !Module1::OpenFile())
        MsgBox(Module1::Filename + " - Not Opened");
    Window1& w = SharedInstance<Window1>();
    w.DrawPage(w.Canvas1().Graphics(), Module1::AdocWidth, Module1::AdocHeight);
}

void App::Event_Close() {
    Module1::SavePrefs();
}

bool App::HelpHelpPictures_Action() {
    Help1::ShowShared();
    return false;
}
