// The property lists: the object list (the current object's fields, with selectors for the method, font
// and colour) and the parameter list (page size and step-and-repeat grid, signature computed).
#include "editor/Window1.h"

#include "core/Module1.h"
#include "dialogs/ColourSet.h"
#include "dialogs/Font1.h"
#include "dialogs/ModSelect.h"
#include "editor/RecordTransfer.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"

#include <algorithm>

using namespace platform;
using namespace Module1;

namespace {

// A number confirmed in a number row shows as plain number text ("50,000" as 50000). Text that is no
// number is left as typed for the commit that follows to refuse.
void NormaliseNumberCell(ListBox& list, int row, int column) {
    if (list.Cell(row, 0) != "N")
        return;
    if (const std::optional<double> v = TypedNumber(list.Cell(row, column)))
        list.SetCell(row, column, Str(*v));
}

} // namespace

void Window1::AttachLists() {
    auto& objects = ListBox1();
    objects.Open = [this] { ListBox1_Open(); };
    objects.CellClick = [this](int row, int column, int x, int y) {
        return ListBox1_CellClick(row, column, x, y);
    };
    objects.CellLostFocus = [this](int row, int column) { ListBox1_CellLostFocus(row, column); };
    objects.CellAction = [this](int row, int column) { ListBox1_CellAction(row, column); };
    objects.CellKeyDown = [this](int row, int column, const QString& key) {
        return ListBox1_CellKeyDown(row, column, key);
    };

    auto& parameters = ListBox2();
    parameters.Open = [this] { ListBox2_Open(); };
    parameters.MouseDown = [this](int x, int y) { return ListBox2_MouseDown(x, y); };
    parameters.CellBackgroundPaint = [this](Graphics& g, int row, int column) {
        return ListBox2_CellBackgroundPaint(g, row, column);
    };
    parameters.Change = [this] { ListBox2_Change(); };
    parameters.CellLostFocus = [this](int row, int column) { ListBox2_CellLostFocus(row, column); };
    parameters.CellAction = [this](int row, int column) { ListBox2_CellAction(row, column); };
    parameters.CellKeyDown = [this](int row, int column, const QString& key) {
        return ListBox2_CellKeyDown(row, column, key);
    };
    parameters.CellGotFocus = [this](int row, int column) { ListBox2_CellGotFocus(row, column); };

    auto& start = EdStart();
    start.TextChange = [this] { EdStart_TextChange(); };
    start.LostFocus = [this] { EdStart_LostFocus(); };
    start.KeyDown = [this](const QString& key) { return EdStart_KeyDown(key); };
    auto& quantity = EdQty();
    quantity.TextChange = [this] { EdQty_TextChange(); };
    quantity.LostFocus = [this] { EdQty_LostFocus(); };
    quantity.KeyDown = [this](const QString& key) { return EdQty_KeyDown(key); };
    EdNup().TextChange = [this] { EdNup_TextChange(); };
    CBback().Action = [this] { CBback_Action(); };
    BtFit().Action = [this] { BtFit_Action(); };
    auto& scroller = ListSelect();
    scroller.Up = [this] { ListSelect_Up(); };
    scroller.Down = [this] { ListSelect_Down(); };
    BtnDelObj().Action = [this] { BtnDelObj_Action(); };
}

void Window1::ListBox1_Open() {
    ListBox1().SetColumnType(1, ListBox::TypeNormal);
}

