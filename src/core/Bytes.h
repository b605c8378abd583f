// Bounds-checked reads of big- and little-endian integers from bytes held in memory: a read that would
// run past the end gives nothing instead of touching memory that is not there.
#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <optional>

namespace backdrop {

inline bool HasBytes(QByteArrayView b, qint64 at, qint64 count) {
    return at >= 0 && count >= 0 && at <= b.size() && count <= b.size() - at;
}

inline std::optional<std::uint32_t> ReadUInt(QByteArrayView b, qint64 at, int count, bool bigEndian) {
    if (!HasBytes(b, at, count))
        return std::nullopt;
    std::uint32_t v = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t byte = std::uint8_t(b[at + (bigEndian ? i : count - 1 - i)]);
        v = (v << 8) | byte;
    }
    return v;
}

inline std::optional<std::uint32_t> U32BE(QByteArrayView b, qint64 at) {
    return ReadUInt(b, at, 4, true);
}
inline std::optional<std::uint32_t> U16BE(QByteArrayView b, qint64 at) {
    return ReadUInt(b, at, 2, true);
}
inline std::optional<std::uint32_t> U32LE(QByteArrayView b, qint64 at) {
    return ReadUInt(b, at, 4, false);
}
inline std::optional<std::uint32_t> U16LE(QByteArrayView b, qint64 at) {
    return ReadUInt(b, at, 2, false);
}

// The bytes [at, at + count) of b, or nothing when they do not all lie within b.
inline std::optional<QByteArrayView> Slice(QByteArrayView b, qint64 at, qint64 count) {
    if (!HasBytes(b, at, count))
        return std::nullopt;
    return b.sliced(at, count);
}

} // namespace backdrop
