// The window side of the document commands: a new document, opening and saving through the file
// dialogs, and the print run and its preview through the printer dialogs, each bringing the main
// window up to date with the document.
#pragma once

namespace Module1 {

// Resets the document to a new, empty one and shows it in the main window (Filename is kept).
void NewDoc();

// Writes the document to its file, or to one chosen in the save dialog for an untitled document or
// saveAs; false when no file was chosen or it could not be written.
bool SaveFile(bool saveAs);
// Reads the document named by Filename, or one chosen in the open dialog when it is empty; false when
// no file was chosen or it could not be opened.
bool OpenFile();

// The print command: page setup when no setup is stored, the print dialog, then every sheet of the run.
void PrintStart();
// Shows the run's first sheet in the page view until the next press there.
void PrintPreview();

} // namespace Module1
