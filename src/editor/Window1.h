// The main window: tool strip, start and quantity fields, parameter list, pointer read-out, object
// list, and the page view with its rulers and scroll bars. The shared window is
// platform::SharedInstance<Window1>(), the layer's spelling of the framework's accessor
// Window1.Window1(); each control is reached by its name as a member: w.Canvas1(), w.ListBox1().
// The backdrop picture and its composed cache are the document's (Module1::TheBackdrop's Bdx and cdx).
#pragma once

#include "core/ValueRules.h"
#include "platform/Window.h"
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace platform {
class BevelButton;
class Canvas;
class CheckBox;
class EditField;
class Graphics;
class ImageWell;
class Label;
class ListBox;
class LittleArrows;
class Picture;
class PushButton;
class RoundRectangle;
class ScrollBar;
} // namespace platform

class Window1 : public platform::Window {
public:
    Window1();

    // Values handed to and taken back from the dialogs.
    QString CurrentFont;
    std::int32_t ModType = 0;
    QString ModName; // the method's index, ", " and its name: "3, Mod 9"
    // Tools: the page view decides by MakeNumTool alone.
    bool MakeNumTool = false;
    bool NumSelTool = false;
    // Off-screen pictures: the part of the page that the view shows (the view's size, its top left
    // corner at page pixel ScrollX, ScrollY), and the horizontal and vertical rulers (the page's length).
    std::shared_ptr<platform::Picture> gx, gtx, glx;
    // Page pixels (scroll offset included) of the selection rectangle's corners.
    std::int32_t CCurX = 0, CCurY = 0;
    std::int32_t EndX = 0, EndY = 0;
    QString CurrentStyle; // "Normal", "Bold", "Italic" or "BoldItalic"
    bool Dragging = false;
    std::int32_t CDragX = 0, CDragY = 0; // last pointer position while dragging, view pixels
    bool CellClicked = false;
    std::int32_t updateCounter = 0;
    bool DrawSelection = false;
    // The sheet that Print > Preview shows until the preview ends.
    std::shared_ptr<platform::Picture> PreviewSheet;

    // The controls, in the order of the window's control table.
    platform::ControlRef<platform::RoundRectangle> RoundRectangle1{*this, "RoundRectangle1"};
    platform::ControlRef<platform::CheckBox> CBback{*this, "CBback"};
    platform::ControlRef<platform::ListBox> ListBox1{*this, "ListBox1"};
    platform::ControlRef<platform::Canvas> Canvas1{*this, "Canvas1"};
    platform::ControlRef<platform::ListBox> ListBox2{*this, "ListBox2"};
    platform::ControlRef<platform::Label> StaticText1{*this, "StaticText1"};
    platform::ControlRef<platform::EditField> CurX{*this, "CurX"};
    platform::ControlRef<platform::EditField> CurY{*this, "CurY"};
    platform::ControlRef<platform::ScrollBar> ScrollBar1{*this, "ScrollBar1"};
    platform::ControlRef<platform::ScrollBar> ScrollBar2{*this, "ScrollBar2"};
    platform::ControlRef<platform::Canvas> Canvas2{*this, "Canvas2"};
    platform::ControlRef<platform::Canvas> Canvas3{*this, "Canvas3"};
    platform::ControlRef<platform::EditField> EdStart{*this, "EdStart"};
    platform::ControlRef<platform::EditField> EdQty{*this, "EdQty"};
    platform::ControlRef<platform::Label> StaticText7{*this, "StaticText7"};
    platform::ControlRef<platform::Label> StaticText8{*this, "StaticText8"};
    platform::ControlRef<platform::Label> StaticText9{*this, "StaticText9"};
    platform::ControlRef<platform::Label> StaticText10{*this, "StaticText10"};
    platform::ControlRef<platform::Label> StatNumObj{*this, "StatNumObj"};
    platform::ControlRef<platform::BevelButton> BtFit{*this, "BtFit"};
    platform::ControlRef<platform::LittleArrows> ListSelect{*this, "ListSelect"};
    platform::ControlRef<platform::BevelButton> BtnDelObj{*this, "BtnDelObj"};
    platform::ControlRef<platform::EditField> EdNup{*this, "EdNup"};
    platform::ControlRef<platform::Label> StaticText11{*this, "StaticText11"};
    platform::ControlRef<platform::Label> StaticText12{*this, "StaticText12"};
    platform::ControlRef<platform::BevelButton> Numtool{*this, "Numtool"};
    platform::ControlRef<platform::ImageWell> ImageWell1{*this, "ImageWell1"};
    platform::ControlRef<platform::BevelButton> TextTool{*this, "TextTool"};
    platform::ControlRef<platform::BevelButton> MagEn{*this, "MagEn"};
    platform::ControlRef<platform::BevelButton> MagR1{*this, "MagR1"};
    platform::ControlRef<platform::ImageWell> ImageWell2{*this, "ImageWell2"};
    platform::ControlRef<platform::PushButton> PushButton1{*this, "PushButton1"};

