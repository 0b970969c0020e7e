#pragma once
// QuickDraw records in the classic field order. Coordinates are signed 16-bit; a rectangle covers the
// pixels from (left, top) up to but not including (right, bottom).

#include <cstdint>

#include "toolkit/core/geometry.h" // Point and Rect: the core's records carry them too
#include "toolkit/core/mac_types.h"

// Eight rows, top row first; within a byte the most significant bit is the leftmost pixel.
struct Pattern {
    std::uint8_t pat[8];
};

struct RGBColor {
    std::uint16_t red;
    std::uint16_t green;
    std::uint16_t blue;
};

struct ColorSpec {
    std::int16_t value;
    RGBColor rgb;
};

// A colour table; ctSize is the number of entries minus one, as in the classic record.
struct ColorTable {
    std::int32_t ctSeed;
    std::int16_t ctFlags;
    std::int16_t ctSize;
    ColorSpec ctTable[1];
};
using CTabPtr = ColorTable*;
using CTabHandle = CTabPtr*;

// A one-bit image, or (baseAddr holding a buffer id, rowBytes bit 15 set) a port's offscreen buffer.
// The buffer id lives in the pointer-sized baseAddr.
struct BitMap {
    Ptr baseAddr;
    std::int16_t rowBytes;
    Rect bounds;
};

// An indexed-colour image; rowBytes has bit 15 set, which tells it from a BitMap.
struct PixMap {
    Ptr baseAddr;
    std::int16_t rowBytes;
    Rect bounds;
    std::int16_t pmVersion;
    std::int16_t packType;
    std::int32_t packSize;
    std::int32_t hRes; // 16.16 fixed
    std::int32_t vRes;
    std::int16_t pixelType;
    std::int16_t pixelSize;
    std::int16_t cmpCount;
    std::int16_t cmpSize;
    std::int32_t planeBytes;
    CTabHandle pmTable;
    std::int32_t pmReserved;
};

// The region record: rgnSize 10 is a rectangle; larger regions carry scanline records after the box
// (row, inversion points in pairs, 32767), closed by a final 32767.
struct Region {
    std::int16_t rgnSize;
    Rect rgnBBox;
};
using RgnPtr = Region*;
using RgnHandle = RgnPtr*;

// What a shape operation does to its shape; the bottlenecks take it as their first argument.
enum class GrafVerb : std::int16_t { frame = 0, paint = 1, erase = 2, invert = 3, fill = 4 };

struct Polygon;
struct FontInfo;

// The port's procedure table: one bottleneck for each kind of drawing. A port whose grafProcs is null
// (or whose entry is null) uses the standard procedure (StdText, StdLine, StdRect ...); SetStdProcs
// fills a record with them, so a program may replace some and keep the others. Pictures, regions and
// polygons are recorded and collected by the standard procedures. getPicProc and putPicProc are in
// the record for its layout only: pictures are read and written in memory.
struct QDProcs {
    void (*textProc)(int byteCount, const void* textBuf, Point numer, Point denom);
    void (*lineProc)(Point newPt);
    void (*rectProc)(GrafVerb verb, const Rect* r);
    void (*rRectProc)(GrafVerb verb, const Rect* r, int ovalWidth, int ovalHeight);
    void (*ovalProc)(GrafVerb verb, const Rect* r);
    void (*arcProc)(GrafVerb verb, const Rect* r, int startAngle, int arcAngle);
    void (*polyProc)(GrafVerb verb, Polygon** poly);
    void (*rgnProc)(GrafVerb verb, RgnHandle rgn);
    void (*bitsProc)(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, std::int16_t mode,
                     RgnHandle maskRgn);
    void (*commentProc)(std::int16_t kind, std::int16_t dataSize, Handle dataHandle);
    std::int16_t (*txMeasProc)(int byteCount, const void* textAddr, Point* numer, Point* denom,
                               FontInfo* info);
    void (*getPicProc)(void* dataPtr, std::int16_t byteCount);
    void (*putPicProc)(const void* dataPtr, std::int16_t byteCount);
};
using QDProcsPtr = QDProcs*;

struct GrafPort {
    std::int16_t device;
    BitMap portBits; // baseAddr: buffer id; rowBytes: width | 0x8000 for a port that owns a buffer
    Rect portRect;
    RgnHandle visRgn;
    RgnHandle clipRgn;
    Pattern bkPat;
    Pattern fillPat;
    Point pnLoc;
    Point pnSize;
    std::int16_t pnMode;
    Pattern pnPat;
    std::int16_t pnVis;
    std::int16_t txFont;
    std::uint8_t txFace;
    std::uint8_t filler;
    std::int16_t txMode;
    std::int16_t txSize;
    std::int32_t spExtra;
    std::int32_t fgColor;
    std::int32_t bkColor;
    std::int16_t colrBit;
    std::int16_t patStretch;
    Handle picSave;
    Handle rgnSave;
    Handle polySave;
    QDProcsPtr grafProcs; // null: the standard procedures
    std::int32_t fgIndex; // the toolkit's two additions: palette indices of the pen's colours
    std::int32_t bkIndex;
};
using GrafPtr = GrafPort*;

struct PenState {
    Point pnLoc;
    Point pnSize;
    std::int16_t pnMode;
    Pattern pnPat;
};

// Transfer modes. The low three bits select the rule; bit 7 is the hilite mode.
enum : std::int16_t {
    srcCopy = 0,
    srcOr = 1,
    srcXor = 2,
    srcBic = 3,
    notSrcCopy = 4,
    notSrcOr = 5,
    notSrcXor = 6,
    notSrcBic = 7,
    patCopy = 8,
    patOr = 9,
    patXor = 10,
    patBic = 11,
    notPatCopy = 12,
    notPatOr = 13,
    notPatXor = 14,
    notPatBic = 15,
    hilite = 0x80,
};

// The classic colour constants; ForeColor and BackColor look them up by constant / 32.
enum : std::int32_t {
    whiteColor = 30,
    blackColor = 33,
    yellowColor = 69,
    magentaColor = 137,
    redColor = 205,
    cyanColor = 273,
    greenColor = 341,
    blueColor = 409,
};

namespace qiva {

// The transparent colour of images and the highlight colour on screen.
inline constexpr std::uint8_t kTransparentIndex = 10;
// Cube black and white: the hilite pair with the hilite background.
inline constexpr std::uint8_t kIndexBlack = 11;
inline constexpr std::uint8_t kIndexWhite = 226;

} // namespace qiva
