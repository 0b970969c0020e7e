#pragma once
// Text in the current port: the port's text state, drawing and measuring. Fonts numbered below
// 0x2000 (save eight classic numbers) are bitmap families drawn from 'FONT' strikes; the others are
// TrueType faces drawn monochrome through FreeType. Text is in the Macintosh character set.

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/graphics/face_table.h"
#include "toolkit/graphics/quickdraw_types.h"

struct FontInfo {
    std::int16_t ascent;
    std::int16_t descent;
    std::int16_t widMax;
    std::int16_t leading;
};

// Style bits of txFace.
enum : std::uint8_t { bold = 1, italic = 2, underline = 4, outline = 8, shadow = 16 };

// Starts the Font Manager: the caches start empty and the face table is made on first use.
void InitFonts();

void TextFont(int font);
void TextFace(int face);
void TextMode(int mode);
void TextSize(int size);             // 0 means 12
void SpaceExtra(std::int32_t extra); // pixels added to every character of a TrueType face

// Drawn through the port's textProc, measured through its txMeasProc.
void DrawChar(int ch);
void DrawString(const unsigned char* str); // length byte first
void DrawText(const void* textBuf, int firstByte, int byteCount);

std::int16_t CharWidth(int ch);
std::int16_t StringWidth(const unsigned char* str);
std::int16_t TextWidth(const void* textBuf, int firstByte, int byteCount);
void GetFontInfo(FontInfo* info);

// The standard textProc and txMeasProc (numer and denom are not used: text is drawn at 1:1). The
// text is recorded into an open picture, then drawn from the pen, which moves past it; the width is
// in pixels, and info, when given, gets the font's metrics.
void StdText(int byteCount, const void* textBuf, Point numer, Point denom);
std::int16_t StdTxMeas(int byteCount, const void* textAddr, Point* numer, Point* denom, FontInfo* info);

namespace qiva {

// Where the face table finds the "Fontes" section; by default (null) in WQIVA.INI. Disposes the
// face table.
void SetFontesLookup(FontesLookup lookup);

// The "Fontes" section of an initialisation file, read once: what it holds for a face name, "0"
// when the file, the section or the key is missing.
FontesLookup FontesFromIni(const std::string& path);

// Forgets the loaded strikes and the scaled glyphs (a picture changed the font, resources were
// purged or a resource file was opened). Installed as the core layer's font cache invalidator.
void InvalidateTextCaches();

// Disposes the face table and the opened faces; they are made again on next use.
void DisposeFaceTable();

// The face table, built on first use.
const std::vector<FaceEntry>& FaceTable();

// For tests: the scaled glyphs kept, and how many times a strike was loaded from its resource.
std::size_t ScaledGlyphCount();
int StrikeLoadCount();

} // namespace qiva
