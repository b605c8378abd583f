// The window side of the document commands: a new document, opening and saving through the file
// dialogs, and the print run and its preview through the printer dialogs, each bringing the main
// window up to date with the document.
#pragma once

#include <QString>

namespace Module1 {

// What became of an open or a save: done, cancelled in its dialog, or failed (message says why, in
// the user's words, naming the file).
struct FileOutcome {
    enum Kind { Done, Cancelled, Failed } kind = Cancelled;
    QString message;
};

// Resets the document to a new, empty one and shows it in the main window (Filename is kept).
void NewDoc();

// Writes the document to its file, or to one chosen in the save dialog for an untitled document or
// saveAs. A failed write leaves the old file, the document's names, DirtyFlag and the window as they
// were.
FileOutcome SaveDocument(bool saveAs);
// As SaveDocument: true when the file was written.
bool SaveFile(bool saveAs);
// Reads the document named by Filename, or one chosen in the open dialog when it is empty. A file that
// cannot be read or is not a document leaves the current document, and Filename, as they were.
FileOutcome OpenDocument();
// Reads a document chosen in the open dialog, which starts in the current document's folder. Cancelled
// or refused, the current document stays as it was, its file name and DirtyFlag included.
FileOutcome OpenChosenDocument();
// As OpenDocument: true when a document was read.
bool OpenFile();

// When the document has unsaved changes, asks whether to save them first: true when the caller may
// go on (saved, or the changes are to be dropped), false to leave everything as it is.
bool OfferToSaveChanges();

// The print command: page setup when no setup is stored, the print dialog, then every sheet of the run.
void PrintStart();
// Shows the run's first sheet in the page view until the next press there.
void PrintPreview();

} // namespace Module1
