#include "ui/picture_art.h"

#include <cstring>
#include <string_view>

namespace ui {

namespace {

struct PaletteEntry {
    char key;
    Color color;
};

constexpr PaletteEntry kPalette[] = {
    {'.', 0xd4d0c8},  // button face: transparent in effect
    {'k', 0x000000}, {'w', 0xffffff}, {'g', 0x808080}, {'r', 0xc00000},
    {'b', 0x0000c0}, {'y', 0xe0c000}, {'n', 0x008000}, {'c', 0x0080c0},
};

Color ColorOf(char key) {
    for (const PaletteEntry& entry : kPalette)
        if (entry.key == key) return entry.color;
    return kPalette[0].color;
}

}  // namespace

ArtPicture FindPicture(std::span<const PictureArt> table, const std::string& controlName) {
    for (const PictureArt& art : table) {
        if (controlName != art.control) continue;
        ArtPicture picture;
        picture.width = int(std::strlen(art.rows[0]));
        picture.height = int(std::size(art.rows));
        for (std::string_view row : art.rows)
            for (int x = 0; x < picture.width; ++x)
                picture.pixels.push_back(ColorOf(size_t(x) < row.size() ? row[x] : '.'));
        return picture;
    }
    return {};
}

}  // namespace ui
