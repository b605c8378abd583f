// What the page view shows on screen as the user zooms, scrolls, selects, drags, resizes and changes
// the page: the canvas, grabbed after the event loop has run, against the whole page drawn at once.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/DocumentCommands.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/FolderItem.h"
#include "platform/Numbers.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;

namespace {

class PageViewShown : public ::testing::Test {
public:
    void SetUp() override {
        NewDoc();
        w.Show(); // opens fitted
        ui::Activate(w);
    }
    void TearDown() override { AdocWidth = AdocHeight = 0; }

    static void AddObject(double x, double y, double size, double angle, const char* style) {
        const std::int32_t i = TotalObjects++;
        const Variant fields[] = {"Object" + Str(i + 1), x,     y,    "", i % 3, std::int32_t(0),
                                  "Liberation Sans",     style, size, "", angle};
        for (int f = 0; f < 11; ++f)
            RecPos(i, f) = fields[f];
        RecPos(i, 14) = i % 2 ? RGB(0, 0, 160) : RGB(150, 0, 0);
    }

    // Objects all over an A4 page, some turned, one alone near the top-left and the bottom-right
    // corners; a striped backdrop.
    void Document() {
        for (int k = 0; k < 40; ++k)
            AddObject(15 + k % 5 * 40, 30 + k / 5 * 30, 10 + k % 4 * 6,
                      k % 6 == 0   ? 35
                      : k % 7 == 0 ? 90
                                   : 0,
                      k % 3 ? "Bold" : "Italic");
        AddObject(5, 5, 12, 0, "Normal");
        AddObject(196, 290, 16, 0, "Bold");      // the bottom-right corner
        auto stripes = NewPicture(413, 584, 32); // A4 at 50 dpi
        Graphics& g = stripes->Graphics();
        for (int x = -584; x < 413; x += 12) {
            g.ForeColor = x % 24 ? RGB(255, 230, 200) : RGB(200, 230, 255);
            g.PenWidth = g.PenHeight = 5;
            g.DrawLine(x, 0, x + 584, 584);
        }
        stripes->SetHorizontalResolution(50), stripes->SetVerticalResolution(50);
        TheBackdrop.SetPicture(stripes);
        EPSmaskWidth = AdocWidth, EPSmaskHeight = AdocHeight, EPSscaleX = EPSscaleY = 100;
        CurrentObject = 0;
        LoadSel(0);
        view.Refresh(false);
    }

    QImage Shown(Canvas& canvas) {
        QApplication::processEvents();
        return canvas.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The page as the view should show it: the whole page drawn at once, every object, at the scroll
    // offsets, with the rubber band.
    QImage Expected() {
        auto page = NewPicture(Int(mms(AdocWidth)), Int(mms(AdocHeight)), 32);
        Graphics& g = page->Graphics();
        DrawPageCell(g, Astart, 0, 0);
        if (w.DrawSelection) {
            g.ForeColor = RGB(200, 200, 200);
            g.PenWidth = g.PenHeight = 2;
            g.DrawRect(w.CCurX, w.CCurY, w.EndX - w.CCurX, w.EndY - w.CCurY);
        }
        return page->Image().convertToFormat(QImage::Format_RGB32);
    }

    // Pixels of the view that differ from the whole page at the scroll offsets, and what lies beside
    // the page drawn in anything but the background. Large turned or slanted text may be smoothed a
    // little differently when drawn in parts.
    QString Mismatch() {
        const QImage shown = Shown(view), page = Expected();
        const QRect part(0, 0, std::min(page.width() - ScrollX, shown.width()),
                         std::min(page.height() - ScrollY, shown.height()));
        auto near = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) <= 16 && std::abs(qGreen(a) - qGreen(b)) <= 16 &&
                   std::abs(qBlue(a) - qBlue(b)) <= 16;
        };
        int wrong = 0;
        QPoint first;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb want = part.contains(x, y) ? page.pixel(x + ScrollX, y + ScrollY) : Background();
                if (!near(shown.pixel(x, y), want) && !wrong++)
                    first = QPoint(x, y);
            }
        return wrong ? QString("%1 pixels, the first at %2, %3").arg(wrong).arg(first.x()).arg(first.y())
                     : QString();
    }

    QRgb Background() const { return view.Widget()->palette().color(QPalette::Window).rgb(); }
    // The view pixel where object i's anchor shows.
    QPoint Anchor(int i) const {
        return QPoint(Int(mms(RecPos(i, 1).DoubleValue())) - ScrollX,
                      Int(mms(RecPos(i, 2).DoubleValue())) - ScrollY);
    }
    void Click(BevelButton& b) { ui::Click(b, 15, 15); }
    QWidget* Page() const { return view.Widget(); }

    Window1& w = SharedInstance<Window1>();
    Canvas& view = w.Canvas1();
    ScrollBar& across = w.ScrollBar1();
    ScrollBar& down = w.ScrollBar2();
};

