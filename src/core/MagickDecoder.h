// Decoding with ImageMagick, for the picture formats Qt has no reader for (PSD, PICT), under resource
// limits the program sets itself.
#pragma once

#include "core/PictureDecoders.h"

namespace backdrop {

// Bits held per pixel at the peak of a Magick decoding, as measured: its 16-bit pixel cache, the
// reader's own buffers (the PICT reader decodes a pixel map into a second image and draws it into the
// picture) and our image. The file's own bytes come on top.
int MagickPeakBitsPerPixel(const char* coder);

// The first image of bytes read by the named coder only (no other coder is tried); the image is 8-bit
// grey for a grey picture, 32-bit colour otherwise. The size is checked from the header before decoding.
DecodedPicture DecodeWithMagick(QByteArrayView bytes, const char* coder);

} // namespace backdrop
