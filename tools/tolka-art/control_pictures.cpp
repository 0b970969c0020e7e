#include "control_pictures.h"

#include <string>
#include <utility>

namespace tolka_art {
namespace {

// The palette's colours for the controls' five colour codes (white 30, black 33, dark grey 96,
// grey 160 and the dialogs' light grey 224), so that pictures and drawn edges meet exactly; '_' is
// transparent.
Rgb Ink(char c) {
    switch (c) {
    case '.':
        return Hex(0xFEFEFE);
    case '#':
        return Hex(0x010101);
    case 'd':
        return Hex(0x565656);
    case 'g':
        return Hex(0x8E8E8E);
    default:
        return Hex(0xC7C7C7); // ' ' and '_'
    }
}

using Grid = std::vector<std::string>;

Canvas FromGrid(const Grid& rows) {
    Canvas c(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            c.Set(x, y, Ink(rows[y][x]), rows[y][x] == '_' ? 0.0f : 1.0f);
    return c;
}

// Rows become columns: the horizontal bar's pictures are the vertical ones turned over the diagonal.
Grid Transpose(const Grid& rows) {
    Grid out(rows[0].size(), std::string(rows.size(), ' '));
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            out[x][y] = rows[y][x];
    return out;
}

// A scroll arrow, 15 wide and 16 high: black on its left, top and bottom (the bar's frame gives its
// right edge), raised with a white and a grey edge, or pressed in with its glyph a pixel lower right.
// The glyph is a triangle on a stem, centred on the face.
Grid Arrow(bool pressed, bool down) {
    Grid g(16, std::string(15, ' '));
    for (int x = 0; x < 15; ++x)
        g[0][x] = g[15][x] = '#';
    for (int y = 0; y < 16; ++y)
        g[y][0] = '#';
    if (pressed) {
        for (int x = 1; x < 15; ++x)
            g[1][x] = 'g';
        for (int y = 1; y < 15; ++y)
            g[y][1] = 'g';
    } else {
        for (int x = 1; x < 15; ++x)
            g[1][x] = '.', g[14][x] = 'g';
        for (int y = 1; y < 15; ++y)
            g[y][1] = '.', g[y][14] = 'g';
        g[14][1] = '.';
        g[1][14] = '.';
    }
    const int s = pressed ? 1 : 0;
    const int widths[] = {2, 4, 6, 8, 4, 4, 4};
    for (int row = 0; row < 7; ++row) {
        const int w = widths[row], left = 8 - w / 2 + s, top = (down ? 11 - row : 4 + row) + s;
        for (int x = 0; x < w; ++x)
            g[top][left + x] = '#';
    }
    return g;
}

// The vertical thumb, 14 wide and 16 high: black above and below, raised, with three grip ridges.
Grid Thumb() {
    Grid g(16, std::string(14, ' '));
    for (int x = 0; x < 14; ++x)
        g[0][x] = g[15][x] = '#';
    for (int x = 0; x < 14; ++x)
        g[1][x] = '.', g[14][x] = 'g';
    for (int y = 1; y < 15; ++y)
        g[y][0] = '.', g[y][13] = 'g';
    g[14][0] = '.';
    g[1][13] = '.';
    for (int ridge = 0; ridge < 3; ++ridge)
        for (int x = 4; x < 10; ++x) {
            g[5 + 2 * ridge][x] = 'g';
            g[6 + 2 * ridge][x] = '.';
        }
    return g;
}

const Grid kCheckBoxOff = {
    "############", "#..........#", "#..........#", "#..........#", "#..........#", "#..........#",
    "#..........#", "#..........#", "#..........#", "#..........#", "#..........#", "############",
};
const Grid kCheckBoxOn = {
    "############", "#..........#", "#........#.#", "#.......##.#", "#......###.#", "#.#...###..#",
    "#.##.###...#", "#.#####....#", "#..###.....#", "#...#......#", "#..........#", "############",
};
const Grid kRadioOff = {
    "____####____", "__##....##__", "_#........#_", "_#........#_", "#..........#", "#..........#",
    "#..........#", "#..........#", "_#........#_", "_#........#_", "__##....##__", "____####____",
};
const Grid kRadioOn = {
    "____####____", "__##....##__", "_#........#_", "_#...##...#_", "#...####...#", "#..######..#",
    "#..######..#", "#...####...#", "_#...##...#_", "_#........#_", "__##....##__", "____####____",
};

Artwork Art(std::string file, Grid grid) {
    return {std::move(file), true, [grid] { return FromGrid(grid); }};
}

} // namespace

std::vector<Artwork> ControlArtworks() {
    return {
        Art("pict-9005_vertical_thumb.png", Thumb()),
        Art("pict-9006_horizontal_thumb.png", Transpose(Thumb())),
        Art("pict-9007_up_arrow.png", Arrow(false, false)),
        Art("pict-9008_up_arrow_pressed.png", Arrow(true, false)),
        Art("pict-9009_down_arrow.png", Arrow(false, true)),
        Art("pict-9010_down_arrow_pressed.png", Arrow(true, true)),
        Art("pict-9011_left_arrow.png", Transpose(Arrow(false, false))),
        Art("pict-9012_left_arrow_pressed.png", Transpose(Arrow(true, false))),
        Art("pict-9013_right_arrow.png", Transpose(Arrow(false, true))),
        Art("pict-9014_right_arrow_pressed.png", Transpose(Arrow(true, true))),
        Art("pict-9015_check_box_off.png", kCheckBoxOff),
        Art("pict-9016_check_box_on.png", kCheckBoxOn),
        Art("pict-9017_radio_off.png", kRadioOff),
        Art("pict-9018_radio_on.png", kRadioOn),
    };
}

} // namespace tolka_art
