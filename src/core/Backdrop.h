// The backdrop behind the document page: the picture as read and a page-sized cache of it, composed
// once (scaled, offset by its bounding box and cut to the mask) at one resolution and then drawn at a
// cell's origin on any surface: the page view, the preview and the print run. A printer is handed the
// picture itself instead of the cache.
#pragma once

#include <array>
#include <memory>

namespace platform {
class Graphics;
class Picture;
} // namespace platform

namespace Module1 {

class Backdrop {
public:
    std::shared_ptr<platform::Picture> Bdx; // the picture as read; null for none
    std::shared_ptr<platform::Picture> cdx; // the composed page-sized cache; null until composed

    // Takes a new picture (null removes it); the cache is composed again before its next use.
    void SetPicture(std::shared_ptr<platform::Picture> picture);
    // When EPSdirty: composes the cache from pic at the current PageResolution and clears EPSdirty. A
    // cache composed from the same picture with the same resolution, page, mask, scale and offsets is
    // kept as it is (a resize or a refit at the same zoom changes nothing of it). A failure is told once
    // and leaves no cache until the next change makes it stale again; false then.
    bool ComposeIfDirty(const std::shared_ptr<platform::Picture>& pic);
    bool ComposeIfDirty() { return ComposeIfDirty(Bdx); }
    // Draws the cache onto g with its top left corner at (x, y) mm, scaled to the document page at the
    // current PageResolution; nothing when there is no cache. On a printer the picture itself is drawn
    // where the cache would show it, cut to the mask and the page: the same picture for every cell, so
    // the printer holds it once, at its own resolution and depth, and no cache is needed.
    void Draw(platform::Graphics& g, double x, double y) const;

private:
    // What the cache was composed from and at: resolution, page size, mask, scale and offsets.
    using Settings = std::array<double, 11>;
    static Settings Current();
    void drawPicture(platform::Graphics& g, double x, double y) const;
    std::weak_ptr<platform::Picture> composedFrom_;
    Settings composedAt_{};
};

} // namespace Module1
