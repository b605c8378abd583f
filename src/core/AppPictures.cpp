#include "core/AppPictures.h"

#include "platform/Control.h"
#include "platform/Picture.h"
#include <QCoreApplication>
#include <QPixmap>

using platform::Picture;

// The application's pictures are compiled into the core library; a static library registers them only
// when asked (and this call also keeps the linker from dropping them).
static void RegisterResources() {
    Q_INIT_RESOURCE(resources);
}

static void RegisterOnce() {
    static const bool registered = (RegisterResources(), true);
    (void)registered;
}

namespace {

// Loads into the kept slot only while it is empty, so a failed read is tried again next time.
std::shared_ptr<Picture> Kept(std::shared_ptr<Picture>& slot, const char* resource) {
    RegisterOnce();
    if (!slot)
        slot = platform::LoadPicture(QString::fromLatin1(resource));
    return slot;
}

std::shared_ptr<Picture> gZOrer2, gZOrer3, gQVicon1, gQVicon2, gQVicon3, gQVicon4;
std::shared_ptr<QCursor> gCursorAdd;

} // namespace

std::shared_ptr<Picture> ZOrer2() {
    return Kept(gZOrer2, ":/corner.png");
}
std::shared_ptr<Picture> ZOrer3() {
    return Kept(gZOrer3, ":/logo.png");
}
std::shared_ptr<Picture> QVicon1() {
    return Kept(gQVicon1, ":/addtool.png");
}
std::shared_ptr<Picture> QVicon2() {
    return Kept(gQVicon2, ":/selecttool.png");
}
std::shared_ptr<Picture> QVicon3() {
    return Kept(gQVicon3, ":/zoomin.png");
}
std::shared_ptr<Picture> QVicon4() {
    return Kept(gQVicon4, ":/zoomout.png");
}

std::shared_ptr<QCursor> CursorAdd() {
    if (!gCursorAdd) {
        RegisterOnce();
        if (auto picture = platform::LoadPicture(":/addcursor.png")) {
            // The hot spot is where the cross hairs meet.
            gCursorAdd = std::make_shared<QCursor>(QPixmap::fromImage(picture->Image()), 15, 15);
            // A cursor holds a pixmap, which must go while the application still exists.
            static const bool cleanupAdded = (qAddPostRoutine([] { gCursorAdd.reset(); }), true);
            (void)cleanupAdded;
        }
    }
    return gCursorAdd;
}

void ResetAppPictures() {
    for (auto* slot : {&gZOrer2, &gZOrer3, &gQVicon1, &gQVicon2, &gQVicon3, &gQVicon4})
        slot->reset();
    gCursorAdd.reset();
}
