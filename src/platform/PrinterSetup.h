// The printer setup (page size, orientation, margins, printer or output file) over a QPrinter, its
// setup string and dialogs, and the print dialog that opens a printer Graphics.
#pragma once

#include <QString>
#include <memory>

class QPrinter;

namespace platform {

class Graphics;

class PrinterSetup {
public:
    PrinterSetup();
    ~PrinterSetup();
    PrinterSetup(const PrinterSetup&) = delete;
    PrinterSetup& operator=(const PrinterSetup&) = delete;

    // A one-line readable description of the setup. A string that was set is handed back exactly as
    // long as nothing has changed since, even when part of it (a printer missing on this machine)
    // could not be applied. Setting a string that is empty or not one of ours changes nothing.
    QString SetupString() const;
    void SetSetupString(const QString& text);

    // Shows the page setup dialog; true when the user confirmed it.
    bool PageSetupDialog();

    int HorizontalResolution() const; // dots per inch
    int VerticalResolution() const;
    // The paper, in printer pixels.
    int Width() const;
    int Height() const;
    // The printable area's offset from the paper's corner, negated: drawing at (PageLeft, PageTop)
    // reaches the paper's top left corner.
    int PageLeft() const;
    int PageTop() const;

    QPrinter& Printer() { return *printer_; }

private:
    QString describe() const;

    std::unique_ptr<QPrinter> printer_;
    QString setText_;        // the string last set
    QString setDescription_; // the setup as described right after setting it
};

// Shows the print dialog for ps; a Graphics on the printer's first page, or null when the user
// cancelled or printing could not start. The document is finished when the Graphics is destroyed;
// ps must outlive it.
std::unique_ptr<Graphics> OpenPrinterDialog(PrinterSetup& ps);
// The same in two steps, so that the program can look at the chosen paper before anything is printed:
// the dialog (false when cancelled), then the Graphics that starts the document (null when it cannot).
bool ShowPrintDialog(PrinterSetup& ps);
std::unique_ptr<Graphics> StartPrinting(PrinterSetup& ps);

} // namespace platform
