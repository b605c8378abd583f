// The application's own pictures (tool icons, logo, ruler corner) and the add-object cursor: each is
// read from the compiled-in resources on first use and the same object is handed out from then on.
#pragma once

#include <QCursor>
#include <memory>

namespace platform {
class Picture;
}

// Each returns nullptr (and tries again next time) when its resource cannot be read.
std::shared_ptr<platform::Picture> ZOrer2();  // 22 x 22: the corner where the rulers meet
std::shared_ptr<platform::Picture> ZOrer3();  // 36 x 36: the logo
std::shared_ptr<platform::Picture> QVicon1(); // 30 x 30: add-object tool
std::shared_ptr<platform::Picture> QVicon2(); // 30 x 30: select-object tool
std::shared_ptr<platform::Picture> QVicon3(); // 30 x 30: zoom in
std::shared_ptr<platform::Picture> QVicon4(); // 30 x 30: zoom out
std::shared_ptr<QCursor> CursorAdd();         // the pointer while the add-object tool is armed

// Forgets the pictures and the cursor read so far: each is read again on its next use.
void ResetAppPictures();
