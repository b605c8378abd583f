// The backdrop dialog's frame, controls, handler connections and menu bar.
#include "dialogs/BDropProps.h"

#include "core/AppPictures.h"
#include "core/Module1.h"
#include "dialogs/MenuBar2.h"
#include "platform/Controls.h"
#include "platform/Menu.h"
#include "platform/Numbers.h"

#include <array>

using namespace platform;

namespace {

constexpr ControlKind Field = ControlKind::EditField;
constexpr ControlKind Text = ControlKind::Label;

// A borderless single-line field of the mask, scale and offset rows.
ControlDesc EditRow(const char* name, int left, int top, const char* text = "") {
    return {.name = name,
            .kind = Field,
            .left = left,
            .top = top,
            .width = 60,
            .height = 14,
            .caption = text,
            .fontSize = 10,
            .textColor = RGB(0, 0, 0),
            .multiline = false,
            .readOnly = false,
            .border = false};
}

ControlDesc LabelRow(const char* name, int left, int top, const char* caption) {
    return {.name = name,
            .kind = Text,
            .left = left,
            .top = top,
            .width = 19,
            .height = 14,
            .caption = caption,
            .fontSize = 10,
            .align = TextAlign::Left,
            .textColor = RGB(0, 0, 0)};
}

const QString FormsHelp =
    "Using Level 2 forms allows the RIP to HOLD the raster image created from the EPS and merge the raster "
    "on repeated pages. This should speed up processing through the PS printer. If this is printed on a NON "
    "Postscript printer, only a low resolution view image will be output.";

std::array<ControlDesc, 25> ControlTable() {
    return {{
        {.name = "PushButton1",
         .kind = ControlKind::PushButton,
         .left = 337,
         .top = 212,
         .width = 69,
         .height = 20,
         .caption = "Close",
         .fontSize = 12,
         .isDefault = true},
        {.name = "PushButton2",
         .kind = ControlKind::PushButton,
         .left = 222,
         .top = 212,
         .width = 73,
         .height = 20,
         .caption = "Fit to page",
         .fontSize = 10},
        {.name = "StaticText3",
         .kind = Text,
         .left = 14,
         .top = 20,
         .width = 450,
         .height = 71,
         .caption = "Label:",
         .fontSize = 12,
         .align = TextAlign::Left,
         .textColor = RGB(0x00, 0x00, 0xC0),
         .multiline = true},
        {.name = "Canvas1", .kind = ControlKind::Canvas, .left = 14, .top = 113, .width = 36, .height = 34},
        {.name = "PushButton3",
         .kind = ControlKind::PushButton,
         .left = 77,
         .top = 212,
         .width = 103,
         .height = 20,
         .caption = "Centre Page",
         .fontSize = 12},
        EditRow("EditField3", 77, 113),
        EditRow("EditField4", 77, 133),
        LabelRow("StaticText4", 63, 112, "X:"),
        LabelRow("StaticText5", 63, 132, "Y:"),
        EditRow("EditField5", 165, 114),
        EditRow("EditField6", 165, 134),
        LabelRow("StaticText6", 151, 113, "W:"),
        LabelRow("StaticText7", 151, 133, "H:"),
        EditRow("EditField7", 257, 115, "100"),
        EditRow("EditField8", 257, 135, "100"),
        LabelRow("StaticText8", 237, 114, "X%:"),
        LabelRow("StaticText9", 237, 134, "Y%:"),
        EditRow("EditField9", 346, 115),
        EditRow("EditField10", 346, 135),
        LabelRow("StaticText10", 325, 114, "X+:"),
        LabelRow("StaticText11", 325, 134, "Y+:"),
        {.name = "CheckBox1",
         .kind = ControlKind::CheckBox,
         .left = 73,
         .top = 151,
         .width = 149,
         .height = 21,
         .caption = "Use Level 2 Forms",
         .helpTag = FormsHelp,
         .fontSize = 12,
         .value = 0},
        EditRow("EditField1", 346, 157),
        {.name = "StaticText1",
         .kind = Text,
         .left = 241,
         .top = 154,
         .width = 93,
         .height = 17,
         .caption = "ReRez JPGs to",
         .fontSize = 0,
         .align = TextAlign::Right,
         .textColor = RGB(0, 0, 0)},
        {.name = "CheckBox2",
         .kind = ControlKind::CheckBox,
         .left = 193,
         .top = 183,
         .width = 124,
         .height = 19,
         .caption = "Non Proportional",
         .fontName = "Arial",
         .fontSize = 12,
         .value = 0},
    }};
}

} // namespace

BDropProps::BDropProps() {
    Layout();
    CreateControls();
    AddMenuHandlers();
}

void BDropProps::Layout() {
    SetMenuBar(&SharedMenuBar<MenuBar2>());
    ApplyDesc({.title = "Back Drop Properties",
               .width = 478,
               .height = 252,
               .minWidth = 64,
               .minHeight = 64,
               .maxWidth = 32000,
               .maxHeight = 32000,
               .resizeable = true,
               .frame = WindowFrame::Document,
               .closeButton = true,
               .minimizeButton = true,
               .maximizeButton = true});
}

void BDropProps::CreateControls() {
    const auto table = ControlTable();
    Window::CreateControls(table);
    Canvas1().SetBackdrop(ZOrer3());

    PushButton1().Action = [this] { PushButton1_Action(); };
    PushButton2().Action = [this] { PushButton2_Action(); };
    PushButton3().Action = [this] { PushButton3_Action(); };
    CheckBox1().Action = [this] { CheckBox1_Action(); };
    CheckBox2().Action = [this] { CheckBox2_Action(); };
    // The mask and scale fields, each committed into its global when it loses the focus.
    for (int k = 3; k <= 8; ++k) {
        const QString name = "EditField" + QString::number(k);
        EditField& field = Field(name);
        field.TextChange = [this] { EditField_TextChange(); };
        field.LostFocus = [this, name] { CommitField(name); };
    }
    Field("EditField9").TextChange = [this] { EditField_TextChange(); };
    Field("EditField9").LostFocus = [this] { EditField9_LostFocus(); };
    Field("EditField10").TextChange = [this] { EditField_TextChange(); };
    Field("EditField10").LostFocus = [this] { EditField10_LostFocus(); };
    EditField& rez = Field("EditField1");
    rez.TextChange = [this] { EditField_TextChange(); };
    rez.LostFocus = [this] { EditField1_LostFocus(); };
    rez.Open = [this] { EditField1_Open(); };
}

EditField& BDropProps::Field(const QString& name) const {
    return *ControlNamed<EditField>(name);
}

void BDropProps::AddMenuHandlers() {
    AddMenuHandler("BackdropOpen", [this] { return BackdropOpen_Action(); });
    AddMenuHandler("BackdropDelete", [this] { return BackdropDelete_Action(); });
}

MenuItem& BDropProps::BackdropOpen() const {
    return MenuItemNamed("BackdropOpen");
}

MenuItem& BDropProps::BackdropDelete() const {
    return MenuItemNamed("BackdropDelete");
}

void BDropProps::Event_EnableMenuItems() {
    // Both commands make sense with or without a picture.
    BackdropOpen().SetEnabled(true);
    BackdropDelete().SetEnabled(true);
}
