#pragma once
// What the definition functions draw with: a scope that keeps the port's drawing state and opens one
// drawing bracket, fills, frames and bevels in the toolkit's colour codes, titles in the system
// font, and the system pictures with a plain drawing when a picture is missing.

#include <cstdint>

#include "toolkit/graphics/quickdraw.h"

namespace qiva::controls {

// The toolkit's colour codes the controls use.
inline constexpr std::int32_t kWhite = 30;
inline constexpr std::int32_t kBlack = 33;
inline constexpr std::int32_t kDarkGrey = 96;
inline constexpr std::int32_t kGrey = 160;
inline constexpr std::int32_t kBackground = 224;

// The system pictures: thumbs, arrows (each pressed one is numbered one less), check box and radio
// button off and on.
inline constexpr std::int16_t kVerticalThumbPict = -9005;
inline constexpr std::int16_t kHorizontalThumbPict = -9006;
inline constexpr std::int16_t kUpArrowPict = -9007;
inline constexpr std::int16_t kDownArrowPict = -9009;
inline constexpr std::int16_t kLeftArrowPict = -9011;
inline constexpr std::int16_t kRightArrowPict = -9013;
inline constexpr std::int16_t kCheckBoxOffPict = -9015;
inline constexpr std::int16_t kCheckBoxOnPict = -9016;
inline constexpr std::int16_t kRadioOffPict = -9017;
inline constexpr std::int16_t kRadioOnPict = -9018;

// Keeps the current port's font, size, style, text mode, colours and pen, sets the system font
// (font 0, size 0, plain, srcOr) and a normal pen, and brackets everything drawn meanwhile.
class DrawScope {
public:
    DrawScope();
    ~DrawScope();
    DrawScope(const DrawScope&) = delete;
    DrawScope& operator=(const DrawScope&) = delete;

private:
    GrafPtr port_;
    std::int16_t font_ = 0, size_ = 0, mode_ = 0;
    std::uint8_t face_ = 0;
    std::int32_t fg_ = 0, bk_ = 0, fgIndex_ = 0, bkIndex_ = 0;
    PenState pen_{};
};

Rect MakeRect(int left, int top, int right, int bottom);
void Fill(const Rect& r, std::int32_t colour);
void Frame(const Rect& r, std::int32_t colour);
// A two-pixel bevel just inside r: `light` along the top and left, `dark` along the bottom and
// right, the dark edges taking the two far corners.
void Bevel(const Rect& r, std::int32_t light, std::int32_t dark, int thickness = 2);

// Draws a zero-terminated title with its baseline centred in the rectangle's height: at `h`, or
// centred in its width when centre is set; clipped to r.
void DrawTitle(const char* title, const Rect& r, int h, bool centre, std::int32_t colour);

// Draws system picture `id` into r; false when there is no such picture.
bool DrawSystemPicture(std::int16_t id, const Rect& r);

// The plain drawings used when a system picture is missing.
enum class ArrowDirection { Up, Down, Left, Right };
void DrawPlainArrow(const Rect& r, ArrowDirection direction, bool pressed);
void DrawPlainThumb(const Rect& r);
void DrawPlainCheckBox(const Rect& r, bool on);
void DrawPlainRadio(const Rect& r, bool on);

} // namespace qiva::controls
