// The open document as application-wide globals (header record, object table, their typed mirrors,
// selection, print-run and backdrop settings) and the document core's unit and number-text helpers.
#pragma once

#include "platform/VariantArray.h"
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace platform {
class Graphics;
class PrinterSetup;
} // namespace platform

namespace Module1 {

// Header record: slots 0 to 15. Slots 0-11 mirror the typed header below, slot 12 the object count.
inline platform::VariantArray RecHd{15};
// Object table: rows 0 to 128 (one per number object) by fields 0 to 15.
inline platform::VariantTable RecPos{128, 15};

// Typed mirror of header slots 0 to 11 (lengths in millimetres).
inline QString AFileName;
inline double AdocWidth = 0;
inline double AdocHeight = 0;
inline double AsigWidth = 0;
inline double AsigHeight = 0;
inline std::int32_t AstepR = 0;
inline double AstepRV = 0;
inline std::int32_t AstepD = 0;
inline double AstepDV = 0;
inline std::int32_t AinTag = 0;
inline double Astart = 0;
inline std::int32_t Aqty = 0;

// Typed mirror of the current object's fields 0 to 10.
inline QString RName;
inline double Rxloc = 0;
inline double Ryloc = 0;
inline QString Rpic;
inline std::int32_t Rpinc = 0;
inline std::int32_t Rmtype = 0;
inline QString Rfontfam;
inline QString RfontStyle;
inline double RFontSize = 0;
inline QString Rcolour;
inline double Rangle = 0;

// Selection and counters.
inline std::int32_t TotalObjects = 0;
inline std::int32_t CurrentObject = 0;
inline double CurrentObjectWidth = 0;  // mm, as last drawn
inline double CurrentObjectHeight = 0; // mm, as last drawn
inline double NHandleX = 0;            // pixels
inline double NHandleY = 0;            // pixels

// Parts of the current object's colour string, percent 0 to 100.
inline std::int32_t pncCyan = 0;
inline std::int32_t pncMagenta = 0;
inline std::int32_t pncYellow = 0;
inline std::int32_t pncBlack = 0;

// Document and view state.
inline bool DirtyFlag = false;
inline QString Filename;
inline std::int32_t PageResolution = 0; // dots per inch of every mm/pixel conversion
inline bool FitToPage = false;
inline std::int32_t ScrollX = 0;
inline std::int32_t ScrollY = 0;

// Check-digit method names, indices 0 to 10 (filled by FillModNames). Use ModNme.value(i) for an
// index that may come from a file: it gives "" outside the list.
inline QStringList ModNme = QStringList(11);

// Pictures handed to Format for numbers shown in the lists and the start and quantity fields.
inline QString NumPic = "\"##########.0;##########.0;##########\"";
inline QString NumPic2 = "\"#############\"";

// Print run.
inline std::int32_t APageInc = 0;
inline std::int32_t AnupQTY = 0;
inline std::int32_t CurrentInc = 0;
inline bool Aback = false;
inline std::shared_ptr<platform::PrinterSetup> ps; // null until printing first needs it
inline QString PrintSettings;
inline bool PRN = false;
inline bool PRNpreview = false;
inline std::int32_t ImageResolution = 300;

// Backdrop settings.
inline QString EPSpathName;
inline QString EPSfilename;
inline double EPSmaskX = 0;      // mm
inline double EPSmaskY = 0;      // mm
inline double EPSmaskWidth = 0;  // mm
inline double EPSmaskHeight = 0; // mm
inline double EPSscaleX = 0;     // percent
inline double EPSscaleY = 0;     // percent
inline bool EPSuseForms = false;
inline bool EPSdirty = false;
inline bool EPSredraw = false;

// Gives the globals their start-up values, in start-up order: RecHd, RecPos, ImageResolution, NumPic,
// NumPic2, ModNme, then QVutils::EPSjpgResolution. The inline definitions above already hold the same
// values; running it again empties the records as at start-up.
void InitGlobals();
// Sets ModNme entries 0 to 7 to the check-digit method names (done when the application opens).
void FillModNames();
// Releases the object globals (the printer setup) before the application object goes away.
void ReleaseGlobals();

// Resets the document to a new, empty one and shows it in the main window (Filename is kept).
void NewDoc();

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
// Whether the selection handle lies within the rectangle widened by 10 pixels on every side.
bool FindHandle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
// Parses Rcolour into the colour parts and stores the display colour in field 14 of row i (i >= 0).
void NumColour(std::int32_t i);
// The screen colour of the colour parts: black folded into cyan, magenta and yellow.
platform::Color DisplayColour(std::int32_t c, std::int32_t m, std::int32_t y, std::int32_t k);
// Sets pncCyan..pncBlack from a colour string "CcccMmmmYyyyKkkk".
void ParseColour(const QString& colour);

// Record transfer between the records, their typed mirrors and the main window's lists and fields.
// Header: RecHd to the mirror, and with show also to ListBox2, EdStart and EdQty.
void LoadHead(bool show);
// Header: ListBox2, EdStart and EdQty to RecHd (slot 12 = TotalObjects), then RecHd to the mirror.
void SaveHead();
// True: as SaveHead. False: the mirror to RecHd slots 0 to 11, then RecHd to the window. A missing
// window control shows "SYNChead error" and leaves what was copied before it.
void SyncHead(bool toRecord);
// Object row i to the current-object mirror and ListBox1, with the colour parts and display colour.
// These three do nothing for a negative row.
void LoadSel(std::int32_t i);
// ListBox1 to object row i, then to the mirror, with the colour parts and display colour.
void SaveSel(std::int32_t i);
// True: as SaveSel(i). False: the mirror to row i, then to ListBox1. Both then set the display colour
// from the colour parts as they stand. A missing window control shows "SYNCsel error".
void SyncSel(bool toRecord, std::int32_t i);

// Reads "Tallio.txt" from the preferences folder into Filename and PrintSettings, creating it when missing.
void ReadPrefs();
// Writes Filename and PrintSettings into "Tallio.txt", replacing it.
void SavePrefs();

// Writes the document to its file, or to one chosen in the save dialog for an untitled document or
// saveAs; false when no file was chosen or it could not be written.
bool SaveFile(bool saveAs);
// Reads the document named by Filename, or one chosen in the open dialog when it is empty; false when
// no file was chosen or it could not be opened.
bool OpenFile();


// The print command: page setup when no setup is stored, the print dialog, then every sheet of the run.
void PrintStart();
// Draws one sheet at offset CurrentInc onto g at the current PageResolution.
void PrintPage(platform::Graphics& g);
// Draws the run's first sheet into the page view.
void PrintPreview();

} // namespace Module1
