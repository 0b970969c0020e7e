#pragma once
// Image transfers into the current port: CopyBits and CopyMask from buffer ports, one-bit BitMaps
// and indexed PixMaps; the resampling of the current source into a block of palette indices
// (qiva::ResampleToBlock, classically FABRIQUE_MOB); and the put-block routine that draws such a block.

#include <cstdint>

#include "toolkit/graphics/quickdraw_types.h"
#include "toolkit/graphics/resample.h"

// Copies srcRect of the source into dstRect of the current port, through the port's bitsProc.
// dstBits is accepted and not used: the destination is the current port.
void CopyBits(const BitMap* srcBits, const BitMap* dstBits, const Rect* srcRect, const Rect* dstRect,
              std::int16_t mode, RgnHandle maskRgn);
// The standard bitsProc: mode and maskRgn are not used; every source pixel other than
// kTransparentIndex replaces the destination pixel, and the port's clip is the only clip. Not recorded.
void StdBits(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, std::int16_t mode,
             RgnHandle maskRgn);
// Like CopyBits, with a mask: a buffer mask excludes its white (226) pixels, a one-bit mask its 0 bits.
void CopyMask(const BitMap* srcBits, const BitMap* maskBits, const BitMap* dstBits, const Rect* srcRect,
              const Rect* maskRect, const Rect* dstRect);

// The classic entry of qiva::ResampleToBlock.
std::uint8_t* FABRIQUE_MOB(const Rect* srcRect, int width, int height, qiva::PixelFetch fetch,
                           std::uint8_t* block);

namespace qiva {

// Resamples srcRect of the current source to width × height palette indices into block, which is
// allocated (width × height bytes, NewPtr) when null. Null when the block cannot be had (the
// message names the classic entry, as the toolkit's users know it).
std::uint8_t* ResampleToBlock(const Rect* srcRect, int width, int height, PixelFetch fetch,
                              std::uint8_t* block);

// The current source of ResampleToBlock; DescribeSource sets it from a BitMap, a PixMap or a buffer
// port's portBits and returns false for a source it cannot read (an unknown pixel size, no pixels).
TransferSource& CurrentSource();
bool DescribeSource(const BitMap* bits);

// Draws a width × height block at local (h, v) of the current port, skipping the transparent index.
void PutBlock(const std::uint8_t* block, int width, int height, std::uint8_t transparent, int h, int v);

} // namespace qiva
