#include "platform/TextRuns.h"

#include "platform/ProcessState.h"
#include <QCoreApplication>
#include <QTextLayout>
#include <algorithm>
#include <vector>

namespace platform {

namespace {
// The page view redraws the same few texts; they are dropped all at once when there are this many.
constexpr qsizetype MaxKept = 1024;
constexpr std::size_t MaxShared = 32;
std::vector<std::pair<QString, std::shared_ptr<TextRuns>>> gShared; // the last used at the end

QImage EmptyAt(int dpi) {
    if (dpi <= 0)
        dpi = 72;
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    return image;
}
} // namespace

std::shared_ptr<TextRuns> TextRuns::For(const QFont& font, int dpi) {
    auto& shared = gShared;
    // The fonts must go while the application, and with it the font engines, still exists.
    static const bool cleanupAdded = (qAddPostRoutine([] { gShared.clear(); }), true);
    (void)cleanupAdded;
    const QString key = font.family() + ';' + font.families().join(',') + '/' +
                        QString::number(font.pointSizeF(), 'g', 17) + '/' + QString::number(font.weight()) +
                        '/' + QString::number(int(font.style())) + '/' + QString::number(font.underline()) +
                        '/' + QString::number(dpi);
    auto it =
        std::find_if(shared.begin(), shared.end(), [&](const auto& entry) { return entry.first == key; });
    std::shared_ptr<TextRuns> runs = it != shared.end() ? it->second : std::make_shared<TextRuns>(font, dpi);
    if (it != shared.end())
        shared.erase(it);
    else if (shared.size() >= MaxShared)
        shared.erase(shared.begin());
    shared.emplace_back(key, runs);
    return runs;
}

void ResetTextRuns() {
    gShared.clear();
}

TextRuns::TextRuns(const QFont& font, int dpi) : device_(EmptyAt(dpi)), font_(font, &device_) {}

TextRuns::~TextRuns() = default;

const TextRuns::Laid* TextRuns::Lay(const QString& text, bool keep) {
    if (keep) {
        if (auto it = kept_.constFind(text); it != kept_.constEnd())
            return &*it;
        Laid laid;
        if (!layOut(text, glyphs_.data(), positions_.data(), laid.width))
            return nullptr;
        const int count = int(text.size());
        laid.run.setRawFont(raw_);
        laid.run.setGlyphIndexes(QList<quint32>(glyphs_.data(), glyphs_.data() + count));
        laid.run.setPositions(QList<QPointF>(positions_.data(), positions_.data() + count));
        laid.drawable = drawable(text, laid.run);
        if (kept_.size() >= MaxKept)
            kept_.clear();
        return &*kept_.insert(text, std::move(laid));
    }
    if (!layOut(text, glyphs_.data(), positions_.data(), scratch_.width))
        return nullptr;
    if (scratch_.run.rawFont() != raw_)
        scratch_.run.setRawFont(raw_);
    scratch_.run.setRawData(glyphs_.data(), positions_.data(), int(text.size()));
    scratch_.drawable = drawable(text, scratch_.run);
    return &scratch_;
}

bool TextRuns::makeRaw() {
    if (!rawMade_) {
        raw_ = QRawFont::fromFont(font_);
        // A style the font lacks is made up by the font engine when text is drawn; leave that to it.
        rawMatchesStyle_ = raw_.isValid() && (raw_.weight() >= QFont::DemiBold) == font_.bold() &&
                           (raw_.style() != QFont::StyleNormal) == font_.italic();
        rawMade_ = true;
    }
    return raw_.isValid();
}

// Glyphs and pen positions of one glyph per character, and the width: from tables kept per character
// and pair for printable ASCII, else straight from the font.
bool TextRuns::layOut(const QString& text, quint32* glyphs, QPointF* positions, double& width) {
    const qsizetype length = text.size();
    if (length == 0 || length > MaxLength || !makeRaw())
        return false;
    if (std::all_of(text.begin(), text.end(), printable))
        return layOutAscii(text, glyphs, positions, width);
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() >= 0x300)
            return false;
    QPointF advances[MaxLength];
    int count = int(length);
    if (!raw_.glyphIndexesForChars(text.constData(), count, glyphs, &count) || count != length)
        return false;
    if (std::find(glyphs, glyphs + count, 0u) != glyphs + count) // missing: the shaper takes it elsewhere
        return false;
    if (!raw_.advancesForGlyphIndexes(glyphs, advances, count, QRawFont::KernedAdvances))
        return false;
    double x = 0;
    for (int i = 0; i < count; ++i) {
        positions[i] = QPointF(x, 0);
        x += advances[i].x();
    }
    width = x;
    return true;
}

