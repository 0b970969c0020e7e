// Pictures from arbitrary bytes, read and then played. The first byte chooses whether the rest is
// taken as it is or behind a valid header of version 1, version 2 or the native variant (so that the
// opcode stream of every variant is reached from the start), the destination rectangle, and whether
// the port is recording a picture while it plays.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/pict_player.h"
#include "toolkit/graphics/pict_scale.h"
#include "toolkit/graphics/quickdraw.h"

namespace {

using namespace qiva::pict;

std::vector<std::uint8_t> Frame(std::uint8_t choice, const std::uint8_t* data, std::size_t size) {
    static const std::uint8_t v1[] = {0, 0, 0, 0, 0, 0, 0, 64, 0, 64, 0x11, 0x01};
    static const std::uint8_t v2[] = {0, 0, 0, 0, 0, 0, 0, 64, 0, 64, 0x00, 0x11, 0x02, 0xFF, 0x0C, 0x00};
    static const std::uint8_t native[] = {0, 0, 0, 0, 0, 0, 64, 0, 64, 0, 0x00, 0x11, 0xCA, 0xFE, 0x0C, 0x00};
    std::vector<std::uint8_t> pic;
    switch (choice & 3) {
    case 1:
        pic.assign(v1, v1 + sizeof v1);
        break;
    case 2:
        pic.assign(v2, v2 + sizeof v2);
        pic.resize(kVersion2HeaderSize, 0);
        break;
    case 3:
        pic.assign(native, native + sizeof native);
        pic.resize(kVersion2HeaderSize, 0);
        break;
    default:
        break;
    }
    if (!pic.empty()) pic[1] = 1; // picSize not 0
    pic.insert(pic.end(), data, data + size);
    return pic;
}

void ReadPicture(const std::vector<std::uint8_t>& pic) {
    Header header;
    if (ReadHeader(pic, header) != Status::Ok) return;
    const Scaler scaler(header.frame, {10, 20, 77, 51});
    qiva::region::Engine engine;
    std::vector<std::int16_t> mapped;
    std::vector<std::uint8_t> row;
    Reader reader(pic, header);
    Op op;
    while (reader.Next(op) == Status::Ok) {
        const OpcodeInfo info = Describe(op.opcode);
        if (info.operand == Operand::Region) scaler.MapRegion(op.shape, mapped, engine);
        if (info.operand == Operand::Polygon) scaler.MapPolygon(op.shape, mapped);
        if (info.operand == Operand::Bits || info.operand == Operand::DirectBits) {
            row.resize(op.bits.UnpackedRowBytes());
            RowCursor rows(op.bits);
            while (rows.Next(row)) {
            }
        }
    }
}

void Silent(const std::string&) {}

GrafPtr Canvas() {
    static GrafPort port;
    static const bool ready = [] {
        qiva::SetErrorBoxSink(Silent);
        qiva::SetHeapLimit(std::size_t{64} << 20);
        qiva::SetScreenSize(64, 64);
        InitGraf(nullptr);
        return NewBufferPort(&port, 64, 64);
    }();
    return ready ? &port : nullptr;
}

void PlayPicture(std::uint8_t choice, const std::vector<std::uint8_t>& pic) {
    const GrafPtr port = Canvas();
    if (port == nullptr) return;
    SetPort(port);
    EraseRect(&port->portRect);
    Handle h = nullptr;
    if (PtrToHand(pic.data(), &h, static_cast<Size>(pic.size())) != noErr) return;
    static const Rect destinations[4] = {{0, 0, 64, 64}, {5, 10, 37, 50}, {-20, -30, 90, 120}, {0, 0, 64, 2}};
    const Rect& dst = destinations[(choice >> 2) & 3];
    PicHandle outer = nullptr;
    if (choice & 0x10) outer = OpenPicture(&port->portRect);
    qiva::PlayPicture(reinterpret_cast<PicHandle>(h), dst);
    if (outer != nullptr) {
        ClosePicture();
        // What was recorded plays back too.
        qiva::PlayPicture(outer, port->portRect);
        KillPicture(outer);
    }
    DisposeHandle(h);
}

} // namespace

// Fontconfig keeps what it allocates while matching a face for the rest of the process; the text
// opcodes reach it through the text layer, and LeakSanitizer would take its caches for leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // An exact-size copy, so that any read past the picture's end is caught.
    const std::vector<std::uint8_t> pic = Frame(data[0], data + 1, size - 1);
    ReadPicture(pic);
    PlayPicture(data[0], pic);
    return 0;
}
