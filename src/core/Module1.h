// The open document as application-wide globals (header record, object table, their typed mirrors,
// selection, view, print-run and backdrop settings) and the document core's unit and number helpers.
// Every global lives in one Globals value, so ResetGlobals can put them all back at once; the names
// the program uses (Module1::AdocWidth, ...) refer into it.
#pragma once

#include "core/Backdrop.h"
#include "platform/VariantArray.h"
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace platform {
class FolderItem;
class Graphics;
class PrinterSetup;
} // namespace platform

namespace Module1 {

struct Globals {
    // Header record: slots 0 to 15. Slots 0-11 mirror the typed header below, slot 12 the object count.
    platform::VariantArray RecHd{15};
    // Object table: rows 0 to 128 (one per number object) by fields 0 to 15.
    platform::VariantTable RecPos{128, 15};

    // Typed mirror of header slots 0 to 11 (lengths in millimetres).
    QString AFileName;
    double AdocWidth = 0;
    double AdocHeight = 0;
    double AsigWidth = 0;
    double AsigHeight = 0;
    std::int32_t AstepR = 0;
    double AstepRV = 0;
    std::int32_t AstepD = 0;
    double AstepDV = 0;
    std::int32_t AinTag = 0;
    double Astart = 0;
    std::int32_t Aqty = 0;

    // Typed mirror of the current object's fields 0 to 10.
    QString RName;
    double Rxloc = 0;
    double Ryloc = 0;
    QString Rpic;
    std::int32_t Rpinc = 0;
    std::int32_t Rmtype = 0;
    QString Rfontfam;
    QString RfontStyle;
    double RFontSize = 0;
    QString Rcolour;
    double Rangle = 0;

    // Selection and counters.
    std::int32_t TotalObjects = 0;
    std::int32_t CurrentObject = 0;
    double CurrentObjectWidth = 0;  // mm, as last drawn
    double CurrentObjectHeight = 0; // mm, as last drawn
    double NHandleX = 0;            // pixels
    double NHandleY = 0;            // pixels

    // Parts of the current object's colour string, percent 0 to 100.
    std::int32_t pncCyan = 0;
    std::int32_t pncMagenta = 0;
    std::int32_t pncYellow = 0;
    std::int32_t pncBlack = 0;

    // Document and view state.
    bool DirtyFlag = false;
    QString Filename;
    std::int32_t PageResolution = 0; // dots per inch of every mm/pixel conversion
    bool FitToPage = false;
    std::int32_t ScrollX = 0;
    std::int32_t ScrollY = 0;

    // Check-digit method names, indices 0 to 10 (filled by FillModNames). Use ModNme.value(i) for an
    // index that may come from a file: it gives "" outside the list.
    QStringList ModNme = QStringList(11);

    // Pictures handed to Format for numbers shown in the lists and the start and quantity fields.
    QString NumPic = "\"##########.0;##########.0;##########\"";
    QString NumPic2 = "\"#############\"";

    // Print run.
    std::int32_t APageInc = 0;
    std::int32_t AnupQTY = 0;
    std::int32_t CurrentInc = 0;
    bool Aback = false;
    std::shared_ptr<platform::PrinterSetup> ps; // null until printing first needs it
    QString PrintSettings;
    bool PRN = false;
    bool PRNpreview = false;
    std::int32_t ImageResolution = 300;

