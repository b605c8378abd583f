#include "core/FileTypes.h"
#include "core/Module1.h"
#include "core/ObjectFields.h"
#include "core/QVutils.h"

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

void HeaderMirrorFromRecord() {
    AFileName = RecHd(0).StringValue();
    AdocWidth = RecHd(1).DoubleValue();
    AdocHeight = RecHd(2).DoubleValue();
    AsigWidth = RecHd(3).DoubleValue();
    AsigHeight = RecHd(4).DoubleValue();
    AstepR = RecHd(5).Int32Value();
    AstepRV = RecHd(6).DoubleValue();
    AstepD = RecHd(7).Int32Value();
    AstepDV = RecHd(8).DoubleValue();
    AinTag = RecHd(9).Int32Value();
    Astart = RecHd(10).DoubleValue();
    Aqty = RecHd(11).Int32Value();
}

void HeaderRecordFromMirror() {
    RecHd(0) = AFileName;
    RecHd(1) = AdocWidth;
    RecHd(2) = AdocHeight;
    RecHd(3) = AsigWidth;
    RecHd(4) = AsigHeight;
    RecHd(5) = AstepR;
    RecHd(6) = AstepRV;
    RecHd(7) = AstepD;
    RecHd(8) = AstepDV;
    RecHd(9) = AinTag;
    RecHd(10) = Astart;
    RecHd(11) = Aqty;
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
