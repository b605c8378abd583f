// The application object: what happens when the application opens and closes, and the one menu
// command it handles itself. The framework's accessor App() is spelled App::Instance() here, and the
// handler _HelpHelpPictures_Action is spelled without its leading underscore.
#pragma once

class App {
public:
    static App& Instance();

    // Start-up in its order: the globals, the file types, this object with its menu bar and menu
    // handler, the main window; then the application opens.
    void Start();
    // A new document, the preferences, the method names, the last document, the page view.
    void Event_Open();
    // Writes the preferences.
    void Event_Close();
    bool HelpHelpPictures_Action();

private:
    App() = default;
};