// What keeps the labels of a top ruler picture from reading as they should: each of labels (mm) whole
// and centred on its tick (or kept within the ruler at its ends), nothing within three columns of it;
// elsewhere in the label band nothing but single tick lines.
QString LabelFaults(const QImage& ruler, int width, const QList<int>& labels) {
    const auto scratch = NewPicture(10, 10, 32);
    Graphics& measure = scratch->Graphics();
    measure.TextFont = "Arial", measure.TextSize = 10;
    auto ink = [&](int x) {
        for (int y = 1; y <= 8; ++y)
            if (x >= 0 && x < width && qGray(ruler.pixel(x, y)) < 160)
                return true;
        return false;
    };
    QString faults;
    QList<bool> label(width, false);
    for (int mm : labels) {
        const double size = measure.StringWidth(Str(mm));
        const double left = std::max(0.0, std::min<double>(Int(mms(mm) - size / 2), width - size));
        const int from = int(std::floor(left)), to = int(std::ceil(left + size)) - 1;
        int first = -1, last = -1;
        for (int x = from; x <= to; ++x)
            if (ink(x))
                first = first < 0 ? x : first, last = x;
        if (first < 0 || last - first < size - 3)
            faults += QString(" %1 cut or missing;").arg(mm);
        for (int d = 2; d <= 3; ++d) // a column of smoothing either side is the label's own
            if (ink(from - d) || ink(to + d))
                faults += QString(" %1 touched;").arg(mm);
        for (int x = from - 1; x <= to + 1; ++x)
            if (x >= 0 && x < width)
                label[x] = true;
    }
    for (int x = 0; x + 1 < width; ++x)
        if (!label[x] && ink(x) && ink(x + 1) && !label[x + 1])
            return faults + QString(" more than a tick at %1;").arg(x);
    return faults;
}

} // namespace

