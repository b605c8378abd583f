// The page view's handlers: painting the page and the two rulers, and scrolling.
#include "editor/Window1.h"

#include "core/Module1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

using namespace platform;
using namespace Module1;

void Window1::AttachPageView() {
    auto& page = Canvas1();
    page.Open = [this] { Canvas1_Open(); };
    page.Paint = [this](Graphics& g) { Canvas1_Paint(g); };
    Canvas2().Paint = [this](Graphics& g) { Canvas2_Paint(g); };
    Canvas3().Paint = [this](Graphics& g) { Canvas3_Paint(g); };
    ScrollBar1().ValueChanged = [this] { ScrollBar1_ValueChanged(); };
    ScrollBar2().ValueChanged = [this] { ScrollBar2_ValueChanged(); };
}

void Window1::Canvas1_Open() {
    FitToPage = false;
    for (ScrollBar* bar : {&ScrollBar1(), &ScrollBar2()}) {
        bar->SetVisible(false);
        bar->SetValue(0);
    }
    ScrollX = 0;
    ScrollY = 0;
}

void Window1::Canvas1_Paint(Graphics& g) {
    Update(g);
}

// The rulers are drawn only once DrawPage has made their pictures.
void Window1::Canvas2_Paint(Graphics& g) {
    const Canvas& ruler = Canvas2();
    if (!gtx)
        return;
    // The ruler moves with the page (ScrollX is 0 while there is nothing to scroll).
    const int from = ScrollX;
    g.DrawPicture(gtx, 0, 0, ruler.Width(), ruler.Height(), from, 0, ruler.Width(), ruler.Height());
}

void Window1::Canvas3_Paint(Graphics& g) {
    const Canvas& ruler = Canvas3();
    if (!glx)
        return;
    const int from = ScrollY;
    g.DrawPicture(glx, 0, 0, ruler.Width(), ruler.Height(), 0, from, ruler.Width(), ruler.Height());
}

// The page view and its ruler move together by the change; Paint fills the uncovered strip.
void Window1::ScrollBar1_ValueChanged() {
    const std::int32_t old = ScrollX;
    ScrollX = ScrollBar1().Value();
    EPSredraw = true;
    Canvas1().Scroll(old - ScrollX, 0, 0, 0, -10000, -10000, true);
    Canvas2().Scroll(old - ScrollX, 0, 0, 0, -10000, -10000, true);
}

void Window1::ScrollBar2_ValueChanged() {
    const std::int32_t old = ScrollY;
    ScrollY = ScrollBar2().Value();
    EPSredraw = true;
    Canvas1().Scroll(0, old - ScrollY, 0, 0, -10000, -10000, true);
    Canvas3().Scroll(0, old - ScrollY, 0, 0, -10000, -10000, true);
}
