// The main window's frame and its control table, in creation order (later controls lie above).
#include "editor/Window1.h"

#include "core/AppPictures.h"
#include "core/ObjectFields.h"
#include "dialogs/Help1.h"
#include "editor/MenuBar1.h"
#include "platform/Controls.h"

using namespace platform;
using K = ControlKind;

namespace {

// The object list's help tag is the help window's text (how pictures, fonts and angles work).
QString ObjectListHelp() {
    QString text = Help1::StoredText();
    text.chop(1); // the last line's carriage return
    return text;
}

const QString ObjectScrollerHelp =
    "Object Scroller\r\rClick up or down to scroll through the list of objects";

// Rows are the row tag ("A" text, "N" number; never shown), the caption and the value.
QStringList ObjectRows() {
    QStringList rows;
    for (int f = 0; f < Module1::PropertyFields; ++f)
        rows << Module1::ObjectListRow(f);
    return rows;
}
const QStringList ParameterRows = {
    "A\tFileName",
    "N\tDocument Width\t210",
    "N\tDocument Height\t297",
    "N\tSignature Width\t210",
    "N\tSignature Height\t297",
    "N\tStep Across\t1",
    "N\tStep Across Distance\t0",
    "N\tStep Down\t1",
    "N\tStep Down Distance\t0",
    "N\tInsert Tag\t0",
};

constexpr int All = LockLeft | LockTop | LockRight | LockBottom;

const ControlDesc Controls[] = {
    {.name = "RoundRectangle1",
     .kind = K::RoundRectangle,
     .left = 2,
     .top = 16,
     .width = 220,
     .height = 40,
     .fillColor = RGB(255, 255, 128),
     .borderColor = RGB(0, 0, 0),
     .borderWidth = 0,
     .ovalWidth = 10,
     .ovalHeight = 16},
    {.name = "CBback",
     .kind = K::CheckBox,
     .left = 10,
     .top = 164,
     .width = 202,
     .height = 20,
     .caption = "Backward Number"},
    {.name = "ListBox1",
     .kind = K::ListBox,
     .left = 10,
     .top = 453,
     .width = 202,
     .height = 203,
     .helpTag = ObjectListHelp(),
     .columnCount = 3,
     .columnWidths = "0,100,100",
     .rows = ObjectRows(),
     .rowHeight = 18},
    {.name = "Canvas1",
     .kind = K::Canvas,
     .left = 263,
     .top = 43,
     .width = 734,
     .height = 641,
     .locks = All,
     .eraseBackground = false,
     .acceptFocus = false},
    {.name = "ListBox2",
     .kind = K::ListBox,
     .left = 10,
     .top = 213,
     .width = 202,
     .height = 187,
     .columnCount = 3,
     .columnWidths = "0,120,80",
     .rows = ParameterRows,
     .rowHeight = 18},
    {.name = "StaticText1",
     .kind = K::Label,
     .left = 10,
     .top = 191,
     .width = 195,
     .height = 20,
     .caption = "Document/Signature Parameters:",
     .align = TextAlign::Left},
    {.name = "CurX",
     .kind = K::EditField,
     .left = 26,
     .top = 412,
     .width = 78,
     .height = 22,
     .align = TextAlign::Left},
    {.name = "CurY",
     .kind = K::EditField,
     .left = 132,
     .top = 412,
     .width = 78,
     .height = 22,
     .align = TextAlign::Left},
    {.name = "ScrollBar1",
     .kind = K::ScrollBar,
     .left = 263,
     .top = 685,
     .width = 734,
     .height = 16,
     .locks = LockLeft | LockRight | LockBottom},
    {.name = "ScrollBar2",
     .kind = K::ScrollBar,
     .left = 997,
     .top = 21,
     .width = 16,
     .height = 663,
     .locks = LockTop | LockRight | LockBottom},
    {.name = "Canvas2",
     .kind = K::Canvas,
     .left = 263,
     .top = 21,
     .width = 734,
     .height = 22,
     .locks = LockLeft | LockTop | LockRight},
    {.name = "Canvas3",
     .kind = K::Canvas,
     .left = 242,
     .top = 43,
     .width = 21,
     .height = 641,
     .locks = LockLeft | LockTop | LockBottom},
    {.name = "EdStart", .kind = K::EditField, .left = 132, .top = 63, .width = 80, .height = 22},
    {.name = "EdQty", .kind = K::EditField, .left = 132, .top = 91, .width = 80, .height = 22},
    {.name = "StaticText7",
     .kind = K::Label,
     .left = 10,
     .top = 63,
     .width = 100,
     .height = 20,
     .caption = "Start Number:"},
    {.name = "StaticText8",
     .kind = K::Label,
     .left = 10,
     .top = 92,
     .width = 100,
     .height = 20,
     .caption = "Quantity:"},
    {.name = "StaticText9",
     .kind = K::Label,
     .left = 10,
     .top = 412,
     .width = 14,
     .height = 22,
     .caption = "X",
     .fontSize = 16,
     .bold = true},
    {.name = "StaticText10",
     .kind = K::Label,
     .left = 114,
     .top = 412,
     .width = 14,
     .height = 22,
     .caption = "Y",
     .fontSize = 16,
     .bold = true},
    {.name = "StatNumObj",
     .kind = K::Label,
     .left = 10,
     .top = 434,
     .width = 200,
     .height = 20,
     .fontSize = 10,
     .align = TextAlign::Right},
    {.name = "BtFit",
     .kind = K::BevelButton,
     .left = 145,
     .top = 21,
     .width = 30,
     .height = 30,
     .caption = "Fit",
     .parent = "RoundRectangle1",
     .align = TextAlign::Center},
    {.name = "ListSelect",
     .kind = K::LittleArrows,
     .left = 217,
     .top = 458,
     .width = 13,
     .height = 23,
     .helpTag = ObjectScrollerHelp},
    {.name = "BtnDelObj",
     .kind = K::BevelButton,
     .left = 10,
     .top = 664,
     .width = 100,
     .height = 22,
     .caption = "Delete Object",
     .align = TextAlign::Center},
    {.name = "EdNup",
     .kind = K::EditField,
     .left = 132,
     .top = 132,
     .width = 80,
     .height = 22,
     .enabled = false},
    {.name = "StaticText11",
     .kind = K::Label,
     .left = 137,
     .top = 114,
     .width = 75,
     .height = 20,
     .caption = "N up =",
     .align = TextAlign::Center},
    {.name = "StaticText12",
     .kind = K::Label,
     .left = 10,
     .top = 132,
     .width = 118,
     .height = 20,
     .caption = "Number of shts:"},
    {.name = "Numtool",
     .kind = K::BevelButton,
     .left = 13,
     .top = 21,
     .width = 30,
     .height = 30,
     .parent = "RoundRectangle1",
     .helpTag = "Add Object tool",
     .value = 0,
     .sticky = true},
    {.name = "ImageWell1",
     .kind = K::ImageWell,
     .left = 242,
     .top = 21,
     .width = 22,
     .height = 22,
     .locks = LockLeft | LockTop},
    {.name = "TextTool",
     .kind = K::BevelButton,
     .left = 48,
     .top = 21,
     .width = 30,
     .height = 30,
     .parent = "RoundRectangle1",
     .helpTag = "Select Object Tool",
     .value = 1,
     .sticky = true},
    {.name = "MagEn",
     .kind = K::BevelButton,
     .left = 111,
     .top = 21,
     .width = 30,
     .height = 30,
     .parent = "RoundRectangle1"},
    {.name = "MagR1",
     .kind = K::BevelButton,
     .left = 180,
     .top = 21,
     .width = 30,
     .height = 30,
     .parent = "RoundRectangle1"},
    {.name = "ImageWell2", .kind = K::ImageWell, .left = 176, .top = 665, .width = 36, .height = 36},
    {.name = "PushButton1",
     .kind = K::PushButton,
     .left = 147,
     .top = 164,
     .width = 65,
     .height = 20,
     .caption = "BackDrop",
     .parent = "CBback",
     .fontSize = 10},
};

} // namespace

Window1::Window1() {
    Layout();
    CreateControls();
    AddMenuHandlers();
}

void Window1::Layout() {
    SetMenuBar(&SharedMenuBar<MenuBar1>());
    ApplyDesc({.title = "Tallio",
               .width = 1024,
               .height = 710,
               .minWidth = 1024,
               .minHeight = 710,
               .maxWidth = 32000,
               .maxHeight = 32000,
               .resizeable = true,
               .frame = WindowFrame::Document});
}

void Window1::CreateControls() {
    Window::CreateControls(Controls);
    // The kept pictures themselves, so every window that shows one shows the same object.
    Numtool().SetIcon(QVicon1());
    TextTool().SetIcon(QVicon2());
    MagEn().SetIcon(QVicon3());
    MagR1().SetIcon(QVicon4());
    ImageWell1().SetImage(ZOrer2());
    ImageWell2().SetImage(ZOrer3());
    AttachPageView();
    AttachLists();
    AttachPageInteraction();
}
