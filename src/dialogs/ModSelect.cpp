// The method selector's frame, controls, its list of method names and the hand-over to the main window.
#include "dialogs/ModSelect.h"

#include "core/AppPictures.h"
#include "core/Module1.h"
#include "editor/Window1.h"

#include "platform/Controls.h"
#include "platform/Numbers.h"

using namespace platform;
using K = ControlKind;

namespace {

const WindowDesc kWindow{
    .title = "Modulas selector",
    .width = 205,
    .height = 257,
    .resizeable = true,
    .frame = WindowFrame::MovableModal,
    .closeButton = true,
    .minimizeButton = true,
    .maximizeButton = true,
};

constexpr int kMethods = 8; // the methods that the number text computes, 0 to 7

const ControlDesc kControls[] = {
    // Column 0 holds the method index, hidden; column 1 its name.
    {.name = "ListBox1",
     .kind = K::ListBox,
     .left = 10,
     .top = 46,
     .width = 182,
     .height = 165,
     .columnCount = 2,
     .columnWidths = "0,200",
     .hasHeading = false,
     .scrollVertical = true,
     .scrollHorizontal = false},
    {.name = "Cancel1",
     .kind = K::PushButton,
     .left = 32,
     .top = 219,
     .width = 69,
     .height = 22,
     .caption = "Cancel",
     .isDefault = false,
     .isCancel = false},
    {.name = "OK1",
     .kind = K::PushButton,
     .left = 113,
     .top = 219,
     .width = 69,
     .height = 22,
     .caption = "OK",
     .isDefault = false,
     .isCancel = false},
    {.name = "Canvas1",
     .kind = K::Canvas,
     .left = 10,
     .top = 6,
     .width = 36,
     .height = 34,
     .acceptFocus = false},
};

} // namespace

ModSelect::ModSelect() {
    ApplyDesc(kWindow);
    CreateControls(kControls);
    Canvas1().SetBackdrop(ZOrer3());
    ListBox1().DoubleClick = [this] { ListBox1_DoubleClick(); };
    Cancel1().Action = [this] { Cancel1_Action(); };
    OK1().Action = [this] { OK1_Action(); };
}

void ModSelect::Event_Open() {
    ListBox& list = ListBox1();
    list.DeleteAllRows();
    for (int i = 0; i < kMethods; ++i) {
        list.AddRow(Str(i));
        list.SetCell(i, 1, Module1::ModNme.value(i));
    }
}

void ModSelect::OK1_Action() {
    const ListBox& list = ListBox1();
    if (!list.Text().isEmpty()) {
        Window1& main = SharedInstance<Window1>();
        const int row = list.ListIndex();
        main.ModType = Int(Val(list.Cell(row, 0)));
        main.ModName = list.Cell(row, 0) + ", " + list.Cell(row, 1);
    }
    Close();
}

void ModSelect::ListBox1_DoubleClick() {
    OK1_Action();
}

void ModSelect::Cancel1_Action() {
    Close();
}
