// Writes the control window's icons into a folder, as control_icon_118.ico
// to control_icon_130.ico, for the resource compiler to take into the module.
//   make_icons FOLDER
#include <cstdio>
#include <string>

#include "control_icons.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons FOLDER\n");
        return 2;
    }
    for (uint32_t id = FirstControlIcon; id <= LastControlIcon; ++id) {
        Glyph glyph;
        DrawControlGlyph(id, &glyph);
        const std::vector<uint8_t> bytes = EncodeIcon(glyph);
        const std::string path = std::string(argv[1]) + "/control_icon_" + std::to_string(id) + ".ico";
        FILE* file = std::fopen(path.c_str(), "wb");
        bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (file && std::fclose(file) != 0) written = false;
        if (!written) {
            std::fprintf(stderr, "make_icons: could not write %s\n", path.c_str());
            std::remove(path.c_str());
            return 1;
        }
    }
    return 0;
}
