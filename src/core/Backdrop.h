// The backdrop behind the document page: the picture as read, scaled, offset by its bounding box and cut
// to the mask. The preview and the print run compose a page-sized cache of it once at one resolution
// and draw it at each cell's origin (a printer is handed the picture itself instead); the page view
// composes only what it shows, in tiles at its own resolution, kept while they stay valid.
#pragma once

#include <QRect>
#include <QRegion>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

namespace platform {
class Graphics;
class Picture;
} // namespace platform

namespace Module1 {

class Backdrop {
public:
    std::shared_ptr<platform::Picture> Bdx; // the picture as read; null for none
    std::shared_ptr<platform::Picture> cdx; // the composed page-sized cache; null until composed

    // What a composition of the picture depends on: resolution, page size, mask, scale and offsets.
    using Settings = std::array<double, 11>;
    static Settings Current();

    // Takes a new picture (null removes it); the cache is composed again before its next use.
    void SetPicture(std::shared_ptr<platform::Picture> picture);
    // When EPSdirty: composes the cache from pic at the current PageResolution and clears EPSdirty. A
    // cache composed from the same picture with the same resolution, page, mask, scale and offsets is
    // kept as it is (a resize or a refit at the same zoom changes nothing of it). A failure is told once
    // and leaves no cache until the next change makes it stale again; false then.
    bool ComposeIfDirty(const std::shared_ptr<platform::Picture>& pic);
    bool ComposeIfDirty() { return ComposeIfDirty(Bdx); }
    // Lets the cache go (it is composed again when next needed): a preview or a run holds a cache at the
    // picture's own resolution, as large as the picture, which nothing uses afterwards.
    void ReleaseCache();
    // Draws the cache onto g with its top left corner at (x, y) mm, scaled to the document page at the
    // current PageResolution; nothing when there is no cache. On a printer the picture itself is drawn
    // where the cache would show it, cut to the mask and the page: the same picture for every cell, so
    // the printer holds it once, at its own resolution and depth, and no cache is needed.
    void Draw(platform::Graphics& g, double x, double y) const;

    // Draws the part area of the page (page pixels at the current PageResolution, the page's corner at
    // g's drawing origin) as the cache composed now would show it, from tiles of the picture composed at
    // that resolution. Tiles are kept, within a few views' worth, while the picture and its settings stay
    // the same; only what is missing of them is composed.
    void DrawTiles(platform::Graphics& g, const QRect& area);
    // Pixels of tiles composed so far, for telling what a repaint cost.
    std::int64_t TilePixelsComposed() const { return tilePixels_; }

private:
    // Composes the backdrop's part area (page pixels) into out, whose top left corner is page pixel
    // origin: white, and pic within the mask and the page.
    static void ComposePart(const platform::Picture& pic, platform::Picture& out, QPoint origin,
                            const QRect& area);
    std::weak_ptr<platform::Picture> composedFrom_;
    Settings composedAt_{};

    struct Tile {
        std::shared_ptr<platform::Picture> picture;
        QRegion composed; // page pixels
        std::uint64_t used = 0;
    };
    std::map<std::pair<int, int>, Tile> tiles_;
    std::weak_ptr<platform::Picture> tilesFrom_;
    Settings tilesAt_{};
    std::uint64_t useCount_ = 0;
    std::int64_t tilePixels_ = 0;
};

} // namespace Module1
