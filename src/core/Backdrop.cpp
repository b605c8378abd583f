#include "core/Backdrop.h"

#include "core/Module1.h"
#include "core/QVutils.h"
#include "platform/Exceptions.h"
#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"
#include "platform/SideBySide.h"
#include "platform/UserQuestions.h"

#include <QRect>
#include <algorithm>
#include <vector>

using namespace platform;

namespace Module1 {

void Backdrop::SetPicture(std::shared_ptr<Picture> picture) {
    Bdx = std::move(picture);
    cdx = nullptr;
    tiles_.clear();
    EPSdirty = true;
}

Backdrop::Settings Backdrop::Current() {
    return {double(PageResolution), AdocWidth,     AdocHeight, EPSmaskX,  EPSmaskY,
            EPSmaskWidth,           EPSmaskHeight, EPSscaleX,  EPSscaleY, QVutils::EPSBoundBoxX,
            QVutils::EPSBoundBoxY};
}

namespace {
// The side of a tile in pixels, and how many are kept: a few views' worth.
constexpr int TileSide = 256;
constexpr std::size_t KeptTiles = 48;

// The mask in pixels at the current resolution, from (x, y) mm; a mask far larger than any page keeps
// its corners well within the range of an int.
QRect MaskRect(double x, double y) {
    auto px = [](double mm) { return Int(std::clamp(mms(mm), -1e9, 1e9)); };
    return QRect(px(x + EPSmaskX), px(y + EPSmaskY), px(EPSmaskWidth), px(EPSmaskHeight));
}

// Draws pic onto g as the backdrop shows it with the page's corner at (x, y) mm: scaled, offset by its
// bounding box and cut to the page, the mask and within (an empty within cuts nothing more), which is
// g's clip afterwards. wholePixels: at a size in whole pixels, as the cache is composed.
void DrawCut(Graphics& g, const Picture& pic, double x, double y, const QRect& within, bool wholePixels) {
    const QRect page(Int(mms(x)), Int(mms(y)), Int(mms(AdocWidth)), Int(mms(AdocHeight)));
    const QRect mask = MaskRect(x, y);
    const QRect shown = within.isEmpty() ? page & mask : page & mask & within;
    if (shown.isEmpty())
        return;
    double dw = pic.Width() * (double(PageResolution) / pic.HorizontalResolution()) * (EPSscaleX / 100);
    double dh = pic.Height() * (double(PageResolution) / pic.VerticalResolution()) * (EPSscaleY / 100);
    if (wholePixels) {
        dw = Int(dw);
        dh = Int(dh);
    }
    g.SetClip(shown);
    g.DrawPicture(pic, mask.left() + Int(mms(-QVutils::EPSBoundBoxX)),
                  mask.top() + Int(mms(-QVutils::EPSBoundBoxY)), dw, dh, 0, 0, pic.Width(), pic.Height());
    g.SetClip(within);
}
} // namespace

void Backdrop::ComposePart(const Picture& pic, Picture& out, QPoint origin, const QRect& area) {
    Graphics& g = out.Graphics();
    g.SetOrigin(origin.x(), origin.y());
    g.SetClip(area);
    g.ClearRect(area.x(), area.y(), area.width(), area.height());
    DrawCut(g, pic, 0, 0, area, true);
    g.SetClip(QRect());
    g.SetOrigin(0, 0);
}

bool Backdrop::ComposeIfDirty(const std::shared_ptr<Picture>& pic) {
    if (!EPSdirty)
        return true;
    if (cdx && pic && pic == composedFrom_.lock() && Current() == composedAt_) {
        EPSdirty = false;
        return true;
    }
    try {
        if (!pic)
            throw NilObjectException();
        cdx = nullptr; // the old cache goes before the new one is made
        cdx = NewPicture(Int(mms(AdocWidth)), Int(mms(AdocHeight)), pic->Depth());
        if (!cdx) {
            // Told once: the cache stays empty until the next change makes it stale again, instead of
            // the message coming back with every repaint it causes.
            MsgBox("Error Creating Temp Offscreen Page (2) - Memory short!");
            EPSdirty = false;
            EPSredraw = false; // nothing to draw
            return false;
        }
        cdx->SetHorizontalResolution(pic->HorizontalResolution());
        cdx->SetVerticalResolution(pic->VerticalResolution());
        cdx->Graphics().UseOldRenderer = true;
        EPSdirty = false;
        composedFrom_ = pic;
        composedAt_ = Current();
        // Cut to the mask as it is drawn: no picture of the mask is needed.
        ComposePart(*pic, *cdx, QPoint(), QRect(0, 0, cdx->Width(), cdx->Height()));
        cdx->Graphics().End();
        return true;
    } catch (const NilObjectException& e) {
        MsgBox(e.Message + "Drawing backdrop");
        return false;
    }
}

void Backdrop::ReleaseCache() {
    cdx = nullptr;
    EPSdirty = true;
}

void Backdrop::DrawTiles(Graphics& g, const QRect& wanted) {
    if (!Bdx)
        return;
    const Settings now = Current();
    if (Bdx != tilesFrom_.lock() || now != tilesAt_) {
        tiles_.clear();
        tilesFrom_ = Bdx;
        tilesAt_ = now;
    }
    const QRect area = wanted & QRect(0, 0, Int(mms(AdocWidth)), Int(mms(AdocHeight)));
    if (area.isEmpty())
        return;
    const std::uint64_t drawing = ++useCount_;
    struct Part {
        Tile* tile;
        QRect place, part;
        QRegion missing;
    };
    std::vector<Part> parts;
    for (int ty = area.top() / TileSide; ty <= area.bottom() / TileSide; ++ty)
        for (int tx = area.left() / TileSide; tx <= area.right() / TileSide; ++tx) {
            const QRect place(tx * TileSide, ty * TileSide, TileSide, TileSide);
            Tile& tile = tiles_[{tx, ty}];
            tile.used = drawing;
            // Made without filling it: every piece of it is cleared as it is composed.
            if (!tile.picture &&
                !(tile.picture = PictureFromImage(QImage(TileSide, TileSide, QImage::Format_RGB32))))
                continue; // memory short: this part stays white
            const QRect part = area & place;
            parts.push_back({&tile, place, part, QRegion(part) - tile.composed});
        }

    // What is missing of each tile is composed; tiles side by side on Qt's thread pool when there is
    // enough of them to be worth it (each tile is a picture of its own).
    std::vector<const Part*> toCompose;
    std::int64_t missing = 0;
    for (const Part& p : parts) {
        for (const QRect& piece : p.missing)
            missing += std::int64_t(piece.width()) * piece.height();
        if (!p.missing.isEmpty())
            toCompose.push_back(&p);
    }
    tilePixels_ += missing;
    auto compose = [this, &toCompose](int i) {
        const Part& p = *toCompose[std::size_t(i)];
        for (const QRect& piece : p.missing)
            ComposePart(*Bdx, *p.tile->picture, p.place.topLeft(), piece);
        p.tile->picture->Graphics().End();
    };
    const int count = int(toCompose.size());
    if (count > 1 && missing >= TileSide * TileSide)
        ShareOutPieces(count, compose);
    else
        for (int i = 0; i < count; ++i)
            compose(i);

    for (Part& p : parts) {
        p.tile->composed += p.missing;
        g.DrawPicture(*p.tile->picture, p.part.x(), p.part.y(), p.part.width(), p.part.height(),
                      p.part.x() - p.place.x(), p.part.y() - p.place.y(), p.part.width(), p.part.height());
    }
    // The tiles used longest ago go first; those just drawn stay.
    while (tiles_.size() > KeptTiles) {
        auto oldest = std::min_element(tiles_.begin(), tiles_.end(), [](const auto& a, const auto& b) {
            return a.second.used < b.second.used;
        });
        if (oldest->second.used == drawing)
            break;
        tiles_.erase(oldest);
    }
}

void Backdrop::Draw(Graphics& g, double x, double y) const {
    if (g.IsPrinter()) {
        if (Bdx)
            DrawCut(g, *Bdx, x, y, g.Clip(), false);
    } else if (cdx) {
        g.DrawPicture(cdx, Int(mms(x)), Int(mms(y)), Int(mms(AdocWidth)), Int(mms(AdocHeight)), 0, 0,
                      cdx->Width(), cdx->Height());
    }
}

} // namespace Module1
