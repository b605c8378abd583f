// The font selector's frame, controls, and the hand-over of family and style to the main window.
#include "dialogs/Font1.h"

#include "editor/Window1.h"

#include "platform/Controls.h"
#include "platform/Fonts.h"

using namespace platform;
using K = ControlKind;

namespace {

const WindowDesc kWindow{
    .title = "Font Selector",
    .width = 212,
    .height = 361,
    .resizeable = true,
    .frame = WindowFrame::MovableModal,
    .closeButton = true,
    .minimizeButton = true,
    .maximizeButton = true,
};

ControlDesc StyleButton(const char* name, const char* caption, int left, int top, int width, bool bold,
                        bool italic) {
    return {.name = name,
            .kind = K::RadioButton,
            .left = left,
            .top = top,
            .width = width,
            .height = 20,
            .caption = caption,
            .parent = "Style",
            .bold = bold,
            .italic = italic};
}

std::vector<ControlDesc> ControlTable() {
    auto radio4 = StyleButton("RadioButton4", "Bold Italic", 90, 57, 94, true, true);
    radio4.locks = LockTop | LockLeft;
    auto radio1 = StyleButton("RadioButton1", "Normal", 13, 32, 74, false, false);
    radio1.value = 1;
    return {
        {.name = "ListBox1",
         .kind = K::ListBox,
         .left = 13,
         .top = 91,
         .width = 186,
         .height = 217,
         .locks = LockLeft | LockTop | LockRight | LockBottom,
         .columnCount = 1,
         .hasHeading = false,
         .scrollVertical = true,
         .scrollHorizontal = false},
        {.name = "Cancel1",
         .kind = K::PushButton,
         .left = 49,
         .top = 320,
         .width = 69,
         .height = 22,
         .caption = "Cancel",
         .locks = LockRight | LockBottom,
         .isDefault = false,
         .isCancel = false},
        {.name = "OK1",
         .kind = K::PushButton,
         .left = 130,
         .top = 320,
         .width = 69,
         .height = 22,
         .caption = "OK",
         .locks = LockRight | LockBottom,
         .isDefault = false,
         .isCancel = false},
        {.name = "Style",
         .kind = K::GroupBox,
         .left = 7,
         .top = 9,
         .width = 192,
         .height = 70,
         .caption = "Style"},
        radio1,
        StyleButton("RadioButton2", "Bold", 13, 57, 74, true, false),
        StyleButton("RadioButton3", "Italic", 90, 32, 80, false, true),
        radio4,
    };
}

// The style word each radio button stands for; the caption of the last has a blank, its word has none.
struct StyleChoice {
    const char* button;
    const char* word;
};
const StyleChoice kStyles[] = {
    {"RadioButton1", "Normal"},
    {"RadioButton2", "Bold"},
    {"RadioButton3", "Italic"},
    {"RadioButton4", "BoldItalic"},
};

} // namespace

Font1::Font1() {
    ApplyDesc(kWindow);
    CreateControls(ControlTable());
    ListBox1().DoubleClick = [this] { ListBox1_DoubleClick(); };
    Cancel1().Action = [this] { Cancel1_Action(); };
    OK1().Action = [this] { OK1_Action(); };
}

void Font1::Event_Open() {
    const Window1& main = SharedInstance<Window1>();
    // A style that is none of the four words leaves "Normal" on.
    for (const StyleChoice& s : kStyles)
        if (main.CurrentStyle == QLatin1String(s.word))
            ControlNamed<RadioButton>(s.button)->SetValue(true);

    ListBox& list = ListBox1();
    const int count = FontCount();
    const QString current = FamilyName(main.CurrentFont);
    for (int i = 0; i < count; ++i) {
        list.AddRow(Font(i));
        if (current == Font(i))
            list.SetSelected(list.LastIndex(), true);
    }
    // The selection moves with its row, so the current family stays highlighted in sorted order; a few
    // rows above it stay in sight, so it shows with its neighbours.
    list.SetSortedColumn(0);
    list.Sort();
    if (list.ListIndex() >= 0)
        list.SetScrollPosition(std::max(0, list.ListIndex() - 3));
}

void Font1::HandBack() {
    Window1& main = SharedInstance<Window1>();
    const QString family = ListBox1().Text();
    if (!family.isEmpty())
        main.CurrentFont = family;
    for (const StyleChoice& s : kStyles)
        if (ControlNamed<RadioButton>(s.button)->Value()) {
            main.CurrentStyle = s.word;
            break;
        }
    Close();
}

void Font1::OK1_Action() {
    HandBack();
}

void Font1::ListBox1_DoubleClick() {
    HandBack();
}

void Font1::Cancel1_Action() {
    Close();
}
