#include "core/Module1.h"
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
