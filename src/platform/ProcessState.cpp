#include "platform/ProcessState.h"

#include "platform/Graphics.h"
#include "platform/UserQuestions.h"

namespace platform {

void ResetProcessState() {
    ResetWindowHooks();
    ResetMenus();
    ResetFontList();
    ResetTextRuns();
    Graphics::SetGlyphRuns(true);
    ResetEscapedMessages();
    ResetKeptMemory();
    SetQuestions(std::make_unique<QtQuestions>());
}

} // namespace platform
