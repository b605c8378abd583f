// Record transfer between the document's records (RecHd, a row of RecPos), their typed mirrors and the
// main window's lists and fields. A list row's tag decides the copy: "A" rows as text, "N" rows as
// numbers shown through NumPic. Only SyncHead and SyncSel catch a missing window control.
#pragma once

#include <QString>
#include <cstdint>

namespace Module1 {

// A number as the lists and fields show it through NumPic or NumPic2, sign included.
QString Shown(double v, const QString& picture);

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

} // namespace Module1
