// The page view's rendering: the page, ruler and backdrop pictures, the scroll ranges, the status
// line, and the sheet arithmetic shown beside the quantity field.
#include "editor/Window1.h"

#include "core/Module1.h"
#include "editor/RecordTransfer.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

using namespace platform;
using namespace Module1;

namespace {

// Ruler ticks further than this past the ruler's end cannot reach it even with their label.
constexpr int LabelRoom = 64;

int ScreenDepth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

// The graphics of a picture that may not exist, as the framework reaches it.
Graphics& GraphicsOf(const std::shared_ptr<Picture>& picture) {
    if (!picture)
        throw NilObjectException();
    return picture->Graphics();
}

// Paints the parts of g right of and below a page part of width x height pixels at (0, 0) in the
// view's background, so nothing of an earlier, larger page stays on the canvas.
void ClearAroundPage(Graphics& g, const Canvas& view, int width, int height) {
    const QColor back = view.Widget()->palette().color(QPalette::Window);
    g.ForeColor = RGB(back.red(), back.green(), back.blue());
    width = std::clamp(width, 0, g.Width());
    height = std::clamp(height, 0, g.Height());
    if (width < g.Width())
        g.FillRect(width, 0, g.Width() - width, g.Height());
    if (height < g.Height())
        g.FillRect(0, height, width, g.Height() - height);
}

} // namespace

void Window1::HorizRules(Graphics& g) {
    g.ForeColor = RGB(0, 0, 0);
    g.DrawLine(0, 20, g.Width(), 20);
    g.TextFont = "Arial";
    g.TextSize = 10;
    for (int i = 0; i <= AdocWidth; ++i) {
        const int x = Int(mms(i));
        if (x > g.Width() + LabelRoom)
            break;
        if (PageResolution >= 80)
            g.DrawLine(x, 15, x, 20);
        if (i % 5 == 0)
            g.DrawLine(x, 10, x, 20);
        if (i % 10 == 0) {
            g.DrawLine(x, 0, x, 20);
            const QString label = Str(i);
            g.DrawString(label, Int(mms(i) - g.StringWidth(label) / 2), 10);
        }
    }
}

void Window1::VertRules(Graphics& g) {
    g.ForeColor = RGB(0, 0, 0);
    g.DrawLine(20, 0, 20, g.Height());
    g.TextFont = "Arial";
    g.TextSize = 10;
    for (int i = 0; i <= AdocHeight; ++i) {
        const int y = Int(mms(i));
        if (y > g.Height() + LabelRoom)
            break;
        if (PageResolution >= 80)
            g.DrawLine(15, y, 20, y);
        if (i % 5 == 0)
            g.DrawLine(10, y, 20, y);
        if (i % 10 == 0) {
            g.DrawLine(0, y, 20, y);
            g.DrawString(Str(i), 2, y);
        }
    }
}

void Window1::DrawPage(Graphics& g, double w, double h) {
    auto& across = ScrollBar1();
    across.SetMaximum(Int(mms(w) - g.Width()));
    across.SetPageStep(g.Width());
    across.SetLineStep(Int(g.Width() / 50.0));
    auto& down = ScrollBar2();
    down.SetMaximum(Int(mms(h) - g.Height()));
    down.SetPageStep(g.Height());
    down.SetLineStep(Int(g.Height() / 50.0));
    ScrollX = 0;
    ScrollY = 0;

    const int depth = ScreenDepth();
    gx = NewPicture(Int(mms(w)), Int(mms(h)), depth);
    gtx = NewPicture(Int(mms(w)), Int(mms(20)), depth);
    glx = NewPicture(Int(mms(20)), Int(mms(h)), depth);
    if (!gx)
        return;
    for (const auto* p : {&gx, &gtx, &glx})
        if (*p)
            (*p)->Graphics().UseOldRenderer = true;
    EPSdirty = true;
    if (gtx)
        HorizRules(gtx->Graphics());
    Canvas2().Refresh(true);
    if (glx)
        VertRules(glx->Graphics());
    Canvas3().Refresh(true);
    Canvas1().Refresh(true);
}

