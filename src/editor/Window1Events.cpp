// The main window's own events: opening puts the page view into fit mode and builds its buffers;
// resizing rebuilds them for the new view size; closing saves a modified document and quits.
#include "editor/Window1.h"

#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

using namespace platform;
using namespace Module1;

void Window1::Event_Open() {
    auto& across = ScrollBar1();
    auto& down = ScrollBar2();
    across.SetVisible(false);
    down.SetVisible(false);
    across.SetValue(0);
    down.SetValue(0);
    ScrollX = 0;
    ScrollY = 0;
    auto& view = Canvas1();
    across.SetMaximum(Int(mms(AdocWidth) - view.Width()));
    down.SetMaximum(Int(mms(AdocHeight) - view.Height()));
    updateCounter = 0;
    EPSredraw = false;
    EPSdirty = false;
    // Fitted at the resolution at which the page fits the view, so that the page shows whole and the
    // mouse points where the user sees.
    FitToPageF();
}

// A preview is laid out again for the new view size.
void Window1::Event_Resized() {
    if (PRNpreview && ShowPreview())
        return;
    DrawPage(Canvas1().Graphics(), AdocWidth, AdocHeight);
}

// Closing (and so quitting) asks first about unsaved changes: Save saves them, Don't Save drops them,
// Cancel (or a save that did not happen) keeps the window open with the document as it is.
bool Window1::Event_CancelClose() {
    if (!CommitEdits())
        return true; // the refused value is told; the window stays for it
    return !OfferToSaveChanges();
}

void Window1::Event_Close() {
    Quit();
}
