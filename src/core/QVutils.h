// The backdrop picture reader's globals: what the last picture file read was and its size and origin.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

namespace platform {
class FolderItem;
class Picture;
} // namespace platform

namespace QVutils {

// Reset with Module1::ResetGlobals.
struct Globals {
    bool EPS = false;        // the last file read was an EPS
    double EPSBoundBoxX = 0; // mm, horizontal origin offset
    double EPSBoundBoxY = 0; // mm, vertical origin offset
    double EPSbbWidth = 0;   // mm
    double EPSbbHeight = 0;  // mm
    QString EPStitle;
    std::int32_t EPSjpgResolution = 200; // dpi given to pictures that report 72 dpi
};
inline Globals globals;

inline auto& EPS = globals.EPS;
inline auto& EPSBoundBoxX = globals.EPSBoundBoxX;
inline auto& EPSBoundBoxY = globals.EPSBoundBoxY;
inline auto& EPSbbWidth = globals.EPSbbWidth;
inline auto& EPSbbHeight = globals.EPSbbHeight;
inline auto& EPStitle = globals.EPStitle;
inline auto& EPSjpgResolution = globals.EPSjpgResolution;

// Whole PostScript points to millimetres.
double PntTOmms(std::int32_t points);

// Reads a backdrop picture file and sets the globals above; null when there is none to show. A file that
// cannot be read is told to the user.
std::shared_ptr<platform::Picture> OpenAsEPSpict(const std::shared_ptr<platform::FolderItem>& f);

} // namespace QVutils
