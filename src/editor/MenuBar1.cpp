#include "editor/MenuBar1.h"

using platform::AppleMenuItem;
using platform::MenuItem;
using platform::QuitMenuItem;

namespace {
std::unique_ptr<MenuItem> Plain() {
    return std::make_unique<MenuItem>();
}
} // namespace

MenuBar1::MenuBar1() {
    Untitled1();
    Untitled2();
    Untitled3();
    Untitled4();
    Untitled5();
    Untitled6();
}

void MenuBar1::Add(const QString& menu, std::unique_ptr<MenuItem> item, const QString& name,
                   const QString& text, const QString& shortcut) {
    item->SetName(name);
    item->SetAutoEnable(true);
    item->SetText(text);
    if (!item->IsSeparator())
        item->SetKeyboardShortcut(shortcut);
    if (menu.isEmpty())
        Append(std::move(item));
    else
        Child(menu)->Append(std::move(item));
}

void MenuBar1::Untitled1() {
    Add({}, Plain(), "FileMenu", "&File");
    Add("FileMenu", Plain(), "FileCreate", "Ne&w",
        "Cmd+W"); // the W key, not N, as the program has always had it
    Add("FileMenu", Plain(), "FileOpen", "&Open", "Cmd+O");
    Add("FileMenu", Plain(), "FileSave", "&Save", "Cmd+S");
    Add("FileMenu", Plain(), "FileSaveAs", "Save As");
    Add("FileMenu", std::make_unique<QuitMenuItem>(), "FileQuit", "E&xit", "Cmd+Q");
}

void MenuBar1::Untitled2() {
    Add({}, Plain(), "EditMenu", "&Edit");
    Add("EditMenu", Plain(), "EditUndo", "&Undo", "Cmd+Z");
    Add("EditMenu", Plain(), "UntitledMenu0", "-");
    Add("EditMenu", Plain(), "EditCut", "Cu&t", "Cmd+X");
    Add("EditMenu", Plain(), "EditCopy", "&Copy", "Cmd+C");
    Add("EditMenu", Plain(), "EditPaste", "&Paste", "Cmd+V");
    Add("EditMenu", Plain(), "EditClear", "Clear");
    Add("EditMenu", Plain(), "EditStepRepeat", "Step && Repeat");
}

void MenuBar1::Untitled3() {
    Add({}, Plain(), "BackDrop", "Back Drop");
    Add("BackDrop", Plain(), "BackDropOpen", "Open");
}

void MenuBar1::Untitled4() {
    Add({}, Plain(), "ViewMenu", "View");
    Add("ViewMenu", Plain(), "Viewupdatecount", "updatecount");
}

void MenuBar1::Untitled5() {
    Add({}, Plain(), "PrintMenu", "Print");
    Add("PrintMenu", Plain(), "PrintSetup", "Setup");
    Add("PrintMenu", Plain(), "PrintPrint", "Print");
    Add("PrintMenu", Plain(), "PrintPreview", "Preview");
}

void MenuBar1::Untitled6() {
    Add({}, Plain(), "HelpMenu", "Help");
    Add("HelpMenu", Plain(), "HelpHelpPictures", "Help Pictures");
    Add("HelpMenu", std::make_unique<AppleMenuItem>(), "HelpAbout", "About");
}
