// The step and repeat dialog's frame, controls, defaults and buttons.
#include "dialogs/StepRpt.h"

#include "core/AppPictures.h"
#include "core/Module1.h"
#include "core/ValueRules.h"

#include "platform/Controls.h"
#include "platform/Numbers.h"
#include <array>

using namespace platform;
using Module1::NumberRule;

namespace {

const WindowDesc kWindow{
    .title = "Step & Repeat",
    .width = 221,
    .height = 309,
    .resizeable = true,
    .frame = WindowFrame::MovableModal,
    .closeButton = true,
    .minimizeButton = true,
    .maximizeButton = true,
};

// A single-line field that starts empty.
ControlDesc Field(const char* name, int left, int top) {
    return {.name = name,
            .kind = ControlKind::EditField,
            .left = left,
            .top = top,
            .width = 80,
            .height = 22,
            .align = TextAlign::Left,
            .textColor = RGB(0, 0, 0),
            .border = true};
}

ControlDesc Text(const char* name, const char* caption, int left, int top, int width = 80) {
    return {.name = name,
            .kind = ControlKind::Label,
            .left = left,
            .top = top,
            .width = width,
            .height = 20,
            .caption = caption};
}

ControlDesc Button(const char* name, const char* caption, int left) {
    return {.name = name,
            .kind = ControlKind::PushButton,
            .left = left,
            .top = 276,
            .width = 69,
            .height = 22,
            .caption = caption,
            .isDefault = false,
            .isCancel = false};
}

// The radio buttons and the check box start off; Event_Open sets them.
std::array<ControlDesc, 18> ControlTable() {
    return {{
        Field("EdQAcross", 20, 70),
        Text("StaticText1", "Qty Across:", 20, 47),
        Field("EdX", 120, 70),
        Text("StaticText2", "Distance:", 120, 47),
        Field("EdQdown", 20, 116),
        Text("StaticText3", "Qty Down:", 20, 93),
        Field("EdY", 120, 116),
        Text("StaticText4", "Distance:", 120, 93),
        {.name = "GroupBox1",
         .kind = ControlKind::GroupBox,
         .left = 20,
         .top = 148,
         .width = 180,
         .height = 64,
         .caption = "Flow"},
        {.name = "RadioButton1",
         .kind = ControlKind::RadioButton,
         .left = 26,
         .top = 168,
         .width = 169,
         .height = 20,
         .caption = "Across then Down",
         .parent = "GroupBox1"},
        {.name = "RadioButton2",
         .kind = ControlKind::RadioButton,
         .left = 26,
         .top = 192,
         .width = 169,
         .height = 18,
         .caption = "Down then Across",
         .parent = "GroupBox1"},
        {.name = "CBatView",
         .kind = ControlKind::CheckBox,
         .left = 26,
         .top = 216,
         .width = 169,
         .height = 20,
         .caption = "Numbers @ View"},
        Button("BtnOK", "OK", 131),
        Button("BtnCancel", "Cancel", 50),
        {.name = "Separator1",
         .kind = ControlKind::Separator,
         .left = 20,
         .top = 263,
         .width = 180,
         .height = 4},
        Field("EdRepeat", 20, 238),
        Text("StaticText5", "Repeat Number:", 105, 239, 100),
        {.name = "Canvas1", .kind = ControlKind::Canvas, .left = 20, .top = 7, .width = 36, .height = 34},
    }};
}

} // namespace

StepRpt::StepRpt() {
    ApplyDesc(kWindow);
    const auto table = ControlTable();
    CreateControls(table);
    Canvas1().SetBackdrop(ZOrer3());
    EdQAcross().TextChange = [this] { EdQAcross_TextChange(); };
    EdX().TextChange = [this] { EdX_TextChange(); };
    EdQdown().TextChange = [this] { EdQdown_TextChange(); };
    EdY().TextChange = [this] { EdY_TextChange(); };
    BtnOK().Action = [this] { BtnOK_Action(); };
    BtnCancel().Action = [this] { BtnCancel_Action(); };
}

void StepRpt::Event_Open() {
    values_ = {{"EdQAcross", 1},
               {"EdX", Module1::CurrentObjectWidth},
               {"EdQdown", 1},
               {"EdY", Module1::CurrentObjectHeight},
               {"EdRepeat", 1}};
    EdQAcross().SetText("1");
    EdX().SetText(Str(Module1::CurrentObjectWidth));
    EdQdown().SetText("1");
    EdY().SetText(Str(Module1::CurrentObjectHeight));
    RadioButton1().SetValue(true);
    CBatView().SetValue(true);
    EdRepeat().SetText("1");
}

// The fit test warns while the user types; it blocks nothing.
void StepRpt::EdQAcross_TextChange() {
    CheckFit();
}
void StepRpt::EdX_TextChange() {
    CheckFit();
}
void StepRpt::EdQdown_TextChange() {
    CheckFit();
}
void StepRpt::EdY_TextChange() {
    CheckFit();
}

// Copies are made even where the grid does not fit the page; a grid the object table cannot hold, or a
// field that holds no number it takes, keeps the dialog open so that it can be corrected.
void StepRpt::BtnOK_Action() {
    if (CommitFields() && DoStep())
        Close();
}

void StepRpt::BtnCancel_Action() {
    Close();
}

namespace {
// Counts may hold fractions (their whole part makes the cells); copies further apart than the largest
// sheet could be on no sheet.
NumberRule FieldRule(const QString& name) {
    if (name == "EdQAcross")
        return {"Qty Across"};
    if (name == "EdQdown")
        return {"Qty Down"};
    if (name == "EdRepeat")
        return {"Repeat Number"};
    return Module1::PlaceRule(name == "EdX" ? "Distance across" : "Distance down");
}
} // namespace

std::optional<double> StepRpt::FieldValue(const QString& name) const {
    return TypedNumber(ControlNamed<EditField>(name)->Text());
}

bool StepRpt::CommitFields() {
    for (const char* name : {"EdQAcross", "EdX", "EdQdown", "EdY", "EdRepeat"})
        if (!CommitNumberField(*ControlNamed<EditField>(name), values_[name], FieldRule(name), false))
            return false;
    return true;
}
