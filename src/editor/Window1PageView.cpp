// The page view's rendering: the view and ruler pictures, the backdrop, the scroll ranges, the status
// line, and the sheet arithmetic shown beside the quantity field. Only the part of the page that the
// view shows is drawn, and it is kept until something that shows on it changes: a repaint with nothing
// changed copies it, and a scroll draws only the strip it uncovers.
#include "editor/Window1.h"

#include "core/Module1.h"
#include "editor/RecordTransfer.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"
#include "platform/UserQuestions.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

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

// The resolution at which a page of width x height mm fits a view of viewWidth x viewHeight pixels;
// at least one dot per inch, so that pixels still convert back to millimetres. A page with no size
// fits at any resolution: the one there is stays.
std::int32_t FitResolution(int viewWidth, int viewHeight, double width, double height) {
    if (!(width > 0 && height > 0))
        return PageResolution;
    const double sx = viewWidth / width;
    const double sy = viewHeight / height;
    return std::max(1, sy < sx ? Int(sy * 25.4) : Int(sx * 25.4));
}

// Millimetres between labelled ruler ticks: every 10 mm, or every 20, 50, 100, 200, ... mm where labels
// closer than room pixels would touch.
int LabelStep(double room) {
    for (int decade = 10;; decade *= 10)
        for (int times : {1, 2, 5})
            if (mms(decade * times) >= room || decade >= 100000000)
                return decade * times;
}

// Millimetres between ruler ticks: every millimetre from 80 dpi; every 5 or 10 mm while those stay three
// pixels apart; below that only at the labels, so that the ticks never run together into a black band.
int TickStep(int labelStep) {
    if (PageResolution >= 80)
        return 1;
    for (int mm : {5, 10})
        if (mms(mm) >= 3)
            return mm;
    return labelStep;
}

// Where the tick for millimetre i starts across a ruler 20 pixels thick: the full width every 10 mm (and
// at every tick when they are further apart), half at 5 mm, a quarter at the others.
int TickFrom(int i, int step) {
    return i % 10 == 0 || step > 10 ? 0 : i % 5 == 0 ? 10 : 15;
}

// The pixels of a page length that the view reaches: as far as the longest picture there may be, which
// also keeps page pixels far within the range of an int. Only a page too long to picture even at 1 dpi
// (kilometres) is longer.
double Reach(double length) {
    return std::min<double>(mms(length), MaxPictureSide);
}

// A ruler picture: as long as the view reaches, and at least as thick as the ruler's canvas, whose ticks
// are drawn in fixed pixels. Black on white, it is kept in grey: a quarter of the memory to make at
// each zoom.
std::shared_ptr<Picture> RulerPicture(double length, int thickness, bool across) {
    const int along = Int(Reach(length));
    thickness = std::max(Int(mms(20)), thickness);
    return across ? NewPicture(along, thickness, 8) : NewPicture(thickness, along, 8);
}

bool SameOwner(const std::weak_ptr<Picture>& a, const std::weak_ptr<Picture>& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}

} // namespace

struct Window1::RenderedView {
    // Everything that shows on the page view apart from where it is scrolled to. The pictures are held
    // weakly, so a cache composed anew never compares equal to one that is gone.
    struct Content {
        std::int32_t resolution = 0;
        double width = 0, height = 0, start = 0;
        bool printing = false;
        std::int32_t current = -1;
        bool band = false;
        QRect bandCorners;
        std::weak_ptr<Picture> backdrop;
        Backdrop::Settings placed{};  // where and how large the backdrop shows
        std::vector<Variant> objects; // every field of every object

        bool operator==(const Content& o) const {
            return resolution == o.resolution && width == o.width && height == o.height && start == o.start &&
                   printing == o.printing && current == o.current && band == o.band &&
                   bandCorners == o.bandCorners && SameOwner(backdrop, o.backdrop) && placed == o.placed &&
                   objects == o.objects;
        }
    };