// The view is drawn only where it shows and kept between repaints; whatever the user does, it shows
// the page exactly as drawn whole, where the scroll bars say, and the bars take keyboard focus.
TEST_F(PageViewShown, ShowsThePageWhereTheBarsSayWhateverTheUserDoes) {
    Document();
    // The bar takes the keyboard focus when the user tabs to it from the pointer read-out, past the
    // other bar when that shows; the key then goes where the focus is.
    auto key = [this](ScrollBar& bar, Qt::Key k) {
        w.CurY().SetFocus();
        for (int tab = 0; tab < 2 && QApplication::focusWidget() != bar.Widget(); ++tab)
            ui::Key(QApplication::focusWidget(), Qt::Key_Tab, "\t");
        QWidget* focus = QApplication::focusWidget();
        ASSERT_EQ(focus, bar.Widget());
        ui::Key(focus, k);
    };
    const struct {
        const char* name;
        std::function<void(PageViewShown&)> act;
    } steps[] = {
        {"opened fitted", [](PageViewShown&) {}},
        {"zoomed in twice on the current object",
         [](PageViewShown& t) { t.Click(t.w.MagEn()), t.Click(t.w.MagEn()); }},
        {"a line to the right with the keyboard", [&](PageViewShown& t) { key(t.across, Qt::Key_Right); }},
        {"a line down with the keyboard", [&](PageViewShown& t) { key(t.down, Qt::Key_Down); }},
        {"a page down with the keyboard", [&](PageViewShown& t) { key(t.down, Qt::Key_PageDown); }},
        {"both thumbs to the bottom-right corner",
         [](PageViewShown& t) { t.across.SetValue(t.across.Maximum()), t.down.SetValue(t.down.Maximum()); }},
        {"the corner object selected with a click",
         [](PageViewShown& t) { ui::Click(t.Page(), t.Anchor(41)); }},
        {"the corner object dragged up and left by its handle",
         [](PageViewShown& t) {
             const QPoint handle = t.Anchor(41);
             ui::Press(t.Page(), handle);
             ui::Drag(t.Page(), handle - QPoint(40, 25));
             ui::Release(t.Page(), handle - QPoint(40, 25));
         }},
        {"a rubber band being drawn",
         [](PageViewShown& t) {
             ui::Press(t.Page(), {100, 100});
             ui::Drag(t.Page(), {300, 250});
         }},
        {"the rubber band let go",
         [](PageViewShown& t) {
             ui::Release(t.Page(), {300, 250});
         }},
        {"half a view back up", [](PageViewShown& t) { t.down.SetValue(t.down.Value() - 320); }},
        {"a new start number", [](PageViewShown& t) { t.w.EdStart().SetText("4711"); }},
        {"the window made larger", [](PageViewShown& t) { t.w.SetSize(1224, 810); }},
        {"zoomed out with no object selected",
         [](PageViewShown& t) {
             CurrentObject = -1;
             t.Click(t.w.MagR1());
         }},
        {"a line up with no object selected", [&](PageViewShown& t) { key(t.down, Qt::Key_Up); }},
        {"zoomed in with no object selected", [](PageViewShown& t) { t.Click(t.w.MagEn()); }},
        {"the window made smaller", [](PageViewShown& t) { t.w.SetSize(1024, 710); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.act(*this);
        EXPECT_EQ(Mismatch(), "");
        if (!FitToPage) {
            EXPECT_EQ(QPoint(ScrollX, ScrollY),
                      QPoint(across.Visible() ? across.Value() : 0, down.Visible() ? down.Value() : 0));
        }
    }
    EXPECT_EQ(PageResolution, 216);
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

// In fit mode the page always fits the view: a larger page, another document or a new window size
// fit it again, with no scroll bars.
TEST_F(PageViewShown, FitModeFitsAgain) {
    const QString file = testing_support::TempDir() + "/large.num";
    {
        AdocWidth = AsigWidth = 594, AdocHeight = AsigHeight = 841;
        AddObject(580, 830, 20, 0, "Bold");
        SyncHead(false), SaveHead();
        FolderItem f(file);
        ASSERT_TRUE(WriteDocument(f));
        AdocWidth = AsigWidth = 210, AdocHeight = AsigHeight = 297, TotalObjects = 0, CurrentObject = -1;
        SyncHead(false);
        w.FitToPageF(); // still in the fit mode the window opened in
    }
    auto typeInto = [&](int row, const QString& text) {
        ListBox& list = w.ListBox2();
        ui::ClickCell(list, row, 2);
        auto* editor = qobject_cast<QLineEdit*>(list.ActiveEditor());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        ui::Type(editor, text);
        ui::Key(editor, Qt::Key_Return, "\r");
    };
    const struct {
        const char* name;
        std::function<void()> act;
        QSizeF page; // mm
    } cases[] = {
        {"page made wider", [&] { typeInto(1, "420"), ui::ClickCell(w.ListBox2(), 5, 2); }, {420, 297}},
        {"page made taller, then another row chosen",
         [&] { typeInto(2, "594"), ui::ClickCell(w.ListBox2(), 7, 2); },
         {420, 594}},
        {"another document opened",
         [&] {
             Scripted().fileAnswers = {file};
             DirtyFlag = false; // nothing to ask about first
             w.FileOpen_Action();
         },
         {594, 841}},
        {"window made larger", [&] { w.SetSize(1400, 1000); }, {594, 841}},
        {"window made smaller again", [&] { w.SetSize(1024, 710); }, {594, 841}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        EXPECT_EQ(Mismatch(), ""); // the whole page, its far corner included, and the background beside it
        EXPECT_TRUE(FitToPage);
        EXPECT_EQ(QSizeF(AdocWidth, AdocHeight), c.page);
        const QSize page(Int(mms(AdocWidth)), Int(mms(AdocHeight)));
        EXPECT_TRUE(page.width() <= view.Width() && page.height() <= view.Height()) << PageResolution;
        // Fitted: one more dot per inch would no longer fit.
        EXPECT_TRUE(PageResolution + 1 >
                    std::min(25.4 * view.Width() / AdocWidth, 25.4 * view.Height() / AdocHeight));
        EXPECT_FALSE(across.Visible() || down.Visible());
    }
}

// Zooming out at the lowest zoom still brings the current object to the middle of the view, every time.
TEST_F(PageViewShown, ZoomOutAtTheLowestZoomRecentres) {
    AdocWidth = 594, AdocHeight = 841; // A1: larger than the view even at 50 dpi
    w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
    AddObject(300, 400, 24, 0, "Bold");
    CurrentObject = 0;
    LoadSel(0);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        if (k == 2) // scrolled away by the user first
            across.SetValue(0), down.SetValue(0);
        Click(w.MagR1());
        const QImage shown = Shown(view);
        EXPECT_EQ(PageResolution, 50);
        EXPECT_EQ(QPoint(across.Value(), down.Value()), QPoint(ScrollX, ScrollY));
        const QPoint handle = QPoint(Int(NHandleX), Int(NHandleY)) - QPoint(ScrollX, ScrollY);
        EXPECT_LE((handle - QPoint(view.Width() / 2, view.Height() / 2)).manhattanLength(), 2);
        EXPECT_EQ(qRed(shown.pixel(handle)), 128); // the grey handle, where the view says it is
        EXPECT_EQ(Mismatch(), "");
    }
}

// Ruler labels stay apart at any zoom, whole at both ends of the ruler; every tick is drawn.
TEST_F(PageViewShown, RulerLabelsStayReadable) {
    const struct {
        int dpi;           // 0: fitted
        QList<int> labels; // mm
    } cases[] = {
        {0, {0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200}},
        {100,
         {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200, 210}},
        {20, {0, 50, 100, 150, 200}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        if (c.dpi)
            FitToPage = false, PageResolution = c.dpi, w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
        else
            w.FitToPageF();
        ASSERT_EQ(PageResolution, c.dpi ? c.dpi : 54);
        const QImage top = w.gtx->Image();
        EXPECT_EQ(LabelFaults(top, top.width(), c.labels), "");
        for (int mm = 0; Int(mms(mm)) < top.width(); mm += 5) // every 5 mm tick
            EXPECT_LT(qGray(top.pixel(Int(mms(mm)), 12)), 160) << mm;
        // The left ruler's "0" stands below the top edge.
        const QImage left = w.glx->Image();
        int ink = 0;
        for (int y = 1; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                ink += qGray(left.pixel(x, y)) < 160;
        EXPECT_GT(ink, 6);
    }
    // The fitted view on screen.
    w.FitToPageF();
    EXPECT_EQ(LabelFaults(Shown(w.Canvas2()), Int(mms(AdocWidth)), cases[0].labels), "");
}
