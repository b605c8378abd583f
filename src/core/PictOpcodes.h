// The opcodes of a QuickDraw picture (PICT), walked without drawing them, to tell a complete picture from
// one that was cut short.
#pragma once

#include <QByteArrayView>

namespace backdrop {

// True when the picture (from its size word on, without the 512-byte file header) is version 1 or 2 and
// its opcodes, read as the PICT format lays them out, run to the end-of-picture opcode within the bytes.
bool PictRunsToEnd(QByteArrayView picture);

} // namespace backdrop
