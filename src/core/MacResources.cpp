#include "core/MacResources.h"

#include "core/Bytes.h"

#include <QDir>
#include <QFileInfo>

namespace backdrop {

namespace {
constexpr std::uint32_t kAppleDoubleMagic = 0x00051607;
constexpr std::uint32_t kResourceForkEntry = 2;
} // namespace

QString AppleDoublePath(const QString& path) {
    const QFileInfo info(path);
    return info.dir().filePath("._" + info.fileName());
}

std::optional<QByteArrayView> AppleDoubleResourceFork(QByteArrayView b) {
    if (U32BE(b, 0) != kAppleDoubleMagic)
        return std::nullopt;
    const auto entries = U16BE(b, 24);
    for (std::uint32_t i = 0; entries && i < *entries; ++i) {
        const qint64 entry = 26 + 12 * qint64(i);
        const auto id = U32BE(b, entry), offset = U32BE(b, entry + 4), length = U32BE(b, entry + 8);
        if (!id || !offset || !length)
            return std::nullopt;
        if (*id == kResourceForkEntry)
            return Slice(b, *offset, *length);
    }
    return std::nullopt;
}

std::optional<QByteArrayView> FindResource(QByteArrayView fork, QByteArrayView type, int id) {
    const auto dataOffset = U32BE(fork, 0), mapOffset = U32BE(fork, 4);
    const auto dataLength = U32BE(fork, 8), mapLength = U32BE(fork, 12);
    if (!dataOffset || !mapOffset || !dataLength || !mapLength)
        return std::nullopt;
    const auto data = Slice(fork, *dataOffset, *dataLength);
    const auto map = Slice(fork, *mapOffset, *mapLength);
    if (!data || !map)
        return std::nullopt;
    const auto typeListOffset = U16BE(*map, 24);
    if (!typeListOffset)
        return std::nullopt;
    const qint64 typeList = *typeListOffset;
    const auto lastType = U16BE(*map, typeList);
    if (!lastType || *lastType == 0xFFFF) // the count is stored less one: 0xFFFF means no types
        return std::nullopt;
    for (std::uint32_t t = 0; t <= *lastType; ++t) {
        const qint64 typeEntry = typeList + 2 + 8 * qint64(t);
        const auto code = Slice(*map, typeEntry, 4);
        const auto lastRef = U16BE(*map, typeEntry + 4), refList = U16BE(*map, typeEntry + 6);
        if (!code || !lastRef || !refList)
            return std::nullopt;
        if (*code != type)
            continue;
        for (std::uint32_t r = 0; r <= *lastRef; ++r) {
            const qint64 ref = typeList + *refList + 12 * qint64(r);
            const auto refId = U16BE(*map, ref), refData = ReadUInt(*map, ref + 5, 3, true);
            if (!refId || !refData)
                return std::nullopt;
            if (std::int16_t(*refId) != id)
                continue;
            const auto length = U32BE(*data, *refData);
            return length ? Slice(*data, qint64(*refData) + 4, *length) : std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace backdrop
