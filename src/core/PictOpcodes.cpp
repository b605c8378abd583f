#include "core/PictOpcodes.h"

#include "core/Bytes.h"

namespace backdrop {

namespace {

constexpr qint64 kPixMapFieldsSize = 36; // PixMap after rowBytes and bounds: version to reserved

// Reads through the opcodes; every read is bounds-checked, and a failed one ends the walk.
class Walker {
public:
    explicit Walker(QByteArrayView b) : b_(b) {}

    bool Run() {
        const auto v1 = U16BE(b_, 10), v2 = U32BE(b_, 10);
        if (v2 == 0x001102FFu) {
            version_ = 2;
            at_ = 14;
        } else if (v1 == 0x1101u) {
            version_ = 1;
            at_ = 12;
        } else {
            return false;
        }
        while (true) {
            std::uint32_t op = 0;
            if (version_ == 1) {
                if (!Byte(op))
                    return false;
            } else {
                at_ += at_ % 2; // version 2 opcodes start on even bytes
                if (!Word(op))
                    return false;
            }
            if (op == 0xFF)
                return true;
            if (!Skip(op))
                return false;
        }
    }

private:
    bool Byte(std::uint32_t& v) { return Read(v, 1); }
    bool Word(std::uint32_t& v) { return Read(v, 2); }
    bool Long(std::uint32_t& v) { return Read(v, 4); }
    bool Read(std::uint32_t& v, int count) {
        const auto r = ReadUInt(b_, at_, count, true);
        if (!r)
            return false;
        v = *r;
        at_ += count;
        return true;
    }
    bool Advance(qint64 count) {
        if (count < 0 || !HasBytes(b_, at_, count))
            return false;
        at_ += count;
        return true;
    }
    // A data length in a word or long, then that many bytes.
    bool Counted(int lengthBytes) {
        std::uint32_t n = 0;
        return Read(n, lengthBytes) && Advance(n);
    }
    // A region or polygon: its size word counts itself.
    bool SelfSized() {
        std::uint32_t size = 0;
        return Word(size) && size >= 2 && Advance(qint64(size) - 2);
    }

    bool Skip(std::uint32_t op) {
        if (op >= 0x8100)
            return Counted(4);
        if (op >= 0x8000)
            return true;
        if (op >= 0x0100)
            return Advance(qint64(op >> 8) * 2);
        if (op >= 0xD0)
            return Counted(4);
        if (op >= 0xB0)
            return true;
        if (op >= 0xA2)
            return Counted(2);
        if (op >= 0x30 && op <= 0x8F) {
            const std::uint32_t family = op & 0xF0, same = op & 0x08;
            if (family == 0x70 || family == 0x80)
                return same || SelfSized();
            if (family == 0x60)
                return Advance(same ? 4 : 12);
            return same || Advance(8);
        }
        switch (op) {
        case 0x00:
        case 0x17:
        case 0x18:
        case 0x19:
        case 0x1C:
        case 0x1E:
            return true;
        case 0x01:
            return SelfSized();
        case 0x04:
        case 0x11:
            return Advance(1);
        case 0x03:
        case 0x05:
        case 0x08:
        case 0x0D:
        case 0x15:
        case 0x16:
        case 0x23:
        case 0xA0:
            return Advance(2);
        case 0x06:
        case 0x07:
        case 0x0B:
        case 0x0C:
        case 0x0E:
        case 0x0F:
        case 0x21:
            return Advance(4);
        case 0x1A:
        case 0x1B:
        case 0x1D:
        case 0x1F:
        case 0x22:
            return Advance(6);
        case 0x02:
        case 0x09:
        case 0x0A:
        case 0x10:
        case 0x20:
            return Advance(8);
        case 0x12:
        case 0x13:
        case 0x14:
            return PixPat();
        case 0x28:
            return Advance(4) && Counted(1);
        case 0x29:
        case 0x2A:
            return Advance(1) && Counted(1);
        case 0x2B:
            return Advance(2) && Counted(1);
        case 0x90:
        case 0x91:
        case 0x98:
        case 0x99:
            return Bits(op);
        case 0x9A:
        case 0x9B:
            return Advance(4) && Bits(op); // after the base address
        case 0xA1:
            return Advance(2) && Counted(2);
        default: // 0x24-0x2F and 0x92-0x9F: reserved, with a data length
            return Counted(2);
        }
    }

    // A colour table: seed, flags, the number of entries less one, then 8 bytes an entry.
    bool ColourTable() {
        std::uint32_t last = 0;
        return Advance(6) && Word(last) && Advance((qint64(last) + 1) * 8);
    }

    // Pixel rows: unpacked, or each row packed behind its byte count (a word for rows over 250 bytes).
    bool Rows(qint64 rows, qint64 rowBytes, bool packed) {
        if (!packed || rowBytes < 8)
            return Advance(rows * rowBytes);
        for (qint64 r = 0; r < rows; ++r)
            if (!Counted(rowBytes > 250 ? 2 : 1))
                return false;
        return true;
    }

    bool Bounds(qint64& rows) {
        std::uint32_t top = 0, left = 0, bottom = 0, right = 0;
        if (!Word(top) || !Word(left) || !Word(bottom) || !Word(right))
            return false;
        rows = qint64(std::int16_t(bottom)) - std::int16_t(top);
        return rows >= 0;
    }

    bool PixPat() {
        std::uint32_t type = 0;
        if (!Word(type) || !Advance(8))
            return false;
        if (type == 2)
            return Advance(6); // an RGB colour
        if (type != 1)
            return type == 0;
        std::uint32_t rowBytes = 0;
        qint64 rows = 0;
        return Word(rowBytes) && Bounds(rows) && Advance(kPixMapFieldsSize) && ColourTable() &&
               Rows(rows, rowBytes & 0x3FFF, true);
    }

    bool Bits(std::uint32_t op) {
        const bool direct = op == 0x9A || op == 0x9B;
        std::uint32_t rowBytes = 0, packType = 0;
        qint64 rows = 0;
        if (!Word(rowBytes) || !Bounds(rows))
            return false;
        const bool pixMap = direct || (rowBytes & 0x8000);
        if (pixMap) {
            const qint64 fields = at_;
            if (!Advance(kPixMapFieldsSize))
                return false;
            packType = ReadUInt(b_, fields + 2, 2, true).value_or(0);
            if (!direct && !ColourTable())
                return false;
        }
        if (!Advance(8 + 8 + 2)) // source and destination rectangles, transfer mode
            return false;
        if ((op & 1) && !SelfSized()) // the ...Rgn opcodes carry a mask region
            return false;
        const qint64 bytes = rowBytes & (pixMap ? 0x3FFF : 0x7FFF);
        if (direct && packType == 2) // 32-bit pixels without their pad byte
            return Advance(rows * (bytes / 4 * 3));
        const bool packed = direct ? packType != 1 : (op == 0x98 || op == 0x99);
        return Rows(rows, bytes, packed);
    }

    QByteArrayView b_;
    qint64 at_ = 0;
    int version_ = 0;
};

} // namespace

bool PictRunsToEnd(QByteArrayView picture) {
    return Walker(picture).Run();
}

} // namespace backdrop