    static Content Showing(const Window1& w) {
        Content c;
        c.resolution = PageResolution;
        c.width = AdocWidth, c.height = AdocHeight, c.start = Astart;
        c.printing = PRN;
        c.current = CurrentObject;
        c.band = w.DrawSelection;
        if (c.band)
            c.bandCorners = QRect(QPoint(w.CCurX, w.CCurY), QPoint(w.EndX, w.EndY));
        c.backdrop = TheBackdrop.Bdx;
        if (TheBackdrop.Bdx)
            c.placed = Backdrop::Current();
        const int rows = std::clamp(TotalObjects, 0, RecPos.Ubound(1) + 1), fields = RecPos.Ubound(2) + 1;
        c.objects.reserve(std::size_t(rows) * fields);
        for (int i = 0; i < rows; ++i)
            for (int f = 0; f < fields; ++f)
                c.objects.push_back(RecPos(i, f));
        return c;
    }

    Content content;
    std::weak_ptr<Picture> target; // the gx drawn into; none while nothing valid is drawn
    QPoint origin;                 // the page pixel at its top left corner
    // The current object's measures and handle as drawn, given back when nothing is drawn again.
    double objectWidth = 0, objectHeight = 0, handleX = 0, handleY = 0;
};

// Every tick first, then the labels over them on a patch of white: centred on their tick, which shows
// below the label, and kept whole at the ruler's ends. Labels keep two digits' width between them.
void Window1::HorizRules(Graphics& g, double length) {
    g.ForeColor = RGB(0, 0, 0);
    g.FillRect(0, 20, g.Width(), 1); // lines as rectangles: the same pixels, drawn faster
    g.TextFont = "Arial";
    g.TextSize = 10;
    const int labels = LabelStep(g.StringWidth(Str(Int(length))) + g.StringWidth("00"));
    const int step = TickStep(labels);
    int last = -1; // the last millimetre whose tick can reach the picture
    for (int i = 0; i <= length; i += step) {
        const int x = Int(mms(i));
        if (x > g.Width() + LabelRoom)
            break;
        const int from = TickFrom(i, step);
        g.FillRect(x, from, 1, 21 - from);
        last = i;
    }
    auto left = [&](int i) {
        const double width = g.StringWidth(Str(i));
        return std::max(0.0, std::min<double>(Int(mms(i) - width / 2), g.Width() - width));
    };
    int end = -1; // the last label, moved in to stay whole: one that it would touch gives way
    for (int i = 0; i <= last && Int(mms(i)) <= g.Width(); i += labels)
        end = i;
    const double gap = g.StringWidth("0"), endLeft = left(end);
    for (int i = 0; i <= end; i += labels) {
        const QString label = Str(i);
        const double width = g.StringWidth(label), x = left(i);
        if (i < end && x + width + gap > endLeft)
            continue;
        g.ClearRect(x - 4, 0, width + 8, 10);
        g.DrawString(label, x, 10);
    }
}

// As the top ruler turned; a label stands on its tick, kept whole at the ruler's top. Labels keep half
// their height between them, the first too, which stands a label's height lower than its tick.
void Window1::VertRules(Graphics& g, double length) {
    g.ForeColor = RGB(0, 0, 0);
    g.FillRect(20, 0, 1, g.Height());
    g.TextFont = "Arial";
    g.TextSize = 10;
    const double ascent = g.TextAscent();
    const int labels = LabelStep(std::ceil(ascent) + ascent * 1.5);
    const int step = TickStep(labels);
    int last = -1;
    for (int i = 0; i <= length; i += step) {
        const int y = Int(mms(i));
        if (y > g.Height() + LabelRoom)
            break;
        const int from = TickFrom(i, step);
        g.FillRect(from, y, 21 - from, 1);
        last = i;
    }
    for (int i = 0; i <= last && Int(mms(i)) <= g.Height(); i += labels) {
        const QString label = Str(i);
        const double baseline = std::max<double>(Int(mms(i)), std::ceil(ascent));
        g.ClearRect(1, baseline - ascent, g.StringWidth(label) + 2, ascent);
        g.DrawString(label, 2, baseline);
    }
}

bool Window1::PagePictured(double w, double h) {
    return PageResolution >= 1 && mms(w) <= MaxPictureSide && mms(h) <= MaxPictureSide;
}

