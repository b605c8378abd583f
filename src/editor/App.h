// The application object: what happens when the application opens and closes, and the one menu
// command it handles itself. The framework's accessor App() is spelled App::Instance() here, and the
// handler _HelpHelpPictures_Action is spelled without its leading underscore.
#pragma once

#include <cstdint>

class App {
public:
    static App& Instance();
    // Puts the shared instance back as it is when the program starts.
    static void Reset();

    // The application's version settings, shown in the About window. StageCode: 0 Development,
    // 1 Alpha, 2 Beta, 3 Final; NonReleaseVersion is the build number.
    std::int32_t MajorVersion = 0;
    std::int32_t MinorVersion = 1;
    std::int32_t BugVersion = 0;
    std::int32_t StageCode = 0;
    std::int32_t NonReleaseVersion = 1;

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
