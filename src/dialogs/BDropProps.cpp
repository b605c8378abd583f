// The backdrop dialog's behaviour: field edits, the buttons, loading and removing the picture, and the
// information box.
#include "dialogs/BDropProps.h"

#include "core/FileTypes.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "core/ValueRules.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/FolderItem.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"

#include <vector>

using namespace platform;
using namespace Module1;

namespace {

const QString EndOfLine = "\n";

Window1& MainWindow() {
    return SharedInstance<Window1>();
}

// What the picture reader sets, kept so that a failed read can leave the backdrop as it was.
struct ReaderState {
    bool eps = QVutils::EPS;
    double boundBoxX = QVutils::EPSBoundBoxX, boundBoxY = QVutils::EPSBoundBoxY;
    double bbWidth = QVutils::EPSbbWidth, bbHeight = QVutils::EPSbbHeight;
    QString title = QVutils::EPStitle;

    void Restore() const {
        QVutils::EPS = eps;
        QVutils::EPSBoundBoxX = boundBoxX;
        QVutils::EPSBoundBoxY = boundBoxY;
        QVutils::EPSbbWidth = bbWidth;
        QVutils::EPSbbHeight = bbHeight;
        QVutils::EPStitle = title;
    }
};

// The fields that hold a number of the backdrop's placement, the global each shows and what it takes.
struct NumberField {
    const char* name;
    double* global;
    NumberRule rule;
};

const std::vector<NumberField>& NumberFields() {
    // The mask lies on the page; a mask or scale of no size lets nothing of the picture through.
    static const std::vector<NumberField> fields{
        {"EditField3", &EPSmaskX, PlaceRule("X")},
        {"EditField4", &EPSmaskY, PlaceRule("Y")},
        {"EditField5", &EPSmaskWidth, SizeRule("W")},
        {"EditField6", &EPSmaskHeight, SizeRule("H")},
        {"EditField7", &EPSscaleX, {"X%", {}, 0, 100000, true}},
        {"EditField8", &EPSscaleY, {"Y%", {}, 0, 100000, true}},
        {"EditField9", &QVutils::EPSBoundBoxX, {"X+", "millimetres"}},
        {"EditField10", &QVutils::EPSBoundBoxY, {"Y+", "millimetres"}},
    };
    return fields;
}

// Sets a global the program computed, marking the document modified when it changes.
void Keep(double& global, double value) {
    if (global != value)
        DirtyFlag = true;
    global = value;
}

} // namespace

bool BDropProps::CommitField(const QString& name) {
    for (const NumberField& f : NumberFields())
        if (name == f.name)
            return CommitNumberField(Field(name), *f.global, f.rule);
    return true;
}

bool BDropProps::CommitFields() {
    bool committed = true;
    for (const NumberField& f : NumberFields())
        committed = committed && CommitField(f.name);
    return committed;
}

void BDropProps::RefreshPageView() {
    MainWindow().Canvas1().Refresh(true);
}

void BDropProps::Event_Activate() {
    UpdateInfo();
}

// Typing changes no value yet; the values are committed as the fields lose the focus.
void BDropProps::EditField_TextChange() {
    EPSdirty = true;
}

void BDropProps::EditField9_LostFocus() {
    if (CommitField("EditField9") && CommitField("EditField10"))
        RefreshPageView();
}

void BDropProps::EditField10_LostFocus() {
    EditField9_LostFocus();
}

void BDropProps::CheckBox1_Action() {
    EPSuseForms = CheckBox1().Value();
}

void BDropProps::CheckBox2_Action() {
    NonProp = CheckBox2().Value();
}

void BDropProps::EditField1_Open() {
    Field("EditField1").SetText(Str(QVutils::EPSjpgResolution));
}

void BDropProps::EditField1_LostFocus() {
    // The resolution is the reader's, not the document's: it marks the document only through the
    // placement that reading the picture again resets.
    double typed = QVutils::EPSjpgResolution;
    const NumberRule rule{"ReRez JPGs to", "dots per inch", 1, 10000, false, true};
    if (!CommitNumberField(Field("EditField1"), typed, rule, false))
        return;
    const std::int32_t resolution = Int(typed);
    // Only a new resolution reads the picture again: passing through the field would otherwise throw
    // away the mask, scale and offsets just set.
    const bool changed = resolution != QVutils::EPSjpgResolution;
    QVutils::EPSjpgResolution = resolution;
    if (!changed || EPSpathName.isEmpty())
        return;
    const auto f = GetFolderItem(EPSpathName);
    if (!f || !f->Exists())
        return;
    if (LoadAndReset(f)) {
        UpdateInfo();
        DirtyFlag = true;
    }
}

