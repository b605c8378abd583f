// The colour selector's frame, controls, and the link between each ink's slider, field and swatch.
#include "dialogs/ColourSet.h"

#include "core/AppPictures.h"
#include "core/Module1.h"

#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/Text.h"

using namespace platform;
using K = ControlKind;

namespace {

const WindowDesc kWindow{
    .title = "Colour Selector",
    .width = 512,
    .height = 276,
    .resizeable = true,
    .frame = WindowFrame::MovableModal,
    .backColor = RGB(0xFF, 0xE8, 0xBF),
    .closeButton = true,
    .minimizeButton = true,
    .maximizeButton = true,
};

const Color kWhite = RGB(255, 255, 255);
const Color kBlack = RGB(0, 0, 0);
const Color kRed = RGB(255, 0, 0);

ControlDesc RedLine(const char* name, int x) {
    return {.name = name, .kind = K::Line, .left = x, .top = 231, .borderColor = kRed, .x2 = x, .y2 = 95};
}

ControlDesc InkSlider(const char* name, int top) {
    return {.name = name,
            .kind = K::Slider,
            .left = 95,
            .top = top,
            .width = 240,
            .height = 16,
            .parent = "Placard1",
            .value = 0,
            .minimum = 0,
            .maximum = 100,
            .lineStep = 1,
            .pageStep = 20,
            .liveScroll = true};
}

ControlDesc NumberField(const char* name, int top, const QString& parent) {
    return {.name = name,
            .kind = K::EditField,
            .left = 397,
            .top = top,
            .width = 80,
            .height = 22,
            .parent = parent,
            .align = TextAlign::Left,
            .multiline = false,
            .readOnly = false,
            .border = true};
}

// A swatch or preview: white with a black frame until painted.
ControlDesc Swatch(const char* name, int left, int top, int width, const QString& parent) {
    return {.name = name,
            .kind = K::Rectangle,
            .left = left,
            .top = top,
            .width = width,
            .height = 22,
            .parent = parent,
            .fillColor = kWhite,
            .borderColor = kBlack,
            .borderWidth = 1};
}

ControlDesc Caption(const char* name, const char* text, int left, int top, int width, TextAlign align,
                    const QString& parent = {}) {
    return {.name = name,
            .kind = K::Label,
            .left = left,
            .top = top,
            .width = width,
            .height = 20,
            .caption = text,
            .parent = parent,
            .align = align};
}

std::vector<ControlDesc> ControlTable() {
    const QString P = "Placard1";
    return {
        {.name = "Placard1", .kind = K::Placard, .left = 18, .top = 89, .width = 476, .height = 150},
        RedLine("Line3", 269),
        RedLine("Line2", 160),
        RedLine("Line1", 215),
        InkSlider("SliderC", 108),
        NumberField("EFCyan", 102, P),
        Swatch("Cyan", 341, 102, 36, P),
        Swatch("VisOrig", 397, 31, 80, {}),
        Swatch("VisNEW", 397, 59, 80, {}),
        Caption("StaticText1", "Original", 309, 31, 80, TextAlign::Right),
        Caption("StaticText2", "New", 314, 59, 75, TextAlign::Right),
        InkSlider("SliderM", 139),
        NumberField("EFMagenta", 133, P),
        Swatch("Magenta", 341, 133, 36, P),
        InkSlider("SliderY", 170),
        NumberField("EFYellow", 164, P),
        Swatch("Yellow", 341, 164, 36, P),
        InkSlider("SliderK", 201),
        NumberField("EFBlack", 195, P),
        Swatch("Black", 341, 195, 36, P),
        Caption("StaticText3", "Cyan", 26, 108, 68, TextAlign::Left, P),
        Caption("StaticText4", "Magenta", 26, 137, 68, TextAlign::Left, P),
        Caption("StaticText5", "Yellow", 26, 167, 68, TextAlign::Left, P),
        Caption("StaticText6", "Black", 26, 197, 68, TextAlign::Left, P),
        {.name = "Canvas1", .kind = K::Canvas, .left = 18, .top = 31, .width = 36, .height = 34},
        {.name = "PushButton1",
         .kind = K::PushButton,
         .left = 397,
         .top = 248,
         .width = 80,
         .height = 20,
         .caption = "Close",
         .isDefault = false,
         .isCancel = false},
        Caption("StaticText7", "Select Colour", 95, 31, 100, TextAlign::Left),
    };
}

struct InkControls {
    const char* slider;
    const char* field;
    const char* swatch;
};
const InkControls kInks[] = {
    {"SliderC", "EFCyan", "Cyan"},
    {"SliderM", "EFMagenta", "Magenta"},
    {"SliderY", "EFYellow", "Yellow"},
    {"SliderK", "EFBlack", "Black"},
};

// The colour string of four percentages: "C" ccc "M" mmm "Y" yyy "K" kkk, three digits each.
QString ColourString(int c, int m, int y, int k) {
    // The last three digits of v + 1000 give the part with leading zeros (0 -> 000, 100 -> 100).
    auto digits = [](int v) { return Right(Str(v + 1000), 3); };
    return "C" + digits(c) + "M" + digits(m) + "Y" + digits(y) + "K" + digits(k);
}

} // namespace

