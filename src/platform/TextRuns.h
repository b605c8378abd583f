// Short texts in one font laid out from the font's own glyphs and kerning, without Qt's shaper: their
// width, and glyph runs that draw exactly what QPainter::drawText draws, for the texts where that holds.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>

namespace platform {

class TextRuns {
public:
    // The font at dpi dots per inch, as every surface of that resolution lays it out. Surfaces share
    // one (the page view is a new picture at every repaint); the last few used are kept.
    static std::shared_ptr<TextRuns> For(const QFont& font, int dpi);
    TextRuns(const QFont& font, int dpi);
    ~TextRuns();

    static constexpr qsizetype MaxLength = 256;

    struct Laid {
        double width = 0; // the sum of the kerned advances
        QGlyphRun run;    // glyphs and positions, the origin at the left end of the baseline
        bool drawable = false;
    };

    // The text laid out from the font's tables; nullptr for a long text, one with a character that
    // needs the shaper (combining marks and beyond) or one this font has no glyph for (the shaper
    // takes it from another font). The run is drawable when drawText would give the same glyphs at
    // the same positions. The pointer is valid until the next call. keep keeps the text laid out for
    // the next time, for surfaces that draw the same texts again and again (the page view); a printer
    // draws new numbers all the time and keeps none.
    const Laid* Lay(const QString& text, bool keep);

private:
    enum Verdict : std::uint8_t { Unknown, Same, Differs };
    static constexpr char16_t First = 0x20, Count = 0x7f - 0x20; // printable ASCII
    static constexpr std::size_t Pairs = std::size_t(Count) * Count;
    static constexpr std::int32_t NotYet = std::numeric_limits<std::int32_t>::min();
    // One printable ASCII character, or one followed by another: what is known of it so far.
    struct Known {
        std::int32_t advance = NotYet; // in 1/64 pixel, kerned against the next character
        Verdict verdict = Unknown;     // how Qt's shaper lays it out, compared with the font's tables
    };

    bool makeRaw();
    bool layOut(const QString& text, quint32* glyphs, QPointF* positions, double& width);
    bool layOutAscii(const QString& text, quint32* glyphs, QPointF* positions, double& width);
    std::int32_t advance64(quint32 glyph, quint32 next);
    bool drawable(const QString& text, const QGlyphRun& run);
    void learn(const QString& text, const QGlyphRun& run);
    static bool printable(QChar c) { return c.unicode() >= First && c.unicode() < First + Count; }
    Known& single(QChar c) { return singles_[std::size_t(c.unicode() - First)]; }
    Known& pair(QChar a, QChar b) {
        return (*pairs_)[std::size_t((a.unicode() - First) * Count + b.unicode() - First)];
    }

    QImage device_; // an empty picture at the resolution, for the font and the shaper
    QFont font_;
    QRawFont raw_;
    bool rawMade_ = false;
    bool rawMatchesStyle_ = false;
    QHash<QString, Laid> kept_;
    // A printer's text: laid out into these arrays, which its run points into.
    Laid scratch_;
    std::array<quint32, MaxLength> glyphs_{};
    std::array<QPointF, MaxLength> positions_{};
    // The glyph of every printable ASCII character (0: none), looked up once.
    std::array<quint32, Count> glyphOf_{};
    std::array<bool, Count> glyphKnown_{};
    // What Qt's shaper does with each character alone and each pair of neighbours, learnt from the
    // texts met so far: kerning from tables the font's own kerning does not read, ligatures.
    std::array<Known, Count> singles_{};
    std::unique_ptr<std::array<Known, Pairs>> pairs_ = std::make_unique<std::array<Known, Pairs>>();
};

} // namespace platform