    // Page view (Window1PageView.cpp). DrawPage ends a preview and rebuilds the view and ruler pictures
    // and the scroll ranges for a page of w x h mm (fitting the page again in fit mode, and entering fit
    // mode where the page is too long to picture at the zoom); UpdateViewer brings gx up to date, drawing
    // only what changed since it was last drawn; Update paints Canvas1. The rulers measure length mm.
    void HorizRules(platform::Graphics& g, double length);
    void VertRules(platform::Graphics& g, double length);
    void DrawPage(platform::Graphics& g, double w, double h);
    // Whether the rulers of a page of w x h mm can each be one picture at PageResolution.
    static bool PagePictured(double w, double h);
    // The run's first sheet in the page view, fitted to it, with rulers for the sheet and no scroll
    // bars, until a press in the page view, a zoom, Fit or a new page view ends it; false, with nothing
    // changed, for a sheet that has no size or cannot be pictured.
    bool ShowPreview();
    void UpdateViewer();
    void Update(platform::Graphics& g);
    // Numbers used per page (APageInc) and sheets in the run (AnupQTY), shown in EdNup and StaticText11.
    void CheckNup();
    // The document backdrop's cache composed from pic when EPSdirty, and drawn onto g at (x, y) mm when
    // EPSredraw (which it then clears).
    void DrawBackDrop(const std::shared_ptr<platform::Picture>& pic, platform::Graphics& g, double x,
                      double y);
    // Fit mode (until the next zoom): the resolution at which the whole page fits Canvas1, then new
    // buffers.
    void FitToPageF();
    void ListUpdate();

    // Page view handlers (Window1Paint.cpp).
    void Canvas1_Open();
    void Canvas1_Paint(platform::Graphics& g);
    void Canvas2_Paint(platform::Graphics& g);
    void Canvas3_Paint(platform::Graphics& g);
    void ScrollBar1_ValueChanged();
    void ScrollBar2_ValueChanged();

    // Property lists (Window1Lists.cpp): ListBox1 edits the current object, ListBox2 the page size and
    // step-and-repeat grid. An edit is committed when its cell loses the focus (Window1Commit.cpp); the
    // key-down handlers let every key through.
    void ListBox1_Open();
    bool ListBox1_CellClick(int row, int column, int x, int y);
    void ListBox1_CellLostFocus(int row, int column);
    void ListBox1_CellAction(int row, int column);
    bool ListBox1_CellKeyDown(int row, int column, const QString& key);
    void ListBox2_Open();
    bool ListBox2_MouseDown(int x, int y);
    bool ListBox2_CellBackgroundPaint(platform::Graphics& g, int row, int column);
    void ListBox2_Change();
    void ListBox2_CellLostFocus(int row, int column);
    void ListBox2_CellAction(int row, int column);
    bool ListBox2_CellKeyDown(int row, int column, const QString& key);
    void ListBox2_CellGotFocus(int row, int column);

    // Entry fields and buttons beside the lists (Window1Buttons.cpp).
    // Typing changes nothing of the document; Return and leaving the field commit the value.
    void EdStart_TextChange();
    void EdStart_LostFocus();
    bool EdStart_KeyDown(const QString& key);
    void EdQty_TextChange();
    void EdQty_LostFocus();
    bool EdQty_KeyDown(const QString& key);
    void EdNup_TextChange();
    void CBback_Action();
    void BtFit_Action();
    void ListSelect_Up();
    void ListSelect_Down();
    void BtnDelObj_Action();

