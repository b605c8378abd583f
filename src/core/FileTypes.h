// The file types the open and save dialogs filter by: the document type and the backdrop pictures.
#pragma once

#include "platform/FileType.h"

namespace FileTypes {

// Created once by Init at start-up, in declaration order.
inline platform::FileType pText, pTallio, pQVEPS, pImageTiff, pImages, pImageJpg, pZOrerImages;

void Init();
// The backdrop picture type, as created at start-up.
const platform::FileType& ZOrerImages();

} // namespace FileTypes
