// The backdrop properties dialog: loads and removes the backdrop picture and edits its mask, scale and
// offsets, which live in the document globals; the main window's page view shows the result.
#pragma once

#include "platform/Window.h"
#include <QString>
#include <memory>

namespace platform {
class EditField;
class FolderItem;
class MenuItem;
} // namespace platform

// The shared instance (the framework's accessor `BDropProps.BDropProps()`) is
// platform::SharedInstance<BDropProps>(); closing the window ends it, so the next request builds a fresh
// one from the globals. The menu commands `_BackdropOpen_Action` and `_BackdropDelete_Action` are spelled
// without the leading underscore.
namespace platform {
class Canvas;
class CheckBox;
class Label;
class PushButton;
} // namespace platform

class BDropProps : public platform::Window {
public:
    BDropProps();

    // True while "Non Proportional" is checked; only "Fit to page" reads it.
    bool NonProp = false;

    // Close: stores the offsets, marks the backdrop cache stale and closes.
    void PushButton1_Action();
    // Fit to page: the scale that fits the picture to the page, proportional unless NonProp.
    void PushButton2_Action();
    // Centre Page: the offsets that centre the scaled picture on the mask.
    void PushButton3_Action();
    // The edit fields: every text change marks the backdrop cache stale; leaving a mask or scale field
    // commits it, leaving an offset field commits both offsets and repaints the page. A committed number
    // that changes a value marks the document modified; text that is not one the field takes is refused.
    void EditField_TextChange();
    // Commits the named number field into its global; false when it was refused.
    bool CommitField(const QString& name);
    // Commits every number field of the mask, scale and offsets; false when one was refused.
    bool CommitFields();
    void EditField9_LostFocus();
    void EditField10_LostFocus();
    void CheckBox1_Action();
    void CheckBox2_Action();
    // "ReRez JPGs to": the resolution given to 72-dpi pictures; a new value reads the backdrop again.
    void EditField1_Open();
    void EditField1_LostFocus();

    // The items of the window's menu bar.
    platform::MenuItem& BackdropOpen() const;
    platform::MenuItem& BackdropDelete() const;
    // Add Image and Delete; both return false.
    bool BackdropOpen_Action();
    bool BackdropDelete_Action();

    // The information box, the mask, scale and offset fields and the forms check box, from the globals.
    void UpdateInfo();

    // The controls that code outside the window reaches, by their names.
    platform::ControlRef<platform::CheckBox> CheckBox1{*this, "CheckBox1"};
    platform::ControlRef<platform::CheckBox> CheckBox2{*this, "CheckBox2"};
    platform::ControlRef<platform::Label> StaticText3{*this, "StaticText3"};
    platform::ControlRef<platform::Canvas> Canvas1{*this, "Canvas1"};
    platform::ControlRef<platform::PushButton> PushButton1{*this, "PushButton1"};
    platform::ControlRef<platform::PushButton> PushButton2{*this, "PushButton2"};
    platform::ControlRef<platform::PushButton> PushButton3{*this, "PushButton3"};

protected:
    void Event_EnableMenuItems() override;
    void Event_Activate() override;

private:
    // Menu bar first, then the window's own properties.
    void Layout();
    void CreateControls();
    void AddMenuHandlers();
    // Reads f as the backdrop and places it over the whole page; false when it could not be read,
    // which leaves the backdrop as it was.
    bool LoadAndReset(const std::shared_ptr<platform::FolderItem>& f);
    platform::EditField& Field(const QString& name) const;
    // The main window's page view, repainted with its background erased.
    static void RefreshPageView();
};
