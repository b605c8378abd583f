#include "core/AppPictures.h"
#include "TestSupport.h"
#include "platform/Picture.h"

#include <gtest/gtest.h>

TEST(AppPictures, EachIsLoadedOnceAtItsSize) {
    struct Case {
        const char* name;
        std::shared_ptr<platform::Picture> (*get)();
        QSize size;
    } cases[] = {
        {"ZOrer2", ZOrer2, {22, 22}},   {"ZOrer3", ZOrer3, {36, 36}},   {"QVicon1", QVicon1, {30, 30}},
        {"QVicon2", QVicon2, {30, 30}}, {"QVicon3", QVicon3, {30, 30}}, {"QVicon4", QVicon4, {30, 30}},
    };
    for (const Case& c : cases) {
        auto first = c.get();
        ASSERT_NE(first, nullptr) << c.name;
        EXPECT_EQ(QSize(first->Width(), first->Height()), c.size) << c.name;
        EXPECT_EQ(c.get(), first) << c.name; // the same object every time
    }
    EXPECT_NE(QVicon3()->Image(), QVicon4()->Image()); // zoom in and out are told apart

    auto cursor = CursorAdd();
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(CursorAdd(), cursor);
    EXPECT_EQ(cursor->hotSpot(), QPoint(15, 15));
    EXPECT_EQ(cursor->pixmap().size(), QSize(32, 32));
}
