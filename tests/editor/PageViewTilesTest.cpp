// The page view composes its backdrop only where it shows, in tiles kept while they stay valid: what it
// shows is, pixel for pixel, the backdrop composed for the whole page at once, whatever the user does
// to the view or the backdrop, and a repaint composes only what it has not composed before.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "dialogs/BDropProps.h"
#include "editor/DocumentCommands.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Menu.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"

#include <QImageWriter>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;
using testing_support::TempDir;
using ui::AddImage;
using ui::Enter;

namespace {

// A picture file of a form 120 x 100 mm at 300 dpi: hairlines, small text and tinted boxes, in colour
// (a PNG, or a JPEG, which is held as its colour planes), in grey or one bit deep; shade moves its lines,
// so that two pictures of the same size differ.
QString FormFile(const QString& kind, int shade = 0) {
    QImage form(1417, 1181, QImage::Format_RGB32);
    form.fill(Qt::white);
    {
        QPainter p(&form);
        p.fillRect(100, 80, 600, 300, QColor(255, 220, 160));
        p.fillRect(800, 500, 500, 500, QColor(120, 160, 230));
        p.setPen(QPen(Qt::black, 1));
        for (int x = 20 + shade; x < 1417; x += 37)
            p.drawLine(x, 0, x + 300, 1180);
        for (int y = 10 + shade; y < 1181; y += 53)
            p.drawLine(0, y, 1416, y);
        p.setPen(QColor(150, 30, 30));
        p.setFont(QFont("DejaVu Sans", 9));
        for (int y = 60; y < 1181; y += 140)
            p.drawText(40, y, "Keep this ticket 0123456789");
    }
    QImage image = kind == "grey"      ? form.convertToFormat(QImage::Format_Grayscale8)
                   : kind == "one-bit" ? form.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)
                                       : form;
    image.setDotsPerMeterX(11811), image.setDotsPerMeterY(11811);
    const QString path = TempDir() + QString("/form-%1-%2.%3")
                                         .arg(kind)
                                         .arg(shade)
                                         .arg(kind == "one-bit" ? "tif"
                                              : kind == "jpeg"  ? "jpg"
                                                                : "png");
    EXPECT_TRUE(QImageWriter(path).write(image));
    return path;
}

// A page of 150 x 180 mm with no numbers, in the main window shown fitted (90 dpi).
class PageViewTiles : public ::testing::Test {
public:
    void SetUp() override {
        FillModNames();
        NewDoc();
        AdocWidth = AsigWidth = 150, AdocHeight = AsigHeight = 180;
        SyncHead(false);
        w.Show();
        ui::Activate(w);
        w.FitToPageF();
    }

    void Click(BevelButton& b) { ui::Click(b, 15, 15); }

    // Pixels of the view that are not the backdrop composed for the whole page at once, where the
    // scroll offsets put it, with the background beside the page. Where Qt smooths a picture drawn at
    // another size, it steps along each row from where the drawing starts, a tile's edge or the page's,
    // and may round a pixel to the next level: one level of 255 is allowed there.
    QString Mismatch() {
        const QImage shown = ui::Shown(view);
        QImage page;
        if (TheBackdrop.Bdx) {
            EPSdirty = true;
            if (!TheBackdrop.ComposeIfDirty())
                return "the whole page could not be composed";
            page = TheBackdrop.cdx->Image().convertToFormat(QImage::Format_RGB32);
        } else {
            page = QImage(Int(mms(AdocWidth)), Int(mms(AdocHeight)), QImage::Format_RGB32);
            page.fill(Qt::white);
        }
        const QRgb back = view.Widget()->palette().color(QPalette::Window).rgb();
        int wrong = 0;
        QPoint first;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QPoint at(x + ScrollX, y + ScrollY);
                const QRgb want = page.rect().contains(at) ? page.pixel(at) : back, got = shown.pixel(x, y);
                const int off =
                    std::max({std::abs(qRed(got) - qRed(want)), std::abs(qGreen(got) - qGreen(want)),
                              std::abs(qBlue(got) - qBlue(want))});
                if (off > (page.rect().contains(at) ? 1 : 0) && !wrong++)
                    first = QPoint(x, y);
            }
        return wrong ? QString("%1 pixels, the first at %2, %3").arg(wrong).arg(first.x()).arg(first.y())
                     : QString();
    }

    Window1& w = SharedInstance<Window1>();
    Canvas& view = w.Canvas1();
    ScrollBar& across = w.ScrollBar1();
    ScrollBar& down = w.ScrollBar2();
};

} // namespace

TEST_F(PageViewTiles, ShowTheBackdropComposedForTheWholePage) {
    for (const QString kind : {"colour", "jpeg", "grey", "one-bit"}) {
        SCOPED_TRACE(kind.toStdString());
        const QString form = FormFile(kind), other = FormFile(kind, 11);
        const struct {
            const char* name;
            std::function<void()> act;
        } steps[] = {
            {"placed through its dialog, averaged down",
             [&] { ui::InBackdropDialog([&](BDropProps& d) { AddImage(d, form); }); }},
            {"another picture placed the same way",
             [&] { ui::InBackdropDialog([&](BDropProps& d) { AddImage(d, other); }); }},
            {"zoomed in: shrunk less than half", [&] { Click(w.MagEn()); }},
            {"zoomed in again: enlarged", [&] { Click(w.MagEn()); }},
            {"scrolled to the far corner",
             [&] { across.SetValue(across.Maximum()), down.SetValue(down.Maximum()); }},
            {"moved in its dialog",
             [&] {
                 ui::InBackdropDialog([&](BDropProps& d) {
                     Enter(d, "EditField9", "12.5");
                     Enter(d, "EditField10", "-7.25");
                 });
             }},
            {"cut to a smaller mask in its dialog",
             [&] {
                 ui::InBackdropDialog([&](BDropProps& d) {
                     Enter(d, "EditField3", "20");
                     Enter(d, "EditField4", "30");
                     Enter(d, "EditField5", "90");
                     Enter(d, "EditField6", "70");
                     d.PushButton1().Push(); // Close
                 });
             }},
            {"scrolled back to where it was before", [&] { across.SetValue(0), down.SetValue(0); }},
            {"scaled to a third across in its dialog",
             [&] {
                 ui::InBackdropDialog([&](BDropProps& d) {
                     Enter(d, "EditField7", "33.3");
                     d.PushButton1().Push();
                 });
             }},
            {"a line right and a page down with the keyboard",
             [&] {
                 across.SetFocus(), ui::Key(across.Widget(), Qt::Key_Right);
                 down.SetFocus(), ui::Key(down.Widget(), Qt::Key_PageDown);
             }},
            {"zoomed in to the closest zoom", [&] { Click(w.MagEn()); }},
            {"fitted", [&] { w.BtFit_Action(); }},
            {"deleted in its dialog",
             [&] { ui::InBackdropDialog([&](BDropProps& d) { d.BackdropDelete().Trigger(); }); }},
        };
        for (const auto& step : steps) {
            SCOPED_TRACE(step.name);
            step.act();
            EXPECT_EQ(Mismatch(), "");
            if (kind == "jpeg" && TheBackdrop.Bdx) {
                EXPECT_NE(TheBackdrop.Bdx->Planes(), nullptr) << "held as its planes, never unpacked";
            }
        }
        EXPECT_EQ(PageResolution, 90);
        EXPECT_TRUE(Scripted().messages.isEmpty()) << Scripted().messages.join('\n').toStdString();
    }
}
