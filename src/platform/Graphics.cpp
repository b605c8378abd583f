#include "platform/Graphics.h"

#include <QTransform>

#include "platform/AverageDown.h"
#include "platform/Exceptions.h"
#include "platform/Fonts.h"
#include "platform/Picture.h"
#include "platform/PrinterImages.h"
#include "platform/TextRuns.h"

#include <QPrinter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {
constexpr double DefaultTextSize = 12;
// Qt's font engines give nonsense beyond 16-bit pixel sizes; nothing printable is anywhere near.
constexpr double MaxTextSize = 32767;
constexpr std::size_t MaxCachedFonts = 16;

QRectF normalised(double x, double y, double width, double height) {
    return QRectF(x, y, width, height).normalized();
}
} // namespace

Graphics::Graphics(QPaintDevice& device, QPrinter* printer) : device_(device), printer_(printer) {
    // A printer's document starts now; one that cannot start takes no drawing at all.
    if (printer_ && !begin())
        finished_ = true;
}

Graphics::~Graphics() {
    End();
}

bool Graphics::IsActive() const {
    return painter_.isActive();
}

int Graphics::Width() const {
    return device_.width();
}
int Graphics::Height() const {
    return device_.height();
}

bool Graphics::begin() {
    if (painter_.isActive())
        return true;
    if (finished_ || !painter_.begin(&device_))
        return false;
    startFromKnownState();
    applyView();
    painterFont_ = -1;
    penValid_ = false;
    return true;
}

// Qt's PDF engine keeps the pen, brush, transform and the rest of an earlier job on the same printer,
// and a painter passes on only what it marks changed; a value equal to its default, as the first black
// pen, is never marked. Every part is set to something else and back, so the engine takes all of them,
// whatever the device and whatever ran on it before.
void Graphics::startFromKnownState() {
    painter_.setPen(Qt::NoPen);
    painter_.setPen(QPen());
    painter_.setBrush(Qt::black);
    painter_.setBrush(Qt::NoBrush);
    painter_.setOpacity(0);
    painter_.setOpacity(1);
    painter_.setFont(SystemFont());
    painter_.setWorldTransform(QTransform::fromTranslate(1, 0));
    painter_.resetTransform();
    painter_.setClipRect(QRect(0, 0, 1, 1));
    painter_.setClipping(false);
}

QTransform Graphics::viewTransform() const {
    return QTransform::fromTranslate(-origin_.x(), -origin_.y());
}

void Graphics::applyView() {
    if (!painter_.isActive())
        return;
    if (!origin_.isNull() || painter_.worldTransform().isTranslating())
        painter_.setWorldTransform(viewTransform());
    if (clip_.isEmpty())
        painter_.setClipping(false);
    else
        painter_.setClipRect(clip_); // taken in drawing coordinates, through the transform just set
}

void Graphics::SetOrigin(int x, int y) {
    origin_ = QPoint(x, y);
    applyView();
}

void Graphics::SetClip(const QRect& clip) {
    clip_ = clip;
    applyView();
}

void Graphics::End() {
    if (painter_.isActive())
        painter_.end();
    if (printer_)
        finished_ = true;
    painterFont_ = -1;
    penValid_ = false;
}

void Graphics::NextPage() {
    if (printer_ && begin())
        printer_->newPage();
}

int Graphics::fontIndex(const QString& family, double size, bool bold, bool italic, bool underline) {
    if (!(size > 0))
        size = DefaultTextSize;
    size = std::min(size, MaxTextSize);
    const int dpi = device_.logicalDpiY();
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        const FontEntry& f = fonts_[i];
        if (f.size == size && f.bold == bold && f.italic == italic && f.underline == underline &&
            f.dpi == dpi && f.family == family)
            return int(i);
    }
    if (fonts_.size() >= MaxCachedFonts) {
        fonts_.clear();
        painterFont_ = -1;
    }
    QFont font = SystemFont();
    if (!family.isEmpty() && family != QLatin1String("System"))
        font.setFamilies({family});
    // The painter turns points into pixels at the device's resolution, so this gives exactly size pixels.
    font.setPointSizeF(size * 72.0 / (dpi > 0 ? dpi : 72));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    fonts_.push_back(
        FontEntry{family, size, bold, italic, underline, dpi, font, QFontMetricsF(font, &device_), nullptr});
    return int(fonts_.size()) - 1;
}

