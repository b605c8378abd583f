// The step and repeat dialog: copies the selected number object over a grid of cells across and down
// the page, in either flow order, with the copies' page increments stepping in groups.
#pragma once

#include "platform/Window.h"
#include <QString>
#include <map>
#include <optional>

// The shared instance (the framework's accessor `StepRpt.StepRpt()`) is
// platform::SharedInstance<StepRpt>(); closing the window ends it, so every opening starts from the
// defaults again. The dialog works on the document globals of Module1 and keeps nothing of its own.
namespace platform {
class Canvas;
class CheckBox;
class EditField;
class PushButton;
class RadioButton;
} // namespace platform

class StepRpt : public platform::Window {
public:
    StepRpt();

    // Whether the last cell of the grid still lies on the page; shows a message when it does not.
    // With no selected object there is nothing to test, and it fits.
    bool CheckFit();
    // Appends one copy of the selected object per grid cell except its own, then repaints the page
    // view. Refuses the whole grid, with a message, when the object table has no room for it; false
    // then, true otherwise (also when there was nothing to copy).
    bool DoStep();

    void EdQAcross_TextChange();
    void EdX_TextChange();
    void EdQdown_TextChange();
    void EdY_TextChange();
    void BtnOK_Action();
    void BtnCancel_Action();

    // The controls that code outside the window reaches, by their names.
    platform::ControlRef<platform::Canvas> Canvas1{*this, "Canvas1"};
    platform::ControlRef<platform::EditField> EdQAcross{*this, "EdQAcross"};
    platform::ControlRef<platform::EditField> EdX{*this, "EdX"};
    platform::ControlRef<platform::EditField> EdQdown{*this, "EdQdown"};
    platform::ControlRef<platform::EditField> EdY{*this, "EdY"};
    platform::ControlRef<platform::PushButton> BtnOK{*this, "BtnOK"};
    platform::ControlRef<platform::PushButton> BtnCancel{*this, "BtnCancel"};
    platform::ControlRef<platform::RadioButton> RadioButton1{*this, "RadioButton1"};
    platform::ControlRef<platform::CheckBox> CBatView{*this, "CBatView"};
    platform::ControlRef<platform::EditField> EdRepeat{*this, "EdRepeat"};

protected:
    // Fills in the defaults; each field filled in runs the fit test.
    void Event_Open() override;

private:
    // The number a field shows; nothing while it holds text that is no number.
    std::optional<double> FieldValue(const QString& name) const;
    // Commits the typed numbers of every field as OK uses them; false, after one message, when one is
    // not a number the field takes (the field then shows its value again).
    bool CommitFields();
    // The values last committed or filled in, by field name: what a refused field shows again.
    std::map<QString, double> values_;
};
