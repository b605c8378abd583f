#include "core/FileTypes.h"

namespace FileTypes {

void Init() {
    pText = {"text", "", "TEXT", "R*ch"};
    pTallio = {"Numbers", ".num", "TEXT", "VEva"};
    pQVEPS = {"EPS", ".eps", "????", "????"};
    pImageTiff = {"Tiff Images", ".tif;.tiff", "????", "????"};
    pImages = {"Other Images", ".pct; .eps; .pdf", "????", "????"};
    pImageJpg = {"Jpeg Images", ".jpg;.jpeg", "????", "????"};
    pZOrerImages = {"ZOrer Images", ".eps;.tif;.tiff;.pct;.pdf;.jpg;.jpeg;.psd;.bmp",
                    "BMP;TIFF;EPSF;PCT;PSD;JPEG", ""};
}

const platform::FileType& ZOrerImages() {
    return pZOrerImages;
}

} // namespace FileTypes
