#include "toolkit/graphics/pict_format.h"

#include <algorithm>

#include "toolkit/graphics/pict_opcodes.h"
#include "toolkit/graphics/pict_packbits.h"

namespace qiva::pict {

namespace {

Rect16 RectAt(const std::uint8_t* p, bool little) {
    return {Load16(p, little), Load16(p + 2, little), Load16(p + 4, little), Load16(p + 6, little)};
}

Point16 PointAt(const std::uint8_t* p, bool little) {
    return {Load16(p, little), Load16(p + 2, little)};
}

constexpr bool In(std::uint16_t op, std::uint16_t first, std::uint16_t last) {
    return op >= first && op <= last;
}

// The length of a packed row is a byte for narrow rows and a big-endian word for wide ones, in every
// variant.
std::size_t LengthBytes(std::uint16_t rowBytes) {
    return rowBytes > 250 ? 2 : 1;
}

} // namespace

Status ReadHeader(std::span<const std::uint8_t> pic, Header& out) {
    out = {};
    if (pic.size() < 2) return Status::TooShort;
    if (pic[0] == 0 && pic[1] == 0) return Status::EmptyPicture;
    if (pic.size() < 12) return Status::TooShort;
    const std::uint8_t* p = pic.data();
    const std::uint16_t versionOp = LoadBigEndian<std::uint16_t>(p + 10);
    if (versionOp == kVersionWord) {
        if (pic.size() < 14) return Status::TooShort;
        const std::uint16_t version = LoadBigEndian<std::uint16_t>(p + 12);
        if (version == kVersion2)
            out.variant = Variant::Version2;
        else if (version == kNativeVersion)
            out.variant = Variant::Native;
        else
            return Status::BadVersion;
        if (pic.size() < kVersion2HeaderSize) return Status::TooShort;
        out.streamStart = kVersion2HeaderSize;
    } else if (versionOp == kVersion1Word) {
        out.variant = Variant::Version1;
        out.streamStart = kVersion1HeaderSize;
    } else {
        return Status::UnknownType;
    }
    const bool little = out.variant == Variant::Native;
    out.picSize = static_cast<std::uint16_t>(Load16(p, little));
    out.frame = RectAt(p + 2, little);
    if (out.frame.right <= out.frame.left || out.frame.bottom <= out.frame.top) return Status::EmptyFrame;
    return Status::Ok;
}

OpcodeInfo Describe(std::uint16_t op) {
    using O = Operand;
    auto fixed = [](int n) { return OpcodeInfo{O::Fixed, static_cast<std::uint8_t>(n)}; };
    switch (op) {
    case kNop:
    case kDefHilite:
        return {O::None};
    case kClip:
        return {O::Region};
    case kTxFace:
    case kVersion:
        return fixed(1);
    case kTxFont:
    case kTxMode:
    case kPnMode:
    case kTxSize:
    case kPnLocHFrac:
    case kChExtra:
    case kShortLineFrom:
    case kShortComment:
        return fixed(2);
    case kSpExtra:
    case kPnSize:
    case kOvSize:
    case kOrigin:
    case kFgColor:
    case kBkColor:
    case kLineFrom:
        return fixed(4);
    case kRGBFgCol:
    case kRGBBkCol:
    case kShortLine:
        return fixed(6);
    case kBkPat:
    case kPnPat:
    case kFillPat:
    case kTxRatio:
    case kLine:
        return fixed(8);
    case kLongText:
        return {O::LongText};
    case kDHText:
        return {O::DHText};
    case kDVText:
        return {O::DVText};
    case kDHDVText:
        return {O::DHDVText};
    case kBitsRect:
    case kPackBitsRect:
        return {O::Bits};
    case kDirectBitsRect:
    case kDirectBitsRgn:
        return {O::DirectBits};
    case kLongComment:
        return {O::LongComment};
    case kEndOpcode:
        return {O::End};
    default:
        break;
    }
    // Reserved opcodes, skipped by their length word.
    if (In(op, 0x24, 0x27) || In(op, 0x2C, 0x2F) || In(op, 0x92, 0x97) || In(op, 0x9C, 0x9F))
        return {O::LengthWord};
    const auto verbs = [op](Opcode family) { return In(op, family, static_cast<std::uint16_t>(family + 4)); };
    if (verbs(kFrameRect) || verbs(kFrameRRect) || verbs(kFrameOval)) return fixed(8);
    if (verbs(kFrameSameRect) || verbs(kFrameSameRRect) || verbs(kFrameSameOval)) return {O::None};
    if (verbs(kFrameArc)) return fixed(12);
    if (verbs(kFramePoly)) return {O::Polygon};
    if (verbs(kFrameRgn)) return {O::Region};
    return {O::Unknown};
}

Bits::Packing Bits::RowPacking() const {
    if (!direct) return rowBytes < 8 ? Packing::None : Packing::Bytes;
    if (rowBytes < 8 || packType == 1 || packType == 2) return Packing::None;
    return pixelSize == 16 ? Packing::Words : Packing::Bytes;
}

std::size_t Bits::UnpackedRowBytes() const {
    if (!direct) return rowBytes;
    const std::size_t width = std::size_t(Width());
    if (pixelSize == 16) return packType == 0 || packType == 1 || packType == 3 ? rowBytes : 0;
    if (pixelSize != 32) return 0;
    if (rowBytes < 8 || packType == 1) return rowBytes;
    if (packType == 2) return 3 * width;
    // Packed by components: one plane of each component in turn, alpha first when there are four.
    if ((packType == 0 || packType == 4) && (cmpCount == 3 || cmpCount == 4))
        return std::size_t(cmpCount) * width;
    return 0;
}

std::size_t Bits::CountBytes() const {
    return countBytes != 0 ? countBytes : LengthBytes(rowBytes);
}

RowCursor::RowCursor(const Bits& bits)
    : data_(bits.data), countBytes_(bits.CountBytes()), packing_(bits.RowPacking()),
      unpacked_(bits.UnpackedRowBytes()), rowsLeft_(bits.Height()) {}

bool RowCursor::Skip() {
    if (rowsLeft_ <= 0) return false;
    --rowsLeft_;
    if (packing_ == Bits::Packing::None) {
        pos_ += std::min<std::size_t>(unpacked_, data_.size() - pos_);
        return true;
    }
    const std::size_t lb = countBytes_;
    if (data_.size() - pos_ < lb) return false;
    const std::size_t n = lb == 2 ? LoadBigEndian<std::uint16_t>(&data_[pos_]) : data_[pos_];
    pos_ += lb + std::min(n, data_.size() - pos_ - lb);
    return true;
}

bool RowCursor::Next(std::span<std::uint8_t> row) {
    if (rowsLeft_ <= 0 || row.size() < unpacked_) return false;
    row = row.first(unpacked_);
    if (packing_ == Bits::Packing::None) {
        if (data_.size() - pos_ < unpacked_) return false;
        std::copy_n(data_.begin() + std::ptrdiff_t(pos_), unpacked_, row.begin());
        pos_ += unpacked_;
        --rowsLeft_;
        return true;
    }
    const std::size_t lb = countBytes_;
    if (data_.size() - pos_ < lb) return false;
    const std::size_t n = lb == 2 ? LoadBigEndian<std::uint16_t>(&data_[pos_]) : data_[pos_];
    if (data_.size() - pos_ - lb < n) return false;
    const bool ok = packing_ == Bits::Packing::Words ? UnpackWordRow(data_.subspan(pos_ + lb, n), row)
                                                     : UnpackRow(data_.subspan(pos_ + lb, n), row);
    pos_ += lb + n;
    --rowsLeft_;
    return ok;
}

Reader::Reader(std::span<const std::uint8_t> pic, const Header& header)
    : pic_(pic), pos_(header.streamStart), variant_(header.variant),
      little_(header.variant == Variant::Native) {
    if (pos_ > pic_.size()) stopped_ = Status::Truncated;
}

bool Reader::Take(std::size_t n, std::span<const std::uint8_t>& out) {
    if (pos_ > pic_.size() || pic_.size() - pos_ < n) return false;
    out = pic_.subspan(pos_, n);
    pos_ += n;
    return true;
}

bool Reader::U8(std::uint8_t& v) {
    if (pos_ >= pic_.size()) return false;
    v = pic_[pos_++];
    return true;
}

bool Reader::I16(std::int16_t& v) {
    std::span<const std::uint8_t> s;
    if (!Take(2, s)) return false;
    v = Load16(s.data(), little_);
    return true;
}

bool Reader::I32(std::int32_t& v) {
    std::span<const std::uint8_t> s;
    if (!Take(4, s)) return false;
    v = Load32(s.data(), little_);
    return true;
}

bool Reader::RectOf(Rect16& r) {
    std::span<const std::uint8_t> s;
    if (!Take(8, s)) return false;
    r = RectAt(s.data(), little_);
    return true;
}

bool Reader::PointOf(Point16& p) {
    std::span<const std::uint8_t> s;
    if (!Take(4, s)) return false;
    p = PointAt(s.data(), little_);
    return true;
}

Status Reader::Shape(Op& op, bool polygon) {
    std::int16_t size = 0;
    if (!I16(size)) return Status::Truncated;
    // A region or polygon holds at least its size and box; a polygon then whole points.
    if (size < 10 || (polygon && (size - 10) % 4 != 0)) return Status::BadOperand;
    pos_ -= 2;
    std::span<const std::uint8_t> s;
    if (!Take(std::size_t(size), s)) return Status::Truncated;
    op.shape.resize(std::size_t(size) / 2);
    for (std::size_t i = 0; i < op.shape.size(); ++i)
        op.shape[i] = Load16(s.data() + 2 * i, little_);
    return Status::Ok;
}

Status Reader::ReadBits(Op& op, bool direct, bool withMask) {
    Bits& b = op.bits;
    b = {};
    b.direct = direct;
    std::int32_t baseAddr = 0;
    if (direct && !I32(baseAddr)) return Status::Truncated;
    std::int16_t rb = 0;
    if (!I16(rb)) return Status::Truncated;
    b.pixMap = direct || (std::uint16_t(rb) & 0x8000) != 0;
    b.rowBytes = std::uint16_t(rb) & 0x7FFF;
    if (!RectOf(b.bounds)) return Status::Truncated;
    if (direct) {
        if (!I16(b.pmVersion) || !I16(b.packType) || !I32(b.packSize) || !I32(b.hRes) || !I32(b.vRes) ||
            !I16(b.pixelType) || !I16(b.pixelSize) || !I16(b.cmpCount) || !I16(b.cmpSize) ||
            !I32(b.planeBytes) || !I32(b.pmTable) || !I32(b.pmReserved))
            return Status::Truncated;
    } else if (b.pixMap) {
        std::int16_t ctSize = 0;
        if (!I16(b.pmVersion) || !I16(b.packType) || !I32(b.packSize) || !I32(b.hRes) || !I32(b.vRes) ||
            !I16(b.pixelType) || !I16(b.pixelSize) || !I16(b.cmpCount) || !I16(b.cmpSize) ||
            !I32(b.planeBytes) || !I32(b.pmTable) || !I32(b.pmReserved) || !I32(b.ctSeed) ||
            !I16(b.ctFlags) || !I16(ctSize))
            return Status::Truncated;
        if (ctSize < -1) return Status::BadOperand;
        const std::size_t entries = std::size_t(ctSize + 1);
        std::span<const std::uint8_t> table;
        if (!Take(entries * 8, table)) return Status::Truncated;
        b.colours.resize(entries);
        for (std::size_t i = 0; i < entries; ++i) {
            const std::uint8_t* e = table.data() + 8 * i;
            b.colours[i] = {Load16(e, little_),
                            {std::uint16_t(Load16(e + 2, little_)), std::uint16_t(Load16(e + 4, little_)),
                             std::uint16_t(Load16(e + 6, little_))}};
        }
    }
    std::int16_t mode = 0;
    if (!RectOf(b.srcRect) || !RectOf(b.dstRect) || !I16(mode)) return Status::Truncated;
    b.mode = mode;
    if (withMask) {
        const Status st = Shape(op, false);
        if (st != Status::Ok) return st;
    }

    // The rows: checked here once, so that whoever draws them later reads nothing out of bounds.
    const std::size_t start = pos_;
    const int height = b.Height();
    const std::size_t unpacked = b.UnpackedRowBytes();
    if (height > 0 && unpacked == 0 && b.direct) return Status::BadOperand; // no known row layout
    if (b.RowPacking() == Bits::Packing::None) {
        std::span<const std::uint8_t> rows;
        if (!Take(unpacked * std::size_t(height), rows)) return Status::Truncated;
    } else {
        std::vector<std::uint8_t> scratch(unpacked);
        const bool words = b.RowPacking() == Bits::Packing::Words;
        const auto packedRows = [&](std::size_t lb) {
            for (int y = 0; y < height; ++y) {
                std::span<const std::uint8_t> len, packed;
                if (!Take(lb, len)) return Status::Truncated;
                const std::size_t n = lb == 2 ? LoadBigEndian<std::uint16_t>(len.data()) : len[0];
                if (!Take(n, packed)) return Status::Truncated;
                if (!(words ? UnpackWordRow(packed, scratch) : UnpackRow(packed, scratch)))
                    return Status::BadOperand;
            }
            return Status::Ok;
        };
        Status rows = packedRows(b.CountBytes());
        // Some writers give direct rows whose packed components fit in 250 bytes a one-byte length
        // although rowBytes is wider; such rows only read one way.
        if (rows != Status::Ok && b.direct && b.CountBytes() == 2 && unpacked <= 250) {
            pos_ = start;
            rows = packedRows(1);
            if (rows == Status::Ok) b.countBytes = 1;
        }
        if (rows != Status::Ok) return rows;
    }
    b.data = pic_.subspan(start, pos_ - start);
    return Status::Ok;
}

Status Reader::Operands(Op& op, OpcodeInfo info) {
    const std::uint16_t code = op.opcode;
    std::span<const std::uint8_t> s;
    std::uint8_t u = 0;
    switch (info.operand) {
    case Operand::Unknown:
        return Status::UnknownOpcode;
    case Operand::None:
    case Operand::End:
        return Status::Ok;
    case Operand::Region:
    case Operand::Polygon:
        return Shape(op, info.operand == Operand::Polygon);
    case Operand::LengthWord: {
        std::int16_t n = 0;
        if (!I16(n) || !Take(std::uint16_t(n), s)) return Status::Truncated;
        op.bytes = s;
        return Status::Ok;
    }
    case Operand::LongText:
        if (!PointOf(op.p1)) return Status::Truncated;
        break;
    case Operand::DHText:
    case Operand::DVText:
        if (!U8(u)) return Status::Truncated;
        op.a = u;
        break;
    case Operand::DHDVText:
        if (!U8(u)) return Status::Truncated;
        op.a = u;
        if (!U8(u)) return Status::Truncated;
        op.b = u;
        break;
    case Operand::Bits:
        return ReadBits(op, false, false);
    case Operand::DirectBits:
        return ReadBits(op, true, op.opcode == kDirectBitsRgn);
    case Operand::LongComment: {
        std::int16_t kind = 0, n = 0;
        if (!I16(kind) || !I16(n) || !Take(std::uint16_t(n), s)) return Status::Truncated;
        op.a = kind;
        op.bytes = s;
        return Status::Ok;
    }
    case Operand::Fixed:
        if (!Take(info.size, s)) return Status::Truncated;
        break;
    }
    if (info.operand != Operand::Fixed) { // the text operations end with a count and the text
        if (!U8(u) || !Take(u, s)) return Status::Truncated;
        op.bytes = s;
        return Status::Ok;
    }

    const std::uint8_t* p = s.data();
    const bool le = little_;
    switch (code) {
    case kBkPat:
    case kPnPat:
    case kFillPat:
        std::copy_n(p, 8, op.pattern.begin());
        break;
    case kTxFace:
        op.a = p[0];
        break;
    case kTxFont:
    case kTxMode:
    case kPnMode:
    case kTxSize:
    case kShortComment:
        op.a = Load16(p, le);
        break;
    case kSpExtra:
    case kFgColor:
    case kBkColor:
        op.a = Load32(p, le);
        break;
    case kPnSize:
    case kOvSize:
    case kLineFrom:
        op.p1 = PointAt(p, le);
        break;
    case kOrigin:
        op.a = Load16(p, le);
        op.b = Load16(p + 2, le);
        break;
    case kRGBFgCol:
    case kRGBBkCol:
        op.rgb = {std::uint16_t(Load16(p, le)), std::uint16_t(Load16(p + 2, le)),
                  std::uint16_t(Load16(p + 4, le))};
        break;
    case kLine:
        op.p1 = PointAt(p, le);
        op.p2 = PointAt(p + 4, le);
        break;
    case kShortLine:
        op.p1 = PointAt(p, le);
        op.a = static_cast<std::int8_t>(p[4]);
        op.b = static_cast<std::int8_t>(p[5]);
        break;
    case kShortLineFrom:
        op.a = static_cast<std::int8_t>(p[0]);
        op.b = static_cast<std::int8_t>(p[1]);
        break;
    default:
        if (info.size >= 8) op.rect = RectAt(p, le); // the rectangle and arc operations
        if (info.size == 12) {
            op.a = Load16(p + 8, le);
            op.b = Load16(p + 10, le);
        }
        break;
    }
    return Status::Ok;
}

Status Reader::Next(Op& op) {
    if (stopped_ != Status::Ok) return stopped_;
    op.a = op.b = 0;
    op.p1 = op.p2 = {};
    op.shape.clear();
    op.bytes = {};
    op.raw = {};
    if (variant_ != Variant::Version1 && (pos_ & 1) != 0) ++pos_;
    op.offset = pos_;
    if (variant_ == Variant::Version1) {
        std::uint8_t code = 0;
        if (!U8(code)) return stopped_ = Status::Truncated;
        op.opcode = code;
    } else {
        std::span<const std::uint8_t> s;
        if (!Take(2, s)) return stopped_ = Status::Truncated;
        op.opcode = LoadBigEndian<std::uint16_t>(s.data());
    }
    const OpcodeInfo info = Describe(op.opcode);
    const std::size_t operandStart = pos_;
    const Status st = Operands(op, info);
    if (st != Status::Ok) return stopped_ = st;
    op.raw = pic_.subspan(operandStart, pos_ - operandStart);
    if (info.operand == Operand::End) return stopped_ = Status::End;
    return Status::Ok;
}

} // namespace qiva::pict