ColourSet::ColourSet() {
    ApplyDesc(kWindow);
    CreateControls(ControlTable());
    Canvas1().SetBackdrop(ZOrer3());

    SliderC().ValueChanged = [this] { SliderC_ValueChanged(); };
    EFCyan().TextChange = [this] { EFCyan_TextChange(); };
    EFCyan().KeyDown = [this](const QString& k) { return EFCyan_KeyDown(k); };
    SliderM().ValueChanged = [this] { SliderM_ValueChanged(); };
    EFMagenta().KeyDown = [this](const QString& k) { return EFMagenta_KeyDown(k); };
    EFMagenta().TextChange = [this] { EFMagenta_TextChange(); };
    SliderY().ValueChanged = [this] { SliderY_ValueChanged(); };
    EFYellow().KeyDown = [this](const QString& k) { return EFYellow_KeyDown(k); };
    EFYellow().TextChange = [this] { EFYellow_TextChange(); };
    SliderK().ValueChanged = [this] { SliderK_ValueChanged(); };
    EFBlack().KeyDown = [this](const QString& k) { return EFBlack_KeyDown(k); };
    EFBlack().TextChange = [this] { EFBlack_TextChange(); };
    PushButton1().Action = [this] { PushButton1_Action(); };
}

Slider& ColourSet::InkSlider(Ink ink) const {
    return *ControlNamed<Slider>(kInks[ink].slider);
}

int ColourSet::Part(Ink ink) const {
    return InkSlider(ink).Value();
}

void ColourSet::Event_Open() {
    const std::int32_t start[] = {Module1::pncCyan, Module1::pncMagenta, Module1::pncYellow,
                                  Module1::pncBlack};
    for (Ink ink : {InkCyan, InkMagenta, InkYellow, InkBlack}) {
        Slider& slider = InkSlider(ink);
        const int before = slider.Value();
        slider.SetValue(start[ink]); // kept within 0..100 by the slider
        // A part equal to the slider's start value raises no change; show it all the same, so a field
        // never opens empty and every swatch shows its ink.
        if (slider.Value() == before)
            InkChanged(ink);
    }
    VisOrig().SetFillColor(
        Module1::DisplayColour(Part(InkCyan), Part(InkMagenta), Part(InkYellow), Part(InkBlack)));
    inuse = false;
}

void ColourSet::InkChanged(Ink ink) {
    const double v = Part(ink) / 100.0;
    const Color swatch[] = {CMY(v, 0, 0), CMY(0, v, 0), CMY(0, 0, v), CMY(v, v, v)};
    ControlNamed<platform::Rectangle>(kInks[ink].swatch)->SetFillColor(swatch[ink]);
    if (!inuse)
        ControlNamed<EditField>(kInks[ink].field)->SetText(Str(Part(ink)));
    SetNew();
}

void ColourSet::InkTyped(Ink ink) {
    EditField& field = *ControlNamed<EditField>(kInks[ink].field);
    const std::int32_t typed = Int(Val(field.Text()));
    inuse = true;
    InkSlider(ink).SetValue(typed);
    inuse = false;
    // A number outside 0..100 is held at the nearer end; the field then shows the part that will be
    // kept, not the number typed.
    if (typed != Part(ink))
        field.SetText(Str(Part(ink)));
}

bool ColourSet::InkKeyDown() {
    Module1::DirtyFlag = true;
    return false;
}

void ColourSet::SetNew() {
    VisNEW().SetFillColor(
        Module1::DisplayColour(Part(InkCyan), Part(InkMagenta), Part(InkYellow), Part(InkBlack)));
}

void ColourSet::SliderC_ValueChanged() {
    InkChanged(InkCyan);
}
void ColourSet::SliderM_ValueChanged() {
    InkChanged(InkMagenta);
}
void ColourSet::SliderY_ValueChanged() {
    InkChanged(InkYellow);
}
void ColourSet::SliderK_ValueChanged() {
    InkChanged(InkBlack);
}
void ColourSet::EFCyan_TextChange() {
    InkTyped(InkCyan);
}
void ColourSet::EFMagenta_TextChange() {
    InkTyped(InkMagenta);
}
void ColourSet::EFYellow_TextChange() {
    InkTyped(InkYellow);
}
void ColourSet::EFBlack_TextChange() {
    InkTyped(InkBlack);
}
bool ColourSet::EFCyan_KeyDown(const QString&) {
    return InkKeyDown();
}
bool ColourSet::EFMagenta_KeyDown(const QString&) {
    return InkKeyDown();
}
bool ColourSet::EFYellow_KeyDown(const QString&) {
    return InkKeyDown();
}
bool ColourSet::EFBlack_KeyDown(const QString&) {
    return InkKeyDown();
}

void ColourSet::PushButton1_Action() {
    Close();
}

void ColourSet::Event_Close() {
    // The colour is kept however the dialog closes: there is no Cancel.
    Module1::pncCyan = Part(InkCyan);
    Module1::pncMagenta = Part(InkMagenta);
    Module1::pncYellow = Part(InkYellow);
    Module1::pncBlack = Part(InkBlack);
    Module1::Rcolour =
        ColourString(Module1::pncCyan, Module1::pncMagenta, Module1::pncYellow, Module1::pncBlack);
}
