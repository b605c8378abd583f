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
    // A last document that cannot be opened is told with the reason; the new document stays untitled, so
    // that saving it asks for a name instead of writing over the file that was refused.
    if (!Module1::Filename.isEmpty()) {
        const Module1::FileOutcome opened = Module1::OpenDocument();
        if (opened.kind != Module1::FileOutcome::Done) {
            MsgBox(opened.message);
            Module1::Filename.clear();
        }
    }
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
