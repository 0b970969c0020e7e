#pragma once
// The toolkit's control pictures: scroll bar thumbs and arrows (plain and pressed), check boxes and
// radio buttons (off and on), pixel art on the five greys of the controls.

#include <vector>

#include "pictures.h"

namespace tolka_art {

std::vector<Artwork> ControlArtworks();

} // namespace tolka_art
