// The generated button pictures: each is a well-formed 32 x 32, 16-colour
// icon file whose mask lets the background show wherever the glyph has no
// ink; every glyph shows whole on a 20 x 20 button; the glyphs are what
// their buttons say (one, two, three triangles; right mirrors left; a ring
// for the loop); and the generator writes the files or says why it cannot.
#include "control_icons.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

uint32_t Read16(const std::vector<uint8_t>& bytes, size_t at) { return bytes[at] | bytes[at + 1] << 8; }
uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at) {
    return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

Glyph Draw(uint32_t id) {
    Glyph glyph;
    EXPECT_TRUE(DrawControlGlyph(id, &glyph)) << id;
    return glyph;
}

int InkCount(const Glyph& glyph) {
    int count = 0;
    for (const auto& row : glyph.ink)
        for (bool ink : row) count += ink;
    return count;
}

// Triangles side by side: each ends where the inked height of the columns
// falls again.
int Triangles(const Glyph& glyph) {
    int count = 0, previous = 0;
    bool rising = false;
    for (int column = 0; column < IconSize; ++column) {
        int height = 0;
        for (int row = 0; row < IconSize; ++row) height += glyph.ink[row][column];
        if (height > previous) rising = true;
        if (height < previous && rising) {
            ++count;
            rising = false;
        }
        previous = height;
    }
    return count;
}

// Pieces of ink touching at an edge or a corner.
int Pieces(Glyph glyph) {
    int pieces = 0;
    for (int row = 0; row < IconSize; ++row)
        for (int column = 0; column < IconSize; ++column) {
            if (!glyph.ink[row][column]) continue;
            ++pieces;
            std::vector<std::pair<int, int>> open = {{row, column}};
            glyph.ink[row][column] = false;
            while (!open.empty()) {
                auto [r, c] = open.back();
                open.pop_back();
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc) {
                        const int nr = r + dr, nc = c + dc;
                        if (nr < 0 || nc < 0 || nr >= IconSize || nc >= IconSize || !glyph.ink[nr][nc]) continue;
                        glyph.ink[nr][nc] = false;
                        open.push_back({nr, nc});
                    }
            }
        }
    return pieces;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(ControlIcons, EachIsOne16ColourIconWhoseMaskShowsTheGlyph) {
    for (uint32_t id = FirstControlIcon; id <= LastControlIcon; ++id) {
        SCOPED_TRACE(id);
        const Glyph glyph = Draw(id);
        const std::vector<uint8_t> bytes = EncodeIcon(glyph);
        ASSERT_EQ(bytes.size(), 6u + 16u + 40u + 64u + 512u + 128u);
        // Directory: reserved, icon type, one image; its entry.
        EXPECT_EQ(Read16(bytes, 0), 0u);
        EXPECT_EQ(Read16(bytes, 2), 1u);
        EXPECT_EQ(Read16(bytes, 4), 1u);
        EXPECT_EQ(bytes[6], 32);
        EXPECT_EQ(bytes[7], 32);
        EXPECT_EQ(bytes[8], 16);
        EXPECT_EQ(Read16(bytes, 12), 4u);
        EXPECT_EQ(Read32(bytes, 14), bytes.size() - 22);
        EXPECT_EQ(Read32(bytes, 18), 22u);
        // Bitmap header: twice as tall as wide (colours and mask), 4 bits a pixel.
        EXPECT_EQ(Read32(bytes, 22), 40u);
        EXPECT_EQ(Read32(bytes, 26), 32u);
        EXPECT_EQ(Read32(bytes, 30), 64u);
        EXPECT_EQ(Read16(bytes, 36), 4u);
        // Colour 0 is black, and every pixel has it.
        EXPECT_EQ(Read32(bytes, 62), 0u);
        for (size_t i = 126; i < 126 + 512; ++i) ASSERT_EQ(bytes[i], 0) << i;
        // The mask, bottom row first, leftmost pixel in the high bit: clear where ink shows.
        for (int row = 0; row < IconSize; ++row)
            for (int column = 0; column < IconSize; ++column) {
                const uint8_t byte = bytes[638 + (IconSize - 1 - row) * 4 + column / 8];
                const bool transparent = (byte >> (7 - column % 8)) & 1;
                ASSERT_EQ(transparent, !glyph.ink[row][column]) << "row " << row << " column " << column;
            }
    }
    Glyph none;
    EXPECT_FALSE(DrawControlGlyph(117, &none));
    EXPECT_FALSE(DrawControlGlyph(131, &none));
}

TEST(ControlIcons, EveryGlyphShowsWholeOnItsButton) {
    for (uint32_t id = FirstControlIcon; id <= LastControlIcon; ++id) {
        SCOPED_TRACE(id);
        const Glyph glyph = Draw(id);
        EXPECT_GT(InkCount(glyph), 10);
        for (int row = 0; row < IconSize; ++row)
            for (int column = 0; column < IconSize; ++column)
                if (glyph.ink[row][column]) {
                    // Pressed buttons draw the icon one pixel further right and down.
                    ASSERT_GE(row, VisibleFirst);
                    ASSERT_GE(column, VisibleFirst);
                    ASSERT_LE(row, VisibleLast - 1);
                    ASSERT_LE(column, VisibleLast - 1);
                }
    }
}

TEST(ControlIcons, GlyphsAreWhatTheirButtonsDo) {
    EXPECT_EQ(Triangles(Draw(118)), 1);
    EXPECT_EQ(Triangles(Draw(119)), 2);
    EXPECT_EQ(Triangles(Draw(120)), 3);
    // Forward is backward mirrored, the end the beginning mirrored.
    for (uint32_t left = 118; left <= 121; ++left) {
        const Glyph back = Draw(left), forward = Draw(left + 4);
        for (int row = 0; row < IconSize; ++row)
            for (int column = 0; column < IconSize; ++column)
                ASSERT_EQ(back.ink[row][column], forward.ink[row][IconSize - 1 - column]) << left;
    }
    // The leftmost glyph column of the beginning's is a full bar; that of one triangle a tip.
    const Glyph beginning = Draw(121), one = Draw(118);
    auto firstColumnHeight = [](const Glyph& glyph) {
        for (int column = 0; column < IconSize; ++column) {
            int height = 0;
            for (int row = 0; row < IconSize; ++row) height += glyph.ink[row][column];
            if (height) return height;
        }
        return 0;
    };
    EXPECT_EQ(firstColumnHeight(beginning), 10);
    EXPECT_EQ(firstColumnHeight(one), 2);
    // Loop start and end mirror each other's order: bar then arrow, arrow then bar.
    EXPECT_EQ(firstColumnHeight(Draw(127)), 10);
    EXPECT_LT(firstColumnHeight(Draw(128)), 10);
    // The loop is one ring, open in the middle.
    const Glyph loop = Draw(126);
    EXPECT_EQ(Pieces(loop), 1);
    EXPECT_FALSE(loop.ink[16][16]);
    // Plus is minus with a bar across it.
    const Glyph minus = Draw(129), plus = Draw(130);
    for (int row = 0; row < IconSize; ++row)
        for (int column = 0; column < IconSize; ++column) {
            if (minus.ink[row][column]) {
                ASSERT_TRUE(plus.ink[row][column]);
            }
            ASSERT_EQ(plus.ink[row][column], plus.ink[column][row]) << "plus is as tall as wide";
        }
    EXPECT_GT(InkCount(plus), InkCount(minus));
}

TEST(ControlIcons, TheGeneratorWritesEveryIconOrSaysWhyNot) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "aerotrace-icons-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string program = AEROTRACE_MAKE_ICONS_PATH;
    ASSERT_EQ(std::system((program + " " + folder.string()).c_str()), 0);
    for (uint32_t id = FirstControlIcon; id <= LastControlIcon; ++id) {
        SCOPED_TRACE(id);
        Glyph glyph;
        DrawControlGlyph(id, &glyph);
        EXPECT_EQ(FileBytes((folder / ("control_icon_" + std::to_string(id) + ".ico")).string()), EncodeIcon(glyph));
    }
    std::filesystem::remove_all(folder);

    const std::string missing = (folder / "not-there").string();
    const std::string errors = (std::filesystem::temp_directory_path() / "aerotrace-icons-test.err").string();
    EXPECT_NE(std::system((program + " " + missing + " 2>" + errors).c_str()), 0);
    std::ifstream text(errors);
    std::string message((std::istreambuf_iterator<char>(text)), std::istreambuf_iterator<char>());
    EXPECT_NE(message.find("could not write " + missing + "/control_icon_118.ico"), std::string::npos) << message;
    std::remove(errors.c_str());
}