    // Tools and the page view's pointer (Window1Tools.cpp, Window1Mouse.cpp). MouseDown returns whether
    // MouseDrag and MouseUp follow the press.
    bool Numtool_MouseDown(int x, int y);
    void Numtool_Action();
    bool TextTool_MouseDown(int x, int y);
    void TextTool_Action();
    bool Canvas1_MouseDown(int x, int y);
    void Canvas1_MouseDrag(int x, int y);
    void Canvas1_MouseUp(int x, int y);
    void Canvas1_MouseMove(int x, int y);
    void MagEn_Action();
    void MagR1_Action();
    void PushButton1_Action();

    // Menu commands (Window1Menus.cpp), bound by item name when the window is built. The framework's
    // names begin with an underscore (_FileSave_Action); here they are spelled without it.
    bool FileCreate_Action();
    bool FileOpen_Action();
    bool FileSave_Action();
    bool FileSaveAs_Action();
    bool EditStepRepeat_Action();
    bool Viewupdatecount_Action();
    bool PrintPreview_Action();
    bool PrintSetup_Action();
    bool PrintPrint_Action();
    bool HelpAbout_Action();
    bool BackDropOpen_Action();

protected:
    // Window events (Window1Events.cpp).
    void Event_Open() override;
    void Event_Resized() override;
    bool Event_CancelClose() override;
    void Event_Close() override;

    // Commits every value being typed into the start and quantity fields and into an open cell of either
    // property list, as Return would (Window1Commit.cpp). False when one was refused: its message has
    // been shown, and what the user asked for next should not go on as if the value were in.
    bool CommitEdits();

private:
    // CommitTypedValue, the one path of a typed number into the document, counting refusals.
    bool CommitTyped(const Module1::TypedValue& value);
    // The start or quantity field into the document through store, as CommitTyped takes it.
    bool CommitHeaderField(platform::EditField& field, double inUse, const Module1::NumberRule& rule,
                           const std::function<double(double)>& store);
    bool CommitStart();
    bool CommitQuantity();
    bool CommitObjectCell(int row);
    bool CommitParameterCell(int row);
    // The page view for a new page size, the signature, the header shown again and the sheet count.
    void ApplyParameters(bool newPageSize);
    // Parameter rows the user may change: page width and height, step across and down.
    static bool IsEditableParameter(int row) { return row == 1 || row == 2 || row == 5 || row == 7; }
    int refusals_ = 0; // values refused so far
    // Menu bar first, then the window's own properties.
    void Layout();
    // The controls of the table in Window1Layout.cpp, with the application's pictures.
    void CreateControls();
    // Connects the page view's canvases and scroll bars to their handlers.
    void AttachPageView();
    // Connects the property lists, entry fields and their buttons to their handlers.
    void AttachLists();
    // The modal selectors opened from the object list's cells.
    void ShowFontDialog();
    void ShowMethodDialog();
    void ShowColourDialog();
    // Step distances and signature size from the page size and step counts; counts below 1 become 1.
    void StepSignature();
    // Moves the selection by step objects, wrapping around at either end.
    void StepSelection(std::int32_t step);

    // Connects the tools, zoom buttons, backdrop button and the page view's mouse to their handlers.
    void AttachPageInteraction();
    // Window cursor and tool flags of the add tool (true) or the select tool.
    void ArmTool(bool add);
    // A new object at the pressed point, or a message when the object table is full.
    void PlaceObject();
    // PageResolution becomes dpi, the page view is rebuilt and the current object centred.
    void Zoom(std::int32_t dpi);
    // Deselects the object list's selected row; lockValue also makes its value cell non-editable.
    void EndObjectListSelection(bool lockValue);
    void AddMenuHandlers();
    // DrawPage on Canvas1 for the document's page size.
    void RebuildPageView();

    // What gx shows and where, so that a repaint draws only what changed (Window1PageView.cpp).
    struct RenderedView;
    std::shared_ptr<RenderedView> rendered_;
    // Draws the part area (page pixels) of the page into gx, whose corner is at page pixel origin.
    void RenderPart(platform::Graphics& g, QPoint origin, const QRect& area);
    // DrawPage's rebuild for w x h mm at PageResolution, also for the previewed sheet.
    void BuildView(platform::Graphics& g, double w, double h);
    // Ends a preview: the page view goes back to the page, in fit mode; the caller rebuilds it.
    void EndPreview();
};
