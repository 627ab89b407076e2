// The control window's thirteen button pictures, drawn from a few shapes
// rather than by hand: black glyphs on a transparent 32 x 32 canvas, and
// their encoding as 16-colour icon files for the module's resources. Only
// the middle of the canvas shows on the window's 20 x 20 buttons.
#pragma once

#include <cstdint>
#include <vector>

constexpr int IconSize = 32;
constexpr uint32_t FirstControlIcon = 118;
constexpr uint32_t LastControlIcon = 130;

// What shows of an icon centred on a 20 x 20 button, inside its frame:
// canvas pixels VisibleFirst .. VisibleLast on both axes.
constexpr int VisibleFirst = 8;
constexpr int VisibleLast = 23;

struct Glyph {
    bool ink[IconSize][IconSize];  // [row][column]; row 0 at the top
};

// Draws icon id (118 .. 130); false for any other id.
bool DrawControlGlyph(uint32_t id, Glyph* glyph);
// The glyph as an icon file: one 32 x 32 image of 16 colours, black where
// it has ink and transparent elsewhere.
std::vector<uint8_t> EncodeIcon(const Glyph& glyph);