bool TextRuns::layOutAscii(const QString& text, quint32* glyphs, QPointF* positions, double& width) {
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const std::size_t c = text[i].unicode() - First;
        if (!glyphKnown_[c]) {
            int one = 1;
            if (!raw_.glyphIndexesForChars(text.constData() + i, 1, &glyphOf_[c], &one) || one != 1)
                glyphOf_[c] = 0;
            glyphKnown_[c] = true;
        }
        glyphs[i] = glyphOf_[c];
        if (glyphs[i] == 0) // missing here: the shaper takes the glyph from another font
            return false;
    }
    // Kerning moves a glyph against its right neighbour only, so a pair's kerned advance holds in any
    // text. Sums of 1/64 pixels are exact in a double.
    std::int64_t x = 0;
    for (qsizetype i = 0; i < length; ++i) {
        positions[i] = QPointF(x / 64.0, 0);
        Known& known = i + 1 < length ? pair(text[i], text[i + 1]) : single(text[i]);
        if (known.advance == NotYet)
            known.advance = advance64(glyphs[i], i + 1 < length ? glyphs[i + 1] : 0);
        x += known.advance;
    }
    width = x / 64.0;
    return true;
}

std::int32_t TextRuns::advance64(quint32 glyph, quint32 next) {
    const quint32 glyphs[2] = {glyph, next};
    QPointF advances[2];
    if (!raw_.advancesForGlyphIndexes(glyphs, advances, next ? 2 : 1, QRawFont::KernedAdvances))
        return 0;
    return std::int32_t(std::lround(advances[0].x() * 64));
}

// Whether Qt's shaper lays the text out the same, from what is known of its characters and
// neighbours; what is not known yet is learnt from this text.
bool TextRuns::drawable(const QString& text, const QGlyphRun& run) {
    // The layout draws the words and blanks of a text as separate items, each placed anew.
    if (!rawMatchesStyle_ || !std::all_of(text.begin(), text.end(), printable) || text.contains(u' '))
        return false;
    bool unknown = text.size() == 1 && single(text[0]).verdict == Unknown;
    for (qsizetype i = 1; i < text.size() && !unknown; ++i)
        unknown = pair(text[i - 1], text[i]).verdict == Unknown;
    if (unknown)
        learn(text, run);
    if (text.size() == 1)
        return single(text[0]).verdict == Same;
    for (qsizetype i = 1; i < text.size(); ++i)
        if (pair(text[i - 1], text[i]).verdict != Same)
            return false;
    return true;
}

// Lays the text out with Qt's shaper and compares glyph by glyph. Two neighbouring glyphs that match
// in index and place show that their pair is laid out the same. At the first glyph that differs, a
// different glyph is blamed on the pair it starts (a ligature), a different place on the pair it ends
// (kerning that the font's own kerning does not know). A wrong blame only costs speed.
void TextRuns::learn(const QString& text, const QGlyphRun& run) {
    QTextLayout layout(text, font_, &device_);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> shaped = layout.glyphRuns();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    const qsizetype length = text.size();
    qsizetype same = 0; // glyphs that match, from the start
    bool glyphDiffers = true;
    if (shaped.size() == 1 && shaped[0].rawFont() == raw_) {
        const QList<quint32> theirGlyphs = shaped[0].glyphIndexes();
        const QList<QPointF> theirPositions = shaped[0].positions();
        const qsizetype n = std::min(glyphs.size(), theirGlyphs.size());
        while (same < n && theirGlyphs[same] == glyphs[same] &&
               theirPositions[same].x() == positions[same].x() &&
               theirPositions[same].y() == theirPositions[0].y())
            ++same;
        glyphDiffers = same == n || theirGlyphs[same] != glyphs[same];
        if (same == length && theirGlyphs.size() == length) {
            if (length == 1)
                single(text[0]).verdict = Same;
            for (qsizetype i = 1; i < length; ++i)
                pair(text[i - 1], text[i]).verdict = Same;
            return;
        }
    }
    if (length == 1) {
        single(text[0]).verdict = Differs;
        return;
    }
    for (qsizetype i = 1; i < same; ++i)
        pair(text[i - 1], text[i]).verdict = Same;
    const qsizetype end = glyphDiffers ? same + 1 : same; // the blamed pair ends here
    const qsizetype blamed = std::clamp<qsizetype>(end, 1, length - 1);
    pair(text[blamed - 1], text[blamed]).verdict = Differs;
}

} // namespace platform
