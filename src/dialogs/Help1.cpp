// The help window's frame, controls and Close button.
#include "dialogs/Help1.h"

#include "core/AppPictures.h"

#include "platform/Controls.h"
#include <array>

using namespace platform;

namespace {

const WindowDesc kWindow{
    .title = "Help",
    .width = 434,
    .height = 375,
    .resizeable = true,
    .frame = WindowFrame::Document,
    .closeButton = true,
    .minimizeButton = true,
    .maximizeButton = false,
};

// Font size 0 keeps the platform's default size.
std::array<ControlDesc, 3> ControlTable() {
    return {{
        {.name = "EditField1",
         .kind = ControlKind::EditField,
         .left = 30,
         .top = 33,
         .width = 374,
         .height = 277,
         .caption = Help1::StoredText(),
         .locks = LockLeft | LockTop | LockRight | LockBottom,
         .fontSize = 0,
         .textColor = RGB(0, 0, 0),
         .scrollVertical = true,
         .multiline = true,
         .readOnly = false,
         .border = true},
        {.name = "Canvas1",
         .kind = ControlKind::Canvas,
         .left = 33,
         .top = 322,
         .width = 36,
         .height = 34,
         .locks = LockLeft | LockBottom},
        {.name = "PushButton1",
         .kind = ControlKind::PushButton,
         .left = 325,
         .top = 329,
         .width = 80,
         .height = 20,
         .caption = "Close",
         .locks = LockRight | LockBottom,
         .fontSize = 0,
         .isDefault = false,
         .isCancel = false},
    }};
}

} // namespace

Help1::Help1() {
    ApplyDesc(kWindow);
    const auto table = ControlTable();
    CreateControls(table);
    Canvas1().SetBackdrop(ZOrer3());
    PushButton1().Action = [this] { PushButton1_Action(); };
}

Help1& Help1::ShowShared() {
    Help1& w = SharedInstance<Help1>();
    w.Show();
    return w;
}

void Help1::PushButton1_Action() {
    Close();
}
