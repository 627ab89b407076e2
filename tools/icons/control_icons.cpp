// The glyphs of the control window's buttons, as shapes sampled at pixel
// centres: triangles for the step and end buttons (the right-pointing ones
// mirror the left-pointing ones), bars, arrows, a ring with an arrowhead for
// the loop, and the minus and plus of the speed buttons.
#include "control_icons.h"

#include <cmath>

namespace {

const double MiddleRow = 16.0;  // the glyphs' horizontal axis
const double HalfHeight = 5.0;  // triangles and bars are ten pixels tall
const int TriangleWidth = 5;
const int TriangleStride = 4;  // a following triangle starts at the base of the one before
const int BarWidth = 2;

// Shapes are tested at pixel centres, in canvas coordinates.
typedef bool (*Shape)(double x, double y, const double* p);

// A triangle pointing left: tip at p[0], base p[1] pixels further right.
bool LeftTriangle(double x, double y, const double* p) {
    if (x < p[0] || x > p[0] + p[1]) return false;
    return std::fabs(y - MiddleRow) <= HalfHeight * (x - p[0]) / p[1];
}

// A triangle pointing right: base at p[0], tip p[1] pixels further right,
// p[2] high on either side of row p[3] at its base.
bool RightTriangle(double x, double y, const double* p) {
    if (x < p[0] || x > p[0] + p[1]) return false;
    return std::fabs(y - p[3]) <= p[2] * (p[0] + p[1] - x) / p[1];
}

// A rectangle from (p[0], p[1]) to (p[2], p[3]).
bool Box(double x, double y, const double* p) { return x >= p[0] && x <= p[2] && y >= p[1] && y <= p[3]; }

void Paint(Glyph* glyph, Shape shape, const double* parameters) {
    for (int row = 0; row < IconSize; ++row)
        for (int column = 0; column < IconSize; ++column)
            if (shape(column + 0.5, row + 0.5, parameters)) glyph->ink[row][column] = true;
}

void PaintBox(Glyph* glyph, double left, double top, double right, double bottom) {
    const double box[] = {left, top, right, bottom};
    Paint(glyph, Box, box);
}

// A tall bar from column left.
void PaintBar(Glyph* glyph, double left) {
    PaintBox(glyph, left, MiddleRow - HalfHeight, left + BarWidth, MiddleRow + HalfHeight);
}

// Glyphs are placed in the middle of the canvas, the odd pixel to the left.
int LeftOfWidth(int width) { return (IconSize - width) / 2; }

// count left-pointing triangles, each starting at the base of the one before.
void PaintTriangles(Glyph* glyph, int count, int left) {
    for (int i = 0; i < count; ++i) {
        const double triangle[] = {static_cast<double>(left + i * TriangleStride), TriangleWidth};
        Paint(glyph, LeftTriangle, triangle);
    }
}

int TrianglesWidth(int count) { return TriangleWidth + (count - 1) * TriangleStride; }

// A right-pointing arrow from column from to its tip at column to.
void PaintArrow(Glyph* glyph, double from, double to) {
    const double headLength = 4.0;
    PaintBox(glyph, from, MiddleRow - 1.0, to - headLength + 1.0, MiddleRow + 1.0);
    const double head[] = {to - headLength, headLength, 4.0, MiddleRow};
    Paint(glyph, RightTriangle, head);
}

// The loop: a ring open at the upper right, running clockwise from 3
// o'clock round to 12 o'clock, where an arrowhead points on to the right.
const double RingX = 16.0, RingY = 17.0, RingOuter = 6.0, RingInner = 4.0;

bool Ring(double x, double y, const double*) {
    const double dx = x - RingX, dy = y - RingY;
    const double radius = std::sqrt(dx * dx + dy * dy);
    if (radius < RingInner || radius > RingOuter) return false;
    return !(dx > 0 && dy < 0);  // the open quarter
}

void PaintRingArrowhead(Glyph* glyph) {
    const double head[] = {RingX, 4.0, 3.0, RingY - (RingOuter + RingInner) / 2.0};
    Paint(glyph, RightTriangle, head);
}

void Mirror(Glyph* glyph) {
    for (auto& row : glyph->ink)
        for (int column = 0; column < IconSize / 2; ++column) {
            const bool left = row[column];
            row[column] = row[IconSize - 1 - column];
            row[IconSize - 1 - column] = left;
        }
}

// The left-pointing step and end glyphs, mirrored for the right-pointing ones.
bool DrawLeftward(uint32_t id, Glyph* glyph) {
    switch (id) {
        case 118:
        case 119:
        case 120: {
            const int count = static_cast<int>(id - 117);
            PaintTriangles(glyph, count, LeftOfWidth(TrianglesWidth(count)));
            return true;
        }
        case 121: {
            const int left = LeftOfWidth(BarWidth + TriangleWidth);
            PaintBar(glyph, left);
            PaintTriangles(glyph, 1, left + BarWidth);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

bool DrawControlGlyph(uint32_t id, Glyph* glyph) {
    *glyph = Glyph{};
    if (DrawLeftward(id, glyph)) return true;
    if (id >= 122 && id <= 125) {
        DrawLeftward(id - 4, glyph);
        Mirror(glyph);
        return true;
    }
    switch (id) {
        case 126:
            Paint(glyph, Ring, nullptr);
            PaintRingArrowhead(glyph);
            return true;
        case 127: {  // loop start: a bar, and an arrow leaving it to the right
            const int left = LeftOfWidth(13);
            PaintBar(glyph, left);
            PaintArrow(glyph, left + BarWidth + 1, left + 13);
            return true;
        }
        case 128: {  // loop end: an arrow running right into a bar
            const int left = LeftOfWidth(12);
            PaintArrow(glyph, left, left + 10);
            PaintBar(glyph, left + 10);
            return true;
        }
        case 129:
            PaintBox(glyph, 10, MiddleRow - 1.0, 22, MiddleRow + 1.0);
            return true;
        case 130:
            PaintBox(glyph, 10, MiddleRow - 1.0, 22, MiddleRow + 1.0);
            PaintBox(glyph, 15, 10, 17, 22);
            return true;
        default:
            return false;
    }
}

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The sixteen standard colours, blue-green-red; index 0 is black.
const uint8_t Palette[16][3] = {
    {0, 0, 0},     {0, 0, 128},     {0, 128, 0},     {0, 128, 128},   {128, 0, 0}, {128, 0, 128},
    {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255},     {0, 255, 0}, {0, 255, 255},
    {255, 0, 0},   {255, 0, 255},   {255, 255, 0},   {255, 255, 255},
};

}  // namespace

std::vector<uint8_t> EncodeIcon(const Glyph& glyph) {
    const uint32_t colourRowBytes = IconSize / 2;  // four bits a pixel
    const uint32_t maskRowBytes = IconSize / 8;    // one bit a pixel
    const uint32_t headerBytes = 40, paletteBytes = 16 * 4;
    const uint32_t imageBytes = headerBytes + paletteBytes + IconSize * (colourRowBytes + maskRowBytes);
    const uint32_t directoryBytes = 6 + 16;

    std::vector<uint8_t> out;
    // The directory: one icon of 32 x 32 pixels, 16 colours.
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out.push_back(IconSize);
    out.push_back(IconSize);
    out.push_back(16);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, imageBytes);
    Put32(out, directoryBytes);
    // The image: a bitmap header whose height counts the colour and mask halves.
    Put32(out, headerBytes);
    Put32(out, IconSize);
    Put32(out, IconSize * 2);
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, IconSize * (colourRowBytes + maskRowBytes));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 16);
    Put32(out, 0);
    for (const auto& colour : Palette) {
        out.insert(out.end(), colour, colour + 3);
        out.push_back(0);
    }
    // Colours: black (index 0) everywhere; the mask decides what shows.
    out.insert(out.end(), IconSize * colourRowBytes, 0);
    // The mask, bottom row first, leftmost pixel in the highest bit: set
    // where the background shows through.
    for (int row = IconSize - 1; row >= 0; --row)
        for (uint32_t byte = 0; byte < maskRowBytes; ++byte) {
            uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (!glyph.ink[row][byte * 8 + bit]) bits |= static_cast<uint8_t>(0x80 >> bit);
            out.push_back(bits);
        }
    return out;
}
