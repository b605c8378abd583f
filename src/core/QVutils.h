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

inline bool EPS = false;        // the last file read was an EPS
inline double EPSBoundBoxX = 0; // mm, horizontal origin offset
inline double EPSBoundBoxY = 0; // mm, vertical origin offset
inline double EPSbbWidth = 0;   // mm
inline double EPSbbHeight = 0;  // mm
inline QString EPStitle;
inline std::int32_t EPSjpgResolution = 200; // dpi given to pictures that report 72 dpi

// Whole PostScript points to millimetres.
double PntTOmms(std::int32_t points);

// Reads a backdrop picture file and sets the globals above; null when there is none to show. A file that
// cannot be read is told to the user.
std::shared_ptr<platform::Picture> OpenAsEPSpict(const std::shared_ptr<platform::FolderItem>& f);

} // namespace QVutils