// The clicked row's value becomes editable; the method, font and colour rows open their selector and
// take its result back into the list and the current object. The font and colour rows end with no row
// selected, the method row selected; their click is not passed on, since it would select the row and
// open an inline editor over the value just chosen.
bool Window1::ListBox1_CellClick(int row, int, int, int) {
    ListBox& list = ListBox1();
    CellClicked = true;
    list.SetCellType(row, 2, ListBox::TypeEditable);
    const QString label = list.Cell(row, 1);
    // A value chosen in a dialog is a change to the document, as typing one is.
    auto values = [&list] {
        QStringList v;
        for (int r = 0; r < list.ListCount(); ++r)
            v << list.Cell(r, 2);
        return v;
    };
    const QStringList before = values();
    bool swallowed = false;
    if (label == "Font Family") {
        CurrentFont = list.Cell(row, 2);
        CurrentStyle = list.Cell(row + 1, 2);
        ShowFontDialog();
        list.SetCell(row, 2, CurrentFont);
        list.SetCell(row + 1, 2, CurrentStyle);
        list.SetListIndex(-1);
        swallowed = true;
        ListUpdate();
    }
    if (label == "Font Style") {
        CurrentFont = list.Cell(row - 1, 2);
        CurrentStyle = list.Cell(row, 2);
        ShowFontDialog();
        list.SetCell(row - 1, 2, CurrentFont);
        list.SetCell(row, 2, CurrentStyle);
        list.SetListIndex(-1);
        swallowed = true;
        ListUpdate();
    }
    if (label == "Mod Type") {
        // The selector hands back ModName only for an accepted choice; otherwise the cell keeps its own.
        // The row stays selected, with no editor on it: the method changes only by a choice.
        ModName = list.Cell(row, 2);
        ModType = Int(Val(ModName));
        ShowMethodDialog();
        list.SetCell(row, 2, ModName);
        list.SetListIndex(row);
        swallowed = true;
        ListUpdate();
    }
    if (label == "Colour") {
        ShowColourDialog();
        list.SetCell(row, 2, Rcolour);
        NumColour(CurrentObject);
        list.SetListIndex(-1);
        swallowed = true;
        ListUpdate();
    }
    if (values() != before)
        DirtyFlag = true;
    return swallowed;
}

// The finished edit is committed into the current object and the row is let go.
void Window1::ListBox1_CellLostFocus(int row, int) {
    if (!CellClicked)
        return;
    ListBox& list = ListBox1();
    list.SetCellType(row, 2, ListBox::TypeDefault);
    CommitObjectCell(row);
    list.SetListIndex(-1);
    list.SetSelected(row, false);
    Refresh(false);
}

void Window1::ListBox1_CellAction(int row, int column) {
    NormaliseNumberCell(ListBox1(), row, column);
}

bool Window1::ListBox1_CellKeyDown(int, int, const QString&) {
    return false;
}

// Only the page size and step counts are typed in; the signature and distances are computed.
void Window1::ListBox2_Open() {
    ListBox& list = ListBox2();
    list.SetColumnType(2, ListBox::TypeEditable);
    for (int row : {3, 4, 6, 8})
        list.SetCellType(row, 2, ListBox::TypeNormal);
}

// Clicks on the rows that show values only are swallowed, so they neither select nor edit.
bool Window1::ListBox2_MouseDown(int x, int y) {
    const int row = ListBox2().RowFromXY(x, y);
    return row == 0 || row == 3 || row == 4 || row == 6 || row == 8 || row == 9;
}

bool Window1::ListBox2_CellBackgroundPaint(Graphics& g, int row, int) {
    g.ForeColor = IsEditableParameter(row) ? RGB(255, 255, 255) : RGB(240, 230, 230);
    g.FillRect(0, 0, g.Width(), g.Height());
    return false;
}

// A page size or step count takes effect as soon as its edit ends, as on a change of row.
void Window1::ListBox2_CellLostFocus(int row, int) {
    CommitParameterCell(row);
}

void Window1::ListBox2_CellAction(int row, int column) {
    NormaliseNumberCell(ListBox2(), row, column);
}

bool Window1::ListBox2_CellKeyDown(int, int, const QString&) {
    return false;
}

void Window1::ListBox2_CellGotFocus(int, int) {}

// With more than one cell on an axis, cells abut: the step is one page and the signature the page
// times the count. A grid needs at least one cell each way, so smaller counts are taken as 1.
void Window1::StepSignature() {
    AstepR = std::max(AstepR, 1);
    AstepD = std::max(AstepD, 1);
    AstepRV = AstepR > 1 ? AdocWidth : 0;
    AsigWidth = AstepR > 1 ? AstepRV * AstepR : AdocWidth;
    AstepDV = AstepD > 1 ? AdocHeight : 0;
    AsigHeight = AstepD > 1 ? AstepDV * AstepD : AdocHeight;
}

// The selectors opened from the object list's rows; each hands its result back through the window's
// properties or the document globals.
void Window1::ShowFontDialog() {
    SharedInstance<Font1>().ShowModal();
}
void Window1::ShowMethodDialog() {
    SharedInstance<ModSelect>().ShowModal();
}
void Window1::ShowColourDialog() {
    SharedInstance<ColourSet>().ShowModal();
}
