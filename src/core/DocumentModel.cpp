#include "core/FileTypes.h"
#include "core/Module1.h"
#include "core/ObjectFields.h"
#include "core/QVutils.h"

#include <array>

namespace Module1 {

void InitGlobals() {
    RecHd = platform::VariantArray(15);
    RecPos = platform::VariantTable(128, 15);
    ImageResolution = 300;
    NumPic = "\"##########.0;##########.0;##########\"";
    NumPic2 = "\"#############\"";
    ModNme = QStringList(11);
    QVutils::EPSjpgResolution = 200;
}

void ResetGlobals() {
    globals = Globals{};
    QVutils::globals = QVutils::Globals{};
    FileTypes::Init();
}

void FillModNames() {
    const char* names[] = {"None",
                           "Mod 7",
                           "Mod 7 Remainder",
                           "Mod 9",
                           "Mod 9 Remainder",
                           "Mod 10",
                           "Mod 10 Remainder",
                           "EAN Mod 10 weighted"};
    if (ModNme.size() < 11)
        ModNme.resize(11);
    for (int k = 0; k < 8; ++k)
        ModNme[k] = QString::fromLatin1(names[k]);
}

void ReleaseGlobals() {
    ps.reset();
    TheBackdrop = Backdrop{};
}

void ClearDocument() {
    FitToPage = false;
    PageResolution = 100;
    TotalObjects = 0;
    CurrentObject = -1;

    AdocHeight = 297;
    AdocWidth = 210;
    AFileName.clear();
    AinTag = 0;
    Aqty = 0;
    Astart = 0;
    AstepD = 1;
    AstepDV = 0;
    AstepR = 1;
    AstepRV = 0;
    AsigWidth = 210;
    AsigHeight = 297;

    EPSfilename.clear();
    EPSpathName.clear();
    QVutils::EPSBoundBoxX = 0;
    QVutils::EPSBoundBoxY = 0;
    EPSscaleX = 100;
    EPSscaleY = 100;
    EPSmaskX = EPSmaskY = EPSmaskWidth = EPSmaskHeight = 0;
    EPSuseForms = false;
    QVutils::EPS = false;
    TheBackdrop.SetPicture(nullptr);

    MirrorDefaults();
    // The colour parts follow the default colour too; left as they were, a new object's display colour
    // would come from whatever colour was last parsed (white at start-up: invisible numbers).
    ParseColour(Rcolour);
    DirtyFlag = false;
}

namespace {
// The typed mirrors of header slots 0 to 11, in slot order.
const std::array<Mirror, 12>& HeaderMirrors() {
    static const std::array<Mirror, 12> mirrors{&AFileName,  &AdocWidth, &AdocHeight, &AsigWidth,
                                                &AsigHeight, &AstepR,    &AstepRV,    &AstepD,
                                                &AstepDV,    &AinTag,    &Astart,     &Aqty};
    return mirrors;
}
} // namespace

void HeaderMirrorFromRecord() {
    for (int slot = 0; slot < 12; ++slot)
        SetMirror(HeaderMirrors()[slot], RecHd(slot));
}

void HeaderRecordFromMirror() {
    for (int slot = 0; slot < 12; ++slot)
        RecHd(slot) = MirrorValue(HeaderMirrors()[slot]);
}

double mms(double mm) {
    return (double(PageResolution) / 25.4) * mm;
}

double PixToMMs(std::int32_t px) {
    return (double(px) / double(PageResolution)) * 25.4;
}

std::int32_t FindObject(double x1, double y1, double x2, double y2) {
    for (std::int32_t i = 0; i < TotalObjects; ++i) {
        // X goes through the whole-number conversion, Y keeps its fraction.
        const double x = double(RecPos(i, 1).Int32Value());
        const double y = RecPos(i, 2).DoubleValue();
        if (x >= x1 - 10 && x <= x2 + 10 && y >= y1 - 10 && y <= y2 + 10)
            return i;
    }
    return -1;
}

} // namespace Module1
