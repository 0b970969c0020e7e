#pragma once
// Playing pictures: DrawPicture reads a picture one operation at a time and replays each into a
// working copy of the current port, scaled from the picture's frame onto the destination.

#include <cstdint>
#include <string>

#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/quickdraw_types.h"

// Plays pic scaled from its frame onto dstRect of the current port; the port's state is left as it
// was. A picture that cannot be read shows a message and draws nothing (or stops where it breaks).
void DrawPicture(PicHandle pic, const Rect* dstRect);

namespace qiva {

// DrawPicture with its outcome: Ok when the picture played to its end (or is empty, picSize 0).
pict::Status PlayPicture(PicHandle pic, const Rect& dstRect);

// The message a status gives (empty for Ok, End and EmptyPicture).
std::string PictureMessage(pict::Status status, std::uint16_t opcode);

} // namespace qiva
