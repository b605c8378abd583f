#include "DemoDocument.h"

#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/Window1.h"
#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"

#include <QStringList>

using namespace platform;
using namespace Module1;

namespace demo {

namespace {

constexpr double TicketHeight = 297.0 / 4; // mm
constexpr double StubWidth = 48;           // mm

struct NumberObject {
    QString name;
    double x, y;
    QString picture;
    std::int32_t pageIncrement;
    QString font, style;
    double size;
    QString colour;
    double angle;
};

void AddObject(const NumberObject& o) {
    const std::int32_t i = TotalObjects++;
    const Variant fields[] = {o.name, o.x,     o.y,    o.picture, o.pageIncrement, std::int32_t(0),
                              o.font, o.style, o.size, o.colour,  o.angle};
    for (int f = 0; f < 11; ++f)
        RecPos(i, f) = fields[f];
    ParseColour(o.colour);
    RecPos(i, 14) = DisplayColour(pncCyan, pncMagenta, pncYellow, pncBlack);
}

} // namespace

void NewA4Document() {
    InitGlobals();
    FillModNames();
    AdocWidth = AsigWidth = 210;
    AdocHeight = AsigHeight = 297;
    AstepR = AstepD = 1;
    AstepRV = AstepDV = 0;
    Astart = 1000;
    Aqty = 1000;
    PageResolution = 100;
    FitToPage = false;
    TotalObjects = 0;
    CurrentObject = -1;
    EPSmaskX = EPSmaskY = EPSmaskWidth = EPSmaskHeight = 0;
    EPSscaleX = EPSscaleY = 100;
    QVutils::EPSBoundBoxX = QVutils::EPSBoundBoxY = 0;
    EPSdirty = true;
    EPSredraw = false;
}

void AddTicketNumbers() {
    for (int t = 0; t < 4; ++t) {
        const double top = t * TicketHeight;
        AddObject({"Stub" + QString::number(t + 1), StubWidth - 9, top + 52, "/######", t, "Arial", "Bold",
                   16, "C000M000Y000K100", 90});
        AddObject({"Ticket" + QString::number(t + 1), 177, top + 31.5, "No. /######", t, "Arial", "Bold", 20,
                   "C000M100Y100K000", 0});
    }
    CurrentObject = 1;
}

void AddGridNumbers(int count) {
    const QStringList fonts = {"Arial", "DejaVu Sans", "Liberation Serif"};
    const QStringList styles = {"Normal", "Bold", "Italic", "BoldItalic"};
    const QStringList colours = {"C000M000Y000K100", "C000M100Y100K000", "C100M050Y000K000",
                                 "C080M000Y100K020"};
    for (int k = 0; k < count && TotalObjects < 129; ++k) {
        const int column = k % 6, row = k / 6;
        AddObject({"Object" + QString::number(k + 1), 20 + column * 34.0, 12 + row * 12.8,
                   k % 2 ? "/########" : "", k % 5, fonts[k % 3], styles[k % 4], 10.0 + k % 4 * 2,
                   colours[k % 4], k % 7 == 0 ? 30.0 : 0.0});
    }
    CurrentObject = 0;
}

void AddCornerNumbers() {
    const struct { double x, y, angle; } corners[] = {{12, 8, 0}, {198, 8, 0}, {12, 292, 0}, {196, 292, 0}};
    for (const auto& c : corners)
        AddObject({"Corner" + QString::number(TotalObjects + 1), c.x, c.y, "", 0, "DejaVu Sans", "Bold", 14,
                   "C000M000Y000K100", c.angle});
}

std::shared_ptr<Picture> MakeTicketBackdrop(int dpi) {
    auto px = [dpi](double mm) { return mm * dpi / 25.4; };
    auto picture = NewPicture(Int(px(210)), Int(px(297)), 32);
    picture->SetHorizontalResolution(dpi);
    picture->SetVerticalResolution(dpi);
    Graphics& g = picture->Graphics();
    for (int t = 0; t < 4; ++t) {
        const double top = t * TicketHeight;
        // The ticket's tinted band, its frame and the perforation between stub and ticket.
        g.ForeColor = RGB(255, 244, 214);
        g.FillRect(px(4), px(top + 4), px(202), px(TicketHeight - 8));
        g.ForeColor = RGB(232, 120, 40);
        g.FillRect(px(StubWidth), px(top + 4), px(158), px(14));
        g.PenWidth = g.PenHeight = 6 * dpi / 300;
        g.DrawRect(px(4), px(top + 4), px(202), px(TicketHeight - 8));
        g.PenWidth = g.PenHeight = 3 * dpi / 300;
        for (double y = top + 6; y < top + TicketHeight - 6; y += 3)
            g.DrawLine(px(StubWidth), px(y), px(StubWidth), px(y + 1.5));

        g.TextFont = "DejaVu Sans";
        g.Bold = true;
        g.TextSize = px(5.5);
        g.ForeColor = RGB(255, 255, 255);
        g.DrawString("SPRING FAIR RAFFLE", px(StubWidth + 6), px(top + 13.5));
        g.ForeColor = RGB(120, 60, 20);
        g.TextSize = px(4);
        g.DrawString("Grand prize draw: 14 June, Town Hall", px(StubWidth + 6), px(top + 32));
        g.Bold = false;
        g.TextSize = px(3.2);
        g.DrawString("Keep this ticket. Present it to claim a prize.", px(StubWidth + 6), px(top + 42));
        g.DrawString("Price 2.00", px(StubWidth + 6), px(top + 50));
        g.DrawString("Name", px(10), px(top + 12));
        g.DrawString("Phone", px(10), px(top + 30));
        g.PenWidth = g.PenHeight = 2 * dpi / 300;
        g.DrawLine(px(10), px(top + 20), px(StubWidth - 14), px(top + 20));
        g.DrawLine(px(10), px(top + 38), px(StubWidth - 14), px(top + 38));
        // The box the ticket's number is printed in.
        g.ForeColor = RGB(255, 255, 255);
        g.FillRect(px(150), px(top + 22), px(54), px(12));
        g.ForeColor = RGB(232, 120, 40);
        g.DrawRect(px(150), px(top + 22), px(54), px(12));
    }
    return picture;
}

void UseBackdrop(Window1& w, std::shared_ptr<Picture> picture) {
    Module1::TheBackdrop.Bdx = std::move(picture);
    EPSmaskX = EPSmaskY = 0;
    EPSmaskWidth = AdocWidth;
    EPSmaskHeight = AdocHeight;
    EPSscaleX = EPSscaleY = 100;
    QVutils::EPSBoundBoxX = QVutils::EPSBoundBoxY = 0;
    EPSdirty = true;
}

} // namespace demo
