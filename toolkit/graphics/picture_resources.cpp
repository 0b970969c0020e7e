#include "toolkit/graphics/picture_resources.h"

#include "toolkit/core/resources.h"

PicHandle GetPicture(std::int16_t picID) {
    return reinterpret_cast<PicHandle>(GetResource(MakeResType("PICT"), picID));
}