    // Backdrop settings, and the picture with its composed cache.
    QString EPSpathName;
    QString EPSfilename;
    double EPSmaskX = 0;      // mm
    double EPSmaskY = 0;      // mm
    double EPSmaskWidth = 0;  // mm
    double EPSmaskHeight = 0; // mm
    double EPSscaleX = 0;     // percent
    double EPSscaleY = 0;     // percent
    bool EPSuseForms = false;
    bool EPSdirty = false;  // the composed cache must be made again before it is drawn
    bool EPSredraw = false; // the next Window1::DrawBackDrop draws the cache, then clears this
    Backdrop TheBackdrop;
};

inline Globals globals;

inline auto& RecHd = globals.RecHd;
inline auto& RecPos = globals.RecPos;
inline auto& AFileName = globals.AFileName;
inline auto& AdocWidth = globals.AdocWidth;
inline auto& AdocHeight = globals.AdocHeight;
inline auto& AsigWidth = globals.AsigWidth;
inline auto& AsigHeight = globals.AsigHeight;
inline auto& AstepR = globals.AstepR;
inline auto& AstepRV = globals.AstepRV;
inline auto& AstepD = globals.AstepD;
inline auto& AstepDV = globals.AstepDV;
inline auto& AinTag = globals.AinTag;
inline auto& Astart = globals.Astart;
inline auto& Aqty = globals.Aqty;
inline auto& RName = globals.RName;
inline auto& Rxloc = globals.Rxloc;
inline auto& Ryloc = globals.Ryloc;
inline auto& Rpic = globals.Rpic;
inline auto& Rpinc = globals.Rpinc;
inline auto& Rmtype = globals.Rmtype;
inline auto& Rfontfam = globals.Rfontfam;
inline auto& RfontStyle = globals.RfontStyle;
inline auto& RFontSize = globals.RFontSize;
inline auto& Rcolour = globals.Rcolour;
inline auto& Rangle = globals.Rangle;
inline auto& TotalObjects = globals.TotalObjects;
inline auto& CurrentObject = globals.CurrentObject;
inline auto& CurrentObjectWidth = globals.CurrentObjectWidth;
inline auto& CurrentObjectHeight = globals.CurrentObjectHeight;
inline auto& NHandleX = globals.NHandleX;
inline auto& NHandleY = globals.NHandleY;
inline auto& pncCyan = globals.pncCyan;
inline auto& pncMagenta = globals.pncMagenta;
inline auto& pncYellow = globals.pncYellow;
inline auto& pncBlack = globals.pncBlack;
inline auto& DirtyFlag = globals.DirtyFlag;
inline auto& Filename = globals.Filename;
inline auto& PageResolution = globals.PageResolution;
inline auto& FitToPage = globals.FitToPage;
inline auto& ScrollX = globals.ScrollX;
inline auto& ScrollY = globals.ScrollY;
inline auto& ModNme = globals.ModNme;
inline auto& NumPic = globals.NumPic;
inline auto& NumPic2 = globals.NumPic2;
inline auto& APageInc = globals.APageInc;
inline auto& AnupQTY = globals.AnupQTY;
inline auto& CurrentInc = globals.CurrentInc;
inline auto& Aback = globals.Aback;
inline auto& ps = globals.ps;
inline auto& PrintSettings = globals.PrintSettings;
inline auto& PRN = globals.PRN;
inline auto& PRNpreview = globals.PRNpreview;
inline auto& ImageResolution = globals.ImageResolution;
inline auto& EPSpathName = globals.EPSpathName;
inline auto& EPSfilename = globals.EPSfilename;
inline auto& EPSmaskX = globals.EPSmaskX;
inline auto& EPSmaskY = globals.EPSmaskY;
inline auto& EPSmaskWidth = globals.EPSmaskWidth;
inline auto& EPSmaskHeight = globals.EPSmaskHeight;
inline auto& EPSscaleX = globals.EPSscaleX;
inline auto& EPSscaleY = globals.EPSscaleY;
inline auto& EPSuseForms = globals.EPSuseForms;
inline auto& EPSdirty = globals.EPSdirty;
inline auto& EPSredraw = globals.EPSredraw;
inline auto& TheBackdrop = globals.TheBackdrop;

// Gives the globals their start-up values, in start-up order: RecHd, RecPos, ImageResolution, NumPic,
// NumPic2, ModNme, then QVutils::EPSjpgResolution.
void InitGlobals();
// Puts every document, view, print-run and backdrop global (of Module1, QVutils and FileTypes) back to
// its start-up value.
void ResetGlobals();
// Sets ModNme entries 0 to 7 to the check-digit method names (done when the application opens).
void FillModNames();
// Releases the object globals (the printer setup, the backdrop) before the application object goes away.
void ReleaseGlobals();

// The document's values reset to a new, empty document: header, selection, current-object defaults,
// backdrop settings and picture. Filename, the print settings and the view's scroll state stay.
// The window side (Module1::NewDoc) shows the result.
void ClearDocument();

// Millimetres to pixels at PageResolution.
double mms(double mm);
// Pixels at PageResolution to millimetres.
double PixToMMs(std::int32_t px);
// First object row (in row order) whose position lies within the rectangle widened by 10 mm on every
// side; -1 when none.
std::int32_t FindObject(double x1, double y1, double x2, double y2);

// The printed text of object row i for the running number v: check digit, leading zeros, letter shift
// and picture applied.
QString CalcMod(std::int32_t i, double v);
// The weighted mod-10 (EAN/UPC) check digit of a text of digits.
QString calcEAN(const QString& s);

// Font points to pixels at PageResolution.
double Points(double pt);
// Draws object row i for the running number v, shifted by the cell offset (dx, dy) in mm: the selected
// object green with its handle on screen, every object in its own colour while printing; measures the
// selected object into CurrentObjectWidth and CurrentObjectHeight.
void DrawNumber2d(platform::Graphics& g, std::int32_t i, double v, double dx, double dy);
// A square of page pixels that holds everything DrawNumber2d(g, i, v, dx, dy) draws of the object's
// text, at any angle: for leaving out objects that cannot show. g's pen and text state stay as they are.
QRectF NumberBounds(platform::Graphics& g, std::int32_t i, double v, double dx, double dy);
// Whether the selection handle lies within the rectangle widened by 10 pixels on every side.
bool FindHandle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
// Parses Rcolour into the colour parts and stores the display colour in field 14 of row i (i >= 0).
void NumColour(std::int32_t i);
// The screen colour of the colour parts: black folded into cyan, magenta and yellow.
platform::Color DisplayColour(std::int32_t c, std::int32_t m, std::int32_t y, std::int32_t k);
// Sets pncCyan..pncBlack from a colour string "CcccMmmmYyyyKkkk".
void ParseColour(const QString& colour);

// Header slots 0 to 11 of RecHd into the typed header mirror.
void HeaderMirrorFromRecord();
// The typed header mirror into RecHd slots 0 to 11.
void HeaderRecordFromMirror();

// Reads "Tallio.txt" from the preferences folder into Filename and PrintSettings, creating it when missing.
void ReadPrefs();
// Writes Filename and PrintSettings into "Tallio.txt", replacing it.
void SavePrefs();

// Writes the document (RecHd, the backdrop settings, the object table) to f; false, with the system's
// reason in failure, when it could not be written completely, in which case the old file is left as it
// was.
bool WriteDocument(platform::FolderItem& f, QString* failure = nullptr);
// Reads a document file into RecHd, the header mirror, the backdrop settings and the object table, and
// loads the backdrop picture it names. False, with the reason in failure, when the file cannot be read
// or is plainly not a document (not text, or header lines that must hold numbers holding none); the
// document is then left as it was.
bool ReadDocument(platform::FolderItem& f, QString* failure = nullptr);

// Numbers used per page (APageInc) and sheets in the run (AnupQTY) from the objects, the quantity and
// the step-and-repeat grid. Returns the cells of one sheet.
std::int64_t CountSheets();
// The largest number that number text prints: fifteen digits.
inline constexpr double LargestNumber = 999999999999999.0;
// Why the run cannot be printed, in the user's words: the first object whose first or last number of
// the run (start, quantity, grid, page increments) falls below 0 or past fifteen digits, named with
// that number; "" when every number can be printed. Works out the sheets first (CountSheets).
QString RunNumbersProblem();
// How many of the numbers of one sheet (one per object and cell) would have their anchor off a paper
// of the given size in mm, the grid starting at the paper's corner.
std::int64_t NumbersOffPaper(double paperWidth, double paperHeight);

// Draws one document page at the running number n with its top left corner at (x, y) mm: the backdrop
// (composed beforehand), then every number object. Given the part of the surface that shows (in
// pixels), objects that cannot reach it are left out; the current object is always drawn, so that its
// size is measured and its handle placed.
void DrawPageCell(platform::Graphics& g, double n, double x, double y, const QRectF& shown = QRectF());
// The number objects of DrawPageCell alone.
void DrawPageNumbers(platform::Graphics& g, double n, double x, double y, const QRectF& shown = QRectF());
// Draws one sheet of the run at offset CurrentInc onto g at the current PageResolution: the cells of the
// grid in cut-and-stack order, offset by the printer's margins while printing.
void PrintPage(platform::Graphics& g);
// The sheets of the run onto a printer's g, page breaks between them, in forward or backward order
// (CurrentInc runs on from its start value).
void PrintSheets(platform::Graphics& g);

} // namespace Module1
