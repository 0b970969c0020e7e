#pragma once
// Pictures: playing a picture into the current port scaled to a rectangle, recording the port's
// operations into a picture, and the record calls every recorded operation makes.

#include <cstdint>
#include <span>
#include <string>

#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/quickdraw_types.h"

struct Picture {
    std::int16_t picSize; // low 16 bits of the size; little-endian in the native variant
    Rect picFrame;        // stored in the picture's byte order
};
using PicPtr = Picture*;
using PicHandle = PicPtr*;

// Plays pic scaled from its frame onto dstRect of the current port; the port's state is left as it
// was. A picture that cannot be read shows a message and draws nothing (or stops where it breaks).
void DrawPicture(PicHandle pic, const Rect* dstRect);
// Starts recording the current port's operations into a new picture of the given frame; the pen is
// hidden meanwhile. Null when the picture cannot be allocated.
PicHandle OpenPicture(const Rect* picFrame);
void ClosePicture();
void KillPicture(PicHandle pic);
void PicComment(std::int16_t kind, std::int16_t dataSize, Handle dataHandle);

namespace qiva {

namespace pict {
class Recorder;
}
// The recorder's state: one for all ports, saved and put back around a nested region recording.
pict::Recorder& PictureRecorder();

// DrawPicture with its outcome: Ok when the picture played to its end (or is empty, picSize 0).
pict::Status PlayPicture(PicHandle pic, const Rect& dstRect);

// The message a status gives (empty for Ok, End and EmptyPicture).
std::string PictureMessage(pict::Status status, std::uint16_t opcode);

// The record operation into the current port's open picture; each does nothing when the port is not
// recording. The operands are given in host order and written in the native variant's.
bool PictureRecording();
void RecordOpcode(std::uint8_t opcode, std::span<const std::uint8_t> data);
void RecordShort(std::uint8_t opcode, std::int16_t value);
void RecordFace(std::uint8_t face); // TxFace: its one byte
void RecordLong(std::uint8_t opcode, std::int32_t value);
void RecordPoint(std::uint8_t opcode, Point value);
void RecordPattern(std::uint8_t opcode, const Pattern& pat);
void RecordRect(std::uint8_t opcode, const Rect& r);
void RecordRGB(std::uint8_t opcode, const RGBColor& rgb);
void RecordArc(std::uint8_t opcode, const Rect& r, std::int16_t startAngle, std::int16_t arcAngle);
void RecordRegion(std::uint8_t opcode, RgnHandle rgn);
void RecordPolygon(std::uint8_t opcode, Handle poly);
void RecordOrigin(std::int16_t dh, std::int16_t dv);
// MoveTo and Move: the pen's new place becomes the pending point of the next line.
void RecordPenMove(Point pen);
// LineTo and Line: Line from the pending point, or LineFrom.
void RecordLineTo(Point to);
// The text drawing operations: LongText at the pen with the text (at most 255 bytes an opcode).
void RecordText(Point location, std::span<const std::uint8_t> text);
// Operations made of other operations suspend recording around the parts that are not theirs.
void SuspendRecording();
void ResumeRecording();

} // namespace qiva