void Window1::DrawPage(Graphics& g, double w, double h) {
    // The page view shows the page again: a preview ends.
    EndPreview();
    const bool page = w == AdocWidth && h == AdocHeight;
    // A zoom at which the page is too long to picture gives way to fit mode, which always pictures it.
    if (page && !PagePictured(w, h))
        FitToPage = true;
    // In fit mode the page always fits: a new page size, another document or a new view size fits it
    // again.
    if (page && FitToPage)
        PageResolution = FitResolution(g.Width(), g.Height(), w, h);
    BuildView(g, w, h);
}

void Window1::BuildView(Graphics& g, double w, double h) {
    // The view and its rulers are painted anew, with what is built here; so nothing of them is moved as
    // the bars take their new ranges and values.
    for (Canvas* canvas : {&Canvas1(), &Canvas2(), &Canvas3()})
        canvas->Refresh(true);
    auto& across = ScrollBar1();
    across.SetMaximum(Int(Reach(w) - g.Width()));
    across.SetPageStep(g.Width());
    across.SetLineStep(Int(g.Width() / 50.0));
    auto& down = ScrollBar2();
    down.SetMaximum(Int(Reach(h) - g.Height()));
    down.SetPageStep(g.Height());
    down.SetLineStep(Int(g.Height() / 50.0));
    // Each bar keeps its value within its new range, and the view shows what the bars say.
    ScrollX = across.Value();
    ScrollY = down.Value();

    const Canvas& view = Canvas1();
    // The view's picture stays while its size does: what it shows is drawn again as it changes.
    const QSize size(std::max(1, view.Width()), std::max(1, view.Height()));
    if (!gx || QSize(gx->Width(), gx->Height()) != size)
        gx = NewPicture(size.width(), size.height(), ScreenDepth());
    gtx = nullptr, glx = nullptr; // the old ones go before the new ones are made
    gtx = RulerPicture(w, Canvas2().Height(), true);
    glx = RulerPicture(h, Canvas3().Width(), false);
    if (!gx)
        return;
    for (const auto* p : {&gx, &gtx, &glx})
        if (*p)
            (*p)->Graphics().UseOldRenderer = true;
    EPSdirty = true;
    if (gtx)
        HorizRules(gtx->Graphics(), w);
    if (glx)
        VertRules(glx->Graphics(), h);
}

bool Window1::ShowPreview() {
    Canvas& view = Canvas1();
    if (!(AsigWidth > 0 && AsigHeight > 0))
        return false;
    const std::int32_t before = PageResolution;
    PageResolution = FitResolution(view.Width(), view.Height(), AsigWidth, AsigHeight);
    auto sheet = NewPicture(Int(mms(AsigWidth)), Int(mms(AsigHeight)), 32);
    if (!sheet) {
        PageResolution = before;
        return false;
    }
    PRNpreview = true;
    // The rulers measure the sheet, shown from its corner with no scroll bars.
    BuildView(view.Graphics(), AsigWidth, AsigHeight);
    for (ScrollBar* bar : {&ScrollBar1(), &ScrollBar2()}) {
        bar->SetValue(0);
        bar->SetVisible(false);
    }
    ScrollX = ScrollY = 0;
    CheckNup();
    CurrentInc = Aback ? (AnupQTY - 1) * APageInc : 0;
    PrintPage(sheet->Graphics());
    sheet->Graphics().End();
    TheBackdrop.ReleaseCache(); // composed at the picture's resolution for the sheet alone
    PreviewSheet = std::move(sheet);
    view.Refresh(false);
    return true;
}

void Window1::EndPreview() {
    if (!PRNpreview && !PreviewSheet)
        return;
    PRNpreview = false;
    PreviewSheet = nullptr;
    FitToPage = true;
}