void Window1::UpdateViewer() {
    try {
        gx = NewPicture(Int(mms(AdocWidth)), Int(mms(AdocHeight)), ScreenDepth());
        Graphics& g = GraphicsOf(gx);
        // The page is the sheet's first cell at the run's start number, drawn by the sheet drawing.
        if (TheBackdrop.Bdx)
            TheBackdrop.ComposeIfDirty();
        DrawPageCell(g, Astart, 0, 0);
        if (DrawSelection) {
            g.ForeColor = RGB(200, 200, 200);
            g.PenHeight = 2;
            g.PenWidth = 2;
            g.DrawRect(CCurX, CCurY, EndX - CCurX, EndY - CCurY);
        }
        StatNumObj().SetText("Props: " + Str(TotalObjects) +
                             " Obj - W=" + Format(CurrentObjectWidth, "###.###") +
                             " H=" + Format(CurrentObjectHeight, "###.###"));
        StatNumObj().Refresh();
    } catch (const NilObjectException&) {
        MsgBox("UpdateViewer error");
    }
}

void Window1::Update(Graphics& g) {
    const Canvas& view = Canvas1();
    // The preview stays on screen until the press in the page view that ends it.
    if (PRNpreview && PreviewSheet) {
        g.DrawPicture(PreviewSheet, 0, 0);
        ClearAroundPage(g, view, PreviewSheet->Width(), PreviewSheet->Height());
        return;
    }
    UpdateViewer();

    if (FitToPage) {
        // The page picture 1:1 from its corner: the fit resolution makes it fit the view, and the mouse,
        // which takes view pixels as page pixels, then points where the user sees. With no page picture
        // (no page size, or too large to hold) the view stays empty.
        if (!gx) {
            ClearAroundPage(g, view, 0, 0);
            return;
        }
        g.DrawPicture(gx, 0, 0);
        ClearAroundPage(g, view, gx->Width(), gx->Height());
        return;
    }

    auto& across = ScrollBar1();
    int sourceX = 0;
    if (g.Width() <= mms(AdocWidth) - 1) {
        across.SetVisible(true);
        sourceX = ScrollX;
    } else {
        across.SetVisible(false);
        ScrollX = 0;
    }
    auto& down = ScrollBar2();
    int sourceY = 0;
    if (g.Height() <= mms(AdocHeight) - 1) {
        down.SetVisible(true);
        sourceY = ScrollY;
    } else {
        down.SetVisible(false);
        ScrollY = 0;
    }
    ++updateCounter;
    if (gx)
        g.DrawPicture(gx, 0, 0, g.Width(), g.Height(), sourceX, sourceY, g.Width(), g.Height());
    ClearAroundPage(g, view, gx ? gx->Width() - sourceX : 0, gx ? gx->Height() - sourceY : 0);
}

void Window1::CheckNup() {
    const std::int64_t cells = CountSheets();
    EdNup().SetText(Str(AnupQTY));
    StaticText11().SetText(Str(cells) + " up =");
}

void Window1::DrawBackDrop(const std::shared_ptr<Picture>& pic, Graphics& g, double x, double y) {
    if (!TheBackdrop.ComposeIfDirty(pic))
        return;
    if (EPSredraw) {
        TheBackdrop.Draw(g, x, y);
        EPSredraw = false;
    }
}

void Window1::FitToPageF() {
    auto& view = Canvas1();
    // A page with no size fits at any resolution: keep the one there is.
    if (AdocWidth > 0 && AdocHeight > 0) {
        const double sx = view.Width() / AdocWidth;
        const double sy = view.Height() / AdocHeight;
        // At least one dot per inch, so that pixels still convert back to millimetres.
        PageResolution = std::max(1, sy < sx ? Int(sy * 25.4) : Int(sx * 25.4));
    }
    EPSdirty = true;
    DrawPage(view.Graphics(), AdocWidth, AdocHeight);
}

void Window1::ListUpdate() {
    SyncSel(true, CurrentObject);
    Canvas1().Refresh(true);
}