Graphics::FontEntry& Graphics::stateFont() {
    return fonts_[std::size_t(fontIndex(TextFont, TextSize, Bold, Italic, Underline))];
}

void Graphics::usePainterFont(int index) {
    if (painterFont_ != index) {
        painter_.setFont(fonts_[std::size_t(index)].font);
        painterFont_ = index;
    }
}

void Graphics::usePen(const Color& color, int width) {
    if (penValid_ && penColor_ == color && penWidth_ == width)
        return;
    // Text takes only the pen's colour; Qt's default pen for it keeps the PDF engine from restating
    // cap and join around every turned text. Lines and rectangles get square ends and mitred corners.
    if (width == TextPen)
        painter_.setPen(QPen(color.toQColor()));
    else
        painter_.setPen(QPen(color.toQColor(), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    penValid_ = true;
    penColor_ = color;
    penWidth_ = width;
}

void Graphics::DrawLine(double x1, double y1, double x2, double y2) {
    if (!begin())
        return;
    usePen(ForeColor, std::max({PenWidth, PenHeight, 1}));
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void Graphics::DrawRect(double x, double y, double width, double height) {
    const QRectF r = normalised(x, y, width, height);
    if (r.isEmpty() || !begin())
        return;
    const double pw = std::max(PenWidth, 1), ph = std::max(PenHeight, 1);
    const QColor c = ForeColor.toQColor();
    if (2 * pw >= r.width() || 2 * ph >= r.height()) {
        painter_.fillRect(r, c);
        return;
    }
    painter_.fillRect(QRectF(r.left(), r.top(), r.width(), ph), c);
    painter_.fillRect(QRectF(r.left(), r.bottom() - ph, r.width(), ph), c);
    painter_.fillRect(QRectF(r.left(), r.top() + ph, pw, r.height() - 2 * ph), c);
    painter_.fillRect(QRectF(r.right() - pw, r.top() + ph, pw, r.height() - 2 * ph), c);
}

void Graphics::FillRect(double x, double y, double width, double height) {
    const QRectF r = normalised(x, y, width, height);
    if (!r.isEmpty() && begin())
        painter_.fillRect(r, ForeColor.toQColor());
}

void Graphics::ClearRect(double x, double y, double width, double height) {
    const QRectF r = normalised(x, y, width, height);
    if (!r.isEmpty() && begin())
        painter_.fillRect(r, Qt::white);
}

void Graphics::DrawString(const QString& text, double x, double y) {
    if (text.isEmpty() || !begin())
        return;
    usePainterFont(fontIndex(TextFont, TextSize, Bold, Italic, Underline));
    usePen(ForeColor, TextPen);
    painter_.drawText(QPointF(x, y), text);
}

double Graphics::StringWidth(const QString& text) {
    return advance(stateFont(), text);
}

TextRuns& Graphics::runsOf(FontEntry& font) {
    if (!font.runs)
        font.runs = TextRuns::For(font.font, font.dpi);
    return *font.runs;
}

// Width of a text. Text that needs no shaping (below the combining marks, every character in the font)
// is measured from the font's own advances and kerning, which is several times cheaper than a full
// layout; everything else goes through the shaper.
double Graphics::advance(FontEntry& font, const QString& text) {
    if (const TextRuns::Laid* laid = runsOf(font).Lay(text, printer_ == nullptr))
        return laid->width;
    return font.metrics.horizontalAdvance(text);
}

double Graphics::TextAscent() {
    return stateFont().metrics.ascent();
}

double Graphics::TextHeight() {
    return stateFont().metrics.lineSpacing();
}

double Graphics::StringHeight(const QString& text, double wrapWidth) {
    const FontEntry& f = stateFont();
    QString paragraph = text;
    paragraph.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    paragraph.replace(QLatin1Char('\r'), QChar::LineSeparator)
        .replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(paragraph, f.font, &device_);
    QTextOption option;
    option.setWrapMode(wrapWidth > 0 ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    int lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (wrapWidth > 0)
            line.setLineWidth(wrapWidth);
        ++lines;
    }
    layout.endLayout();
    return std::max(lines, 1) * f.metrics.lineSpacing();
}

QRectF Graphics::shownPart(const QRectF& target) const {
    QRectF shows = target & QRectF(origin_, QSizeF(Width(), Height()));
    if (!clip_.isEmpty())
        shows &= QRectF(clip_);
    return shows;
}

namespace {
// The pixels of a picture under drawn, a part of target where the picture's part is drawn: whole pixels,
// margin more each way for smoothing, within the part.
QRect PixelsUnder(const QRectF& target, const QRectF& part, const QRectF& drawn, int margin) {
    const double sx = part.width() / target.width(), sy = part.height() / target.height();
    return QRectF(part.left() + (drawn.left() - target.left()) * sx,
                  part.top() + (drawn.top() - target.top()) * sy, drawn.width() * sx, drawn.height() * sy)
               .toAlignedRect()
               .adjusted(-margin, -margin, margin, margin) &
           part.toAlignedRect();
}
} // namespace

// pixels holds the picture's pixels from (within the part); what of them lies in the part is drawn where
// target puts it.
void Graphics::drawPixels(const QRectF& target, const QRectF& part, const QRect& from, const QImage& pixels) {
    const double sx = part.width() / target.width(), sy = part.height() / target.height();
    const QRectF drawn = QRectF(from) & part;
    painter_.drawImage(QRectF(target.left() + (drawn.left() - part.left()) / sx,
                              target.top() + (drawn.top() - part.top()) / sy, drawn.width() / sx,
                              drawn.height() / sy),
                       pixels, drawn.translated(-from.topLeft()));
}

void Graphics::DrawPicture(const Picture& pic, double x, double y) {
    DrawPicture(pic, x, y, pic.Width(), pic.Height(), 0, 0, pic.Width(), pic.Height());
}

void Graphics::DrawPicture(const Picture& pic, double x, double y, double destWidth, double destHeight,
                           double srcX, double srcY, double srcWidth, double srcHeight) {
    if (!(destWidth > 0 && destHeight > 0 && srcWidth > 0 && srcHeight > 0))
        return;
    const ColourPlanes* planes = pic.Planes();
    static const QImage none;
    const QImage& image = planes ? none : pic.Image(); // finishes any drawing into pic first
    const QRectF source(srcX, srcY, srcWidth, srcHeight);
    const QRectF part = source.intersected(QRectF(0, 0, pic.Width(), pic.Height()));
    if (part.isEmpty() || !begin())
        return;
    const double sx = destWidth / srcWidth, sy = destHeight / srcHeight;
    const QRectF target(x + (part.left() - srcX) * sx, y + (part.top() - srcY) * sy, part.width() * sx,
                        part.height() * sy);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, target.size() != part.size());
    if (printer_) {
        if (!printerImages_)
            printerImages_ = std::make_unique<PrinterImages>();
        printerImages_->Draw(painter_, *printer_, target, planes ? printerImages_->Whole(pic) : image, part);
        return;
    }
    // Shrunk to less than half, plain filtering skips source pixels and thin lines and small text break
    // up; the part is averaged down to its drawn size first (a side that grows is stretched by the
    // drawing). Only the window of it that shows within the clip and the device is made, a pixel wider
    // for the smoothing of a stretched side: each of its pixels is the same as in the whole.
    if (target.width() * 2 < part.width() || target.height() * 2 < part.height()) {
        const QRect aligned = part.toAlignedRect();
        const QSize size = QSize(std::max(1, qRound(target.width())), std::max(1, qRound(target.height())))
                               .boundedTo(aligned.size());
        const QRectF shows = shownPart(target);
        if (shows.isEmpty())
            return;
        const double kx = size.width() / target.width(), ky = size.height() / target.height();
        const QRect window = QRectF((shows.left() - target.left()) * kx, (shows.top() - target.top()) * ky,
                                    shows.width() * kx, shows.height() * ky)
                                 .toAlignedRect()
                                 .adjusted(-1, -1, 1, 1) &
                             QRect(QPoint(), size);
        if (window.isEmpty())
            return;
        // A picture is held one-bit, grey or colour, each averaged a row at a time as it is; Qt's own
        // smooth scaling would first copy a whole one-bit or grey picture into 32-bit colour.
        const QImage shrunk = planes ? AverageDownPlanes(*planes, aligned, size, window)
                                     : AverageDown(image, aligned, size, window);
        painter_.drawImage(QRectF(target.left() + window.left() / kx, target.top() + window.top() / ky,
                                  window.width() / kx, window.height() / ky),
                           shrunk);
        return;
    }
    if (planes) {
        drawPlanes(*planes, target, part);
        return;
    }
    if (static_cast<const QPaintDevice*>(&image) == &device_) {
        painter_.drawImage(target, image.copy(part.toAlignedRect()), QRectF(QPointF(0, 0), part.size()));
        return;
    }
    // Qt smooths one-bit and grey pictures a pixel at a time through their colour table; the part that
    // shows, with two pixels around it for the smoothing, is copied into colour first, where Qt smooths
    // whole rows at once to the same pixels.
    if (image.depth() <= 8 && target.size() != part.size()) {
        const QRectF shows = shownPart(target);
        const QRect needed = PixelsUnder(target, part, shows, 2);
        if (shows.isEmpty() || needed.isEmpty())
            return;
        if (qint64(needed.width()) * needed.height() < (qint64(1) << 22)) {
            drawPixels(target, part, needed, image.copy(needed).convertToFormat(QImage::Format_RGB32));
            return;
        }
    }
    painter_.drawImage(target, image, part);
}

// Colour is made of the planes only for the part that shows, with two pixels around it for the smoothing
// of a scaled part, and a band of rows at a time: the preview's page-sized cache at the picture's own
// resolution is drawn through it too. Each band is drawn within its own whole rows of the device.
void Graphics::drawPlanes(const ColourPlanes& planes, const QRectF& target, const QRectF& part) {
    const QRectF shows = shownPart(target);
    if (shows.isEmpty())
        return;
    const int margin = target.size() == part.size() ? 0 : 2;
    auto needed = [&](const QRectF& drawn) { return PixelsUnder(target, part, drawn, margin); };
    auto draw = [&](const QRect& from) {
        const QImage colour = PlanesToRgb(planes, from);
        if (!colour.isNull())
            drawPixels(target, part, from, colour);
    };
    const QRect all = needed(shows);
    if (all.isEmpty())
        return;
    constexpr qint64 BandPixels = qint64(1) << 22;
    if (qint64(all.width()) * all.height() <= BandPixels) {
        draw(all);
        return;
    }
    const int top = int(std::floor(shows.top())), bottom = int(std::ceil(shows.bottom()));
    const double sy = part.height() / target.height();
    const int rows = std::max(1, int(BandPixels / all.width() / std::max(sy, 1.0)));
    for (int y = top; y < bottom; y += rows) {
        const QRectF band = shows & QRectF(shows.left(), y, shows.width(), rows);
        const QRect from = needed(band);
        if (band.isEmpty() || from.isEmpty())
            continue;
        painter_.save();
        painter_.setClipRect(QRectF(shows.left(), y, shows.width(), rows), Qt::IntersectClip);
        draw(from);
        painter_.restore();
    }
}

void Graphics::DrawPicture(const std::shared_ptr<Picture>& pic, double x, double y) {
    if (!pic)
        throw NilObjectException();
    DrawPicture(*pic, x, y);
}

void Graphics::DrawPicture(const std::shared_ptr<Picture>& pic, double x, double y, double destWidth,
                           double destHeight, double srcX, double srcY, double srcWidth, double srcHeight) {
    if (!pic)
        throw NilObjectException();
    DrawPicture(*pic, x, y, destWidth, destHeight, srcX, srcY, srcWidth, srcHeight);
}

} // namespace platform