void Window1::RenderPart(Graphics& g, QPoint origin, const QRect& area) {
    g.SetOrigin(origin.x(), origin.y());
    g.SetClip(area);
    g.ForeColor = RGB(255, 255, 255);
    g.FillRect(area.x(), area.y(), area.width(), area.height());
    // The page is the sheet's first cell at the run's start number, drawn by the sheet drawing.
    const QRect part = area & QRect(0, 0, Int(mms(AdocWidth)), Int(mms(AdocHeight)));
    if (!part.isEmpty()) {
        g.SetClip(part);
        // The backdrop composed for this part alone, at the view's resolution, then the numbers.
        TheBackdrop.DrawTiles(g, part);
        DrawPageNumbers(g, Astart, 0, 0, part);
        if (DrawSelection) {
            g.ForeColor = RGB(200, 200, 200);
            g.PenHeight = 2;
            g.PenWidth = 2;
            g.DrawRect(CCurX, CCurY, EndX - CCurX, EndY - CCurY);
            g.PenHeight = g.PenWidth = 1;
        }
    }
    g.SetClip(QRect());
    g.SetOrigin(0, 0);
}

void Window1::UpdateViewer() {
    try {
        const Canvas& view = Canvas1();
        const QSize size(std::max(1, view.Width()), std::max(1, view.Height()));
        if (!gx || QSize(gx->Width(), gx->Height()) != size)
            gx = NewPicture(size.width(), size.height(), ScreenDepth());
        Graphics& g = GraphicsOf(gx);

        if (!rendered_)
            rendered_ = std::make_shared<RenderedView>();
        RenderedView& drawn = *rendered_;
        RenderedView::Content now = RenderedView::Showing(*this);
        const QPoint origin(ScrollX, ScrollY);
        const QRect shown(origin, size);
        QRegion missing(shown);
        if (SameOwner(drawn.target, gx) && drawn.content == now) {
            // The same picture elsewhere: what both show moves over, and only the rest is drawn.
            const QRect before(drawn.origin, size);
            missing -= before;
            if (missing.isEmpty()) {
                CurrentObjectWidth = drawn.objectWidth, CurrentObjectHeight = drawn.objectHeight;
                NHandleX = drawn.handleX, NHandleY = drawn.handleY;
            } else if (before.intersects(shown)) {
                g.DrawPicture(*gx, before.x() - shown.x(), before.y() - shown.y());
            }
        }
        if (!missing.isEmpty()) {
            drawn.target.reset(); // nothing valid, should drawing fail part way
            for (const QRect& area : missing)
                RenderPart(g, origin, area);
            drawn.content = std::move(now);
            drawn.target = gx;
            drawn.objectWidth = CurrentObjectWidth, drawn.objectHeight = CurrentObjectHeight;
            drawn.handleX = NHandleX, drawn.handleY = NHandleY;
        }
        drawn.origin = origin;

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
    // The preview stays on screen until something ends it; ShowPreview has put it at the sheet's corner.
    if (PRNpreview && PreviewSheet) {
        g.DrawPicture(PreviewSheet, 0, 0);
        ClearAroundPage(g, view, PreviewSheet->Width(), PreviewSheet->Height());
        return;
    }

    // A scroll bar shows where the page is larger than the view: when zoomed, or in fit mode for a page
    // too long to fit even at 1 dpi. A fitted page shows 1:1 from its corner, so the mouse, which takes
    // view pixels as page pixels, points where the user sees.
    auto& across = ScrollBar1();
    auto& down = ScrollBar2();
    const bool wide = g.Width() <= mms(AdocWidth) - 1;
    across.SetVisible(wide);
    if (!wide)
        ScrollX = 0;
    const bool tall = g.Height() <= mms(AdocHeight) - 1;
    down.SetVisible(tall);
    if (!tall)
        ScrollY = 0;
    if (!FitToPage)
        ++updateCounter;
    UpdateViewer();
    if (!gx) {
        ClearAroundPage(g, view, 0, 0);
        return;
    }
    g.DrawPicture(gx, 0, 0);
    ClearAroundPage(g, view, std::min(Int(mms(AdocWidth)) - ScrollX, gx->Width()),
                    std::min(Int(mms(AdocHeight)) - ScrollY, gx->Height()));
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

// DrawPage finds the resolution, as it does for every page view in fit mode.
void Window1::FitToPageF() {
    FitToPage = true; // until the next zoom
    EPSdirty = true;
    DrawPage(Canvas1().Graphics(), AdocWidth, AdocHeight);
}

void Window1::ListUpdate() {
    SyncSel(true, CurrentObject);
    Canvas1().Refresh(true);
}