bool BDropProps::LoadAndReset(const std::shared_ptr<FolderItem>& f) {
    const ReaderState before;
    auto picture = QVutils::OpenAsEPSpict(f);
    if (!picture) {
        // The reader has told the user; the old picture and its placement stay.
        before.Restore();
        return false;
    }
    Window1& main = MainWindow();
    TheBackdrop.SetPicture(std::move(picture));
    EPSpathName = f->AbsolutePath();
    EPSfilename = f->Name();
    main.DrawPage(main.Canvas1().Graphics(), AdocWidth, AdocHeight);
    EPSmaskX = 0;
    EPSmaskY = 0;
    EPSmaskWidth = AdocWidth;
    EPSmaskHeight = AdocHeight;
    EPSscaleX = 100;
    EPSscaleY = 100;
    QVutils::EPSBoundBoxX = 0;
    QVutils::EPSBoundBoxY = 0;
    return true;
}

// A value refused on the way keeps the dialog open, showing the value in use.
void BDropProps::PushButton1_Action() {
    if (!CommitFields())
        return;
    EPSdirty = true;
    RefreshPageView();
    Close();
}

void BDropProps::PushButton2_Action() {
    // With no picture size there is nothing to fit to; the scale stays.
    if (!(QVutils::EPSbbWidth > 0 && QVutils::EPSbbHeight > 0))
        return;
    const double sh = AdocHeight / QVutils::EPSbbHeight;
    const double sw = AdocWidth / QVutils::EPSbbWidth;
    if (NonProp) {
        Keep(EPSscaleX, sw * 100);
        Keep(EPSscaleY, sh * 100);
    } else {
        const double s = sh <= sw ? sh : sw;
        Keep(EPSscaleX, s * 100);
        Keep(EPSscaleY, s * 100);
    }
    Field("EditField7").SetText(Str(EPSscaleX));
    Field("EditField8").SetText(Str(EPSscaleY));
    RefreshPageView();
}

void BDropProps::PushButton3_Action() {
    // The offsets go through their text, so the fields show exactly what is stored.
    Field("EditField9").SetText(Str((QVutils::EPSbbWidth * (EPSscaleX / 100) - EPSmaskWidth) / 2));
    Field("EditField10").SetText(Str((QVutils::EPSbbHeight * (EPSscaleY / 100) - EPSmaskHeight) / 2));
    Keep(QVutils::EPSBoundBoxX, Val(Field("EditField9").Text()));
    Keep(QVutils::EPSBoundBoxY, Val(Field("EditField10").Text()));
    RefreshPageView();
}

bool BDropProps::BackdropOpen_Action() {
    // The dialog starts beside the picture shown, where the next one most likely is.
    const auto f = GetOpenFolderItem(FileTypes::ZOrerImages(), DialogFolderFor(EPSpathName));
    if (!f)
        return false;
    if (LoadAndReset(f)) {
        UpdateInfo();
        DirtyFlag = true;
    }
    return false;
}

bool BDropProps::BackdropDelete_Action() {
    Window1& main = MainWindow();
    main.Canvas1().SetBackdrop(nullptr);
    TheBackdrop.SetPicture(nullptr);
    QVutils::EPSbbWidth = 0;
    QVutils::EPSbbHeight = 0;
    QVutils::EPSBoundBoxX = 0;
    QVutils::EPSBoundBoxY = 0;
    EPSfilename = "";
    EPSpathName = "";
    DirtyFlag = true;
    UpdateInfo();
    RefreshPageView();
    return false;
}

void BDropProps::UpdateInfo() {
    const auto& bdx = TheBackdrop.Bdx;
    QString type;
    if (QVutils::EPS) {
        type = "FileType = EPS";
    } else {
        type = "FileType = Image (Tiff/jpg/pct/pdf) - depth ";
        if (bdx)
            type += Str(bdx->Depth()) + "Bits - Resolution = " + Str(bdx->HorizontalResolution()) + "dpi";
    }
    auto& info = StaticText3();
    if (bdx) {
        info.SetText("Filename: " + EPSfilename + EndOfLine + type + EndOfLine +
                     "Bounding Box: " + Str(QVutils::EPSbbWidth) + " X " + Str(QVutils::EPSbbHeight) + "mms" +
                     EndOfLine + "Current Location: X = " + Str(QVutils::EPSBoundBoxX) +
                     "  -  Y = " + Str(QVutils::EPSBoundBoxY) + EndOfLine);
    } else {
        info.SetText("Filename: " + EPSfilename);
    }

    for (const NumberField& f : NumberFields())
        Field(f.name).SetText(Str(*f.global));
    CheckBox1().SetValue(EPSuseForms);
}
