#include "dialogs/MenuBar2.h"

using platform::MenuItem;

namespace {
std::unique_ptr<MenuItem> NewItem(const QString& name, const QString& text) {
    auto item = std::make_unique<MenuItem>(name, text);
    item->SetKeyboardShortcut({});
    item->SetAutoEnable(true);
    return item;
}
} // namespace

MenuBar2::MenuBar2() {
    Untitled1();
}

void MenuBar2::Untitled1() {
    // Spelled with a small d, unlike the main bar's BackDrop menu, so the two never share a handler.
    MenuItem& menu = Append(NewItem("BackdropMenu", "Backdrop"));
    menu.Append(NewItem("BackdropOpen", "Add Image"));
    menu.Append(NewItem("BackdropDelete", "Delete"));
}
