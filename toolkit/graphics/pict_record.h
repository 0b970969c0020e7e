#pragma once
// Recording pictures: OpenPicture and ClosePicture, and the record operation into the current port's
// open picture that the bottlenecks and the port's state changes call, through one pict::Recorder.

#include <cstdint>
#include <span>

#include "toolkit/graphics/pict_opcodes.h"
#include "toolkit/graphics/quickdraw_types.h"

// The picture record as stored: picSize and picFrame are in the picture's own byte order (the native
// variant's are little-endian, a read picture's big-endian), so read them with qiva::PictureFrame.
struct Picture {
    std::int16_t picSize;
    Rect picFrame;
};
using PicPtr = Picture*;
using PicHandle = PicPtr*;

// Starts recording the current port's operations into a new picture of the given frame; the pen is
// hidden meanwhile. Null when the picture cannot be allocated.
PicHandle OpenPicture(const Rect* picFrame);
void ClosePicture();
void KillPicture(PicHandle pic);
// Through the port's commentProc.
void PicComment(std::int16_t kind, std::int16_t dataSize, Handle dataHandle);
// The standard commentProc: the comment goes into the open picture.
void StdComment(std::int16_t kind, std::int16_t dataSize, Handle dataHandle);

namespace qiva {

namespace pict {
class Recorder;
}
// The recorder's state: one for all ports, saved and put back around a nested region recording.
pict::Recorder& PictureRecorder();

// The frame of a picture of any variant in host order; false when its header cannot be read.
bool PictureFrame(PicHandle pic, Rect& frame);

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
void RecordRegion(std::uint8_t opcode, RgnHandle rgn);
void RecordOrigin(std::int16_t dh, std::int16_t dv);
// MoveTo and Move: the pen's new place becomes the pending point of the next line.
void RecordPenMove(Point pen);
// LineTo and Line: Line from the pending point, or LineFrom.
void RecordLineTo(Point to);
// The text drawing operations: LongText at the pen with the text (at most 255 bytes an opcode).
void RecordText(Point location, std::span<const std::uint8_t> text);

// The shape operations as their bottlenecks record them: the family's opcode plus the verb, the fill
// verb preceded by the port's fill pattern, a rounded rectangle by its oval size.
void RecordRectVerb(GrafVerb verb, const Rect& r);
void RecordRRectVerb(GrafVerb verb, const Rect& r, int ovalWidth, int ovalHeight);
void RecordOvalVerb(GrafVerb verb, const Rect& r);
void RecordArcVerb(GrafVerb verb, const Rect& r, int startAngle, int arcAngle);
void RecordPolyVerb(GrafVerb verb, Polygon** poly);
void RecordRgnVerb(GrafVerb verb, RgnHandle rgn);

// Operations made of other operations suspend recording around the parts that are not theirs.
void SuspendRecording();
void ResumeRecording();

} // namespace qiva
