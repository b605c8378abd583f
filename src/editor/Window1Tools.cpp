// The tool strip: the add-object and select-object tools, zooming in and out, and the backdrop button.
#include "editor/Window1.h"

#include "core/AppPictures.h"
#include "core/Module1.h"
#include "dialogs/BDropProps.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

#include <QCursor>
#include <algorithm>

using namespace platform;
using namespace Module1;

namespace {
// The zoom steps run from 50 to 400 dots per inch.
constexpr std::int32_t LeastZoom = 50;
constexpr std::int32_t MostZoom = 400;
} // namespace

void Window1::AttachPageInteraction() {
    auto& add = Numtool();
    add.MouseDown = [this](int x, int y) { return Numtool_MouseDown(x, y); };
    add.Action = [this] { Numtool_Action(); };
    auto& select = TextTool();
    select.MouseDown = [this](int x, int y) { return TextTool_MouseDown(x, y); };
    select.Action = [this] { TextTool_Action(); };

    auto& page = Canvas1();
    page.MouseDown = [this](int x, int y) { return Canvas1_MouseDown(x, y); };
    page.MouseDrag = [this](int x, int y) { Canvas1_MouseDrag(x, y); };
    page.MouseUp = [this](int x, int y) { Canvas1_MouseUp(x, y); };
    page.MouseMove = [this](int x, int y) { Canvas1_MouseMove(x, y); };

    MagEn().Action = [this] { MagEn_Action(); };
    MagR1().Action = [this] { MagR1_Action(); };
    PushButton1().Action = [this] { PushButton1_Action(); };
}

void Window1::ArmTool(bool add) {
    const auto cross = add ? CursorAdd() : nullptr;
    SetMouseCursor(cross ? *cross : QCursor(add ? Qt::CrossCursor : Qt::ArrowCursor));
    MakeNumTool = add;
    NumSelTool = !add;
}

// Returning false lets the sticky button go down and raise Action.
bool Window1::Numtool_MouseDown(int, int) {
    ArmTool(true);
    return false;
}

void Window1::Numtool_Action() {
    TextTool().SetValue(false);
}

bool Window1::TextTool_MouseDown(int, int) {
    ArmTool(false);
    return false;
}

void Window1::TextTool_Action() {
    Numtool().SetValue(false);
}

// A zoom during a preview ends it and zooms the page from its fitted view.
void Window1::MagEn_Action() {
    if (PRNpreview)
        FitToPageF();
    if (PageResolution == MostZoom)
        return;
    // Also from a fitted resolution above the steps, or from none at all (0 would divide by zero).
    Zoom(std::int32_t(std::clamp<std::int64_t>(std::int64_t(PageResolution) * 2, LeastZoom, MostZoom)));
}

void Window1::MagR1_Action() {
    if (PRNpreview)
        FitToPageF();
    Zoom(std::max(LeastZoom, Int(PageResolution / 2.0)));
}

void Window1::Zoom(std::int32_t dpi) {
    auto& view = Canvas1();
    const std::int32_t before = PageResolution;
    PageResolution = dpi;
    // A page too long to picture at the closer zoom stays as it is, fit mode included.
    if (dpi > before && !PagePictured(AdocWidth, AdocHeight)) {
        PageResolution = before;
        return;
    }
    // A zoomed page is no longer fitted: it scrolls, with its scroll bars.
    FitToPage = false;
    DrawPage(view.Graphics(), AdocWidth, AdocHeight);
    // The current object to the middle of the view; the scroll bars' ValueChanged moves the view. A bar
    // already at that value changes nothing: DrawPage has put the view where the bars are.
    if (CurrentObject >= 0) {
        ScrollBar1().SetValue(
            Int(mms(RecPos(CurrentObject, 1).DoubleValue()) - view.Width() + view.Width() / 2.0));
        ScrollBar2().SetValue(
            Int(mms(RecPos(CurrentObject, 2).DoubleValue()) - view.Height() + view.Height() / 2.0));
    }
    EPSdirty = true;
    view.Refresh(true);
}

void Window1::PushButton1_Action() {
    SharedInstance<BDropProps>().ShowModal();
}
