// The About window's frame, controls, version line and buttons.
#include "dialogs/AboutWindow.h"

#include "core/AppPictures.h"
#include "editor/App.h"

#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/Text.h"
#include "platform/UserQuestions.h"
#include <array>

using namespace platform;

namespace {

const WindowDesc kWindow{
    .title = "About Tallio",
    .width = 418,
    .height = 345,
    .resizeable = true,
    .frame = WindowFrame::Modal,
    .backColor = RGB(0xFF, 0xED, 0xC1),
    .closeButton = true,
    .minimizeButton = true,
    .maximizeButton = true,
};

const char* const kDescription =
    "Tallio allows multiple auto incrementing numbers to be positioned on a document page with provision "
    "for setting additional \"picture\" elements and modulas check digits. These document pages can then "
    "be imposed 'up' on a signature for output on any system printer. Best results would be from "
    "postscript enabled printers.";

// A centred line of text.
ControlDesc Line(const char* name, const QString& text, int left, int top, int width, int height,
                 const char* font = "System", int size = 12, Color colour = RGB(0, 0, 0)) {
    return {.name = name,
            .kind = ControlKind::Label,
            .left = left,
            .top = top,
            .width = width,
            .height = height,
            .caption = text,
            .fontName = font,
            .fontSize = size,
            .align = TextAlign::Center,
            .textColor = colour};
}

std::array<ControlDesc, 10> ControlTable() {
    return {{
        {.name = "ImageWell1",
         .kind = ControlKind::ImageWell,
         .left = 13,
         .top = 13,
         .width = 38,
         .height = 38},
        {.name = "EditField1",
         .kind = ControlKind::EditField,
         .left = 52,
         .top = 211,
         .width = 317,
         .height = 95,
         .caption = kDescription,
         .fontName = "Geneva",
         .fontSize = 10,
         .textColor = RGB(0, 0, 0),
         .scrollVertical = false,
         .multiline = true,
         .readOnly = true,
         .border = true},
        Line("StaticText1", "Tallio Software", 76, 8, 293, 21, "System", 18),
        Line("StaticText2", "1 Numbering Lane", 76, 30, 292, 16, "geneva"),
        Line("StaticText3", "Printville PV1 2NN", 76, 47, 292, 16, "Geneva"),
        Line("StaticText4", AboutWindow::WebAddress(), 77, 100, 292, 16, "System", 12, RGB(0x1A, 0x16, 0xFF)),
        {.name = "Close1",
         .kind = ControlKind::PushButton,
         .left = 307,
         .top = 315,
         .width = 62,
         .height = 20,
         .caption = "Close",
         .isDefault = false,
         .isCancel = false},
        Line("StaticText5", "Written by the Tallio team", 77, 124, 292, 16),
        Line("StaticText6", "Version 1.10", 62, 145, 292, 16),
        {.name = "WebGOTO",
         .kind = ControlKind::BevelButton,
         .left = 176,
         .top = 71,
         .width = 83,
         .height = 21,
         .caption = "Connect to: ",
         .align = TextAlign::Center},
    }};
}

} // namespace

AboutWindow::AboutWindow() {
    ApplyDesc(kWindow);
    const auto table = ControlTable();
    CreateControls(table);
    ImageWell1().SetImage(ZOrer3());
    Close1().Action = [this] { Close1_Action(); };
    WebGOTO().Action = [this] { WebGOTO_Action(); };
}

QString AboutWindow::WebAddress() {
    return QStringLiteral("https://www.tallio.example/");
}

QString AboutWindow::VersionLine() {
    const App& app = App::Instance();
    // A stage code outside 0 to 3 gives an empty stage name.
    return "Version " + Str(app.MajorVersion) + "." + Str(app.MinorVersion) + "." + Str(app.BugVersion) +
           " - " + NthField("Development,Alpha,Beta,Final", ",", app.StageCode + 1) +
           " - Build: " + Str(app.NonReleaseVersion);
}

void AboutWindow::Event_Open() {
    StaticText6().SetText(VersionLine());
}

void AboutWindow::Close1_Action() {
    Close();
}

void AboutWindow::WebGOTO_Action() {
    ShowURL(WebAddress());
}
