// Reading a JPEG's colour planes as the file stores them, without converting the picture to 32-bit colour:
// a 600-dpi A4 colour scan is held in 52 MB instead of 139.
#pragma once

#include "core/PictureDecoders.h"

#include <QByteArrayView>
#include <optional>

namespace backdrop {

// A JPEG in YCbCr with three components whose colour planes are sampled at the full size or halved across,
// down or both (what cameras, scanners and Qt write), decoded into DecodedPicture::planes with its
// resolution, or refused as damaged, cut short or too large as DecodePicture refuses a picture. Nothing for
// any other file or JPEG (grey, CMYK, RGB, other sampling), which Qt's reader decodes.
std::optional<DecodedPicture> DecodeJpegPlanes(QByteArrayView bytes);

} // namespace backdrop
