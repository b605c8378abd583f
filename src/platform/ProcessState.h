// What the platform layer keeps for as long as the process runs, and the call that puts all of it back
// as it is when the program starts, which the test main makes before every test.
#pragma once

namespace platform {

// No shared menu bar nor application menu handler; the font list and the kept text runs asked for
// anew; text shapes drawn as glyph runs; no exception message counted as showing; no drawing job
// keeping freed memory; no modal-window actions queued, attended, no unattended closes counted, the
// default quit action; Qt's own dialogs for questions to the user. Open windows are not part of it:
// each has an owner that closes it (the test main closes those a test leaves open).
void ResetProcessState();

// Its parts, each defined beside the state it puts back.
void ResetMenus();
void ResetFontList();
void ResetTextRuns();
void ResetEscapedMessages();
void ResetKeptMemory();
void ResetWindowHooks();

} // namespace platform
