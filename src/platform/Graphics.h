// Drawing on a picture, a canvas's backing picture or a printer page: the framework's pen and text
// state, lines, rectangles, ovals, text and its measures, pictures, shapes and page breaks.
#pragma once

#include "platform/Color.h"
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

class QPaintDevice;
class QPrinter;

namespace platform {

struct ColourPlanes;
class Picture;
class PrinterImages;
class TextRuns;
struct StringShape;
struct OvalShape;

// Coordinates are device pixels with the origin at the top left. The pen and text state are plain
// fields, read by every drawing call that uses them.
class Graphics {
public:
    // Draws on device. On a picture, painting starts with the first drawing call and End() finishes it
    // so the pixels can be read. On a printer (printer == &device) the document starts at once and is
    // finished when the Graphics is destroyed; the printer must outlive it.
    explicit Graphics(QPaintDevice& device, QPrinter* printer = nullptr);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    Color ForeColor;
    int PenWidth = 1;
    int PenHeight = 1;
    QString TextFont = QStringLiteral("System"); // "System" or "" is the application's font
    double TextSize = 0;                         // pixels at the device's resolution; 0 or less is 12
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool UseOldRenderer = false; // accepted for the program's calls; drawing is the same either way

    int Width() const;
    int Height() const;

    // Drawing a part of a larger surface: what is drawn at (x, y) lands at (x - originX, y - originY) on
    // the device, and only the part within the clip rectangle (in drawing coordinates) is drawn. An
    // empty clip rectangle draws everywhere.
    void SetOrigin(int x, int y);
    void SetClip(const QRect& clip);
    QRect Clip() const { return clip_; }

    // Lines include both end points; the pen is PenWidth x PenHeight (the larger for slanted lines).
    void DrawLine(double x1, double y1, double x2, double y2);
    // Rectangles cover exactly width x height pixels from (x, y); the outline of DrawRect lies inside,
    // PenWidth wide at the sides and PenHeight at top and bottom. Negative sizes extend left or up.
    void DrawRect(double x, double y, double width, double height);
    void FillRect(double x, double y, double width, double height);
    void ClearRect(double x, double y, double width, double height); // back to white

    // Text in ForeColor and the text state, its left end at x and its baseline at y.
    void DrawString(const QString& text, double x, double y);
    double StringWidth(const QString& text);
    // Height of the text wrapped into lines no wider than wrapWidth (no wrapping when 0 or less).
    double StringHeight(const QString& text, double wrapWidth);
    double TextAscent();
    double TextHeight(); // distance from one baseline to the next

    // The whole picture at (x, y), or the source rectangle scaled to the destination rectangle (a
    // picture shrunk to less than half is averaged down; a printer is handed the picture as it is and
    // scales it itself). The part of the source that lies outside the picture draws nothing. A null
    // picture raises NilObjectException.
    void DrawPicture(const Picture& pic, double x, double y);
    void DrawPicture(const Picture& pic, double x, double y, double destWidth, double destHeight, double srcX,
                     double srcY, double srcWidth, double srcHeight);
    void DrawPicture(const std::shared_ptr<Picture>& pic, double x, double y);
    void DrawPicture(const std::shared_ptr<Picture>& pic, double x, double y, double destWidth,
                     double destHeight, double srcX, double srcY, double srcWidth, double srcHeight);

    // A text shape is drawn as a glyph run laid out from its font's own tables where that gives what
    // Qt's text layout gives, else through the layout.
    void DrawObject(const StringShape& shape, double x, double y);
    void DrawObject(const OvalShape& shape, double x, double y);
    // Off, every text shape goes through Qt's text layout: for comparing the two in tests.
    static void SetGlyphRuns(bool on);

    // Starts a new page on a printer; does nothing elsewhere.
    void NextPage();

    // Finishes painting: a picture's pixels are then complete (the next drawing call starts again);
    // a printer's document is closed and takes no more drawing.
    void End();
    bool IsPrinter() const { return printer_ != nullptr; }
    bool IsActive() const;

private:
    struct FontEntry {
        QString family;
        double size;
        bool bold, italic, underline;
        int dpi;
        QFont font;
        QFontMetricsF metrics;
        std::shared_ptr<TextRuns> runs; // taken on first use
    };

    bool begin();
    void startFromKnownState();
    // The part of target that shows: on the device from the drawing origin, and within the clip.
    QRectF shownPart(const QRectF& target) const;
    void drawPlanes(const ColourPlanes& planes, const QRectF& target, const QRectF& part);
    void drawPixels(const QRectF& target, const QRectF& part, const QRect& from, const QImage& pixels);
    int fontIndex(const QString& family, double size, bool bold, bool italic, bool underline);
    FontEntry& stateFont();
    TextRuns& runsOf(FontEntry& font);
    double advance(FontEntry& font, const QString& text);
    void usePainterFont(int index);
    static constexpr int TextPen = 0; // the width that asks usePen for the text pen
    void usePen(const Color& color, int width);
    QTransform viewTransform() const;
    void applyView();

    QPaintDevice& device_;
    QPrinter* printer_;
    QPainter painter_;
    bool finished_ = false;
    // Print runs switch between the few fonts of their objects, so a handful is kept ready.
    std::vector<FontEntry> fonts_;
    int painterFont_ = -1;
    bool penValid_ = false;
    Color penColor_;
    int penWidth_ = 0;
    QPoint origin_;
    QRect clip_;
    std::unique_ptr<PrinterImages> printerImages_; // on a printer, made with the first picture
};

} // namespace platform
