// The IC-R8500 panel's picture buttons, drawn as character art like the main window's.

#include "receivers/icom/ic8500_pictures.h"

#include <cstring>
#include <string_view>

namespace {

struct PictureArt {
    const char* control;
    const char* rows[12];
};

struct PaletteEntry {
    char key;
    ui::Color color;
};

constexpr PaletteEntry kPalette[] = {
    {'.', 0xd4d0c8},  // button face
    {'k', 0x000000}, {'g', 0x808080}, {'r', 0xc00000},
    {'n', 0x008000}, {'b', 0x0000c0}, {'y', 0xe0c000},
};

// clang-format off
constexpr PictureArt kArt[] = {
    {"pictbttn_1",  // start the receiver's scan: a play mark
     {"..............", "...k..........", "...kk.........", "...knk........", "...knnk.......", "...knnnk......",
      "...knnnk......", "...knnk.......", "...knk........", "...kk.........", "...k..........", ".............."}},
    {"pictbttn_2",  // right to the next peak
     {"..............", "..........r...", ".........rrr..", "........r.r.r.", "..........r...", "..........r...",
      "....n.....r...", "...nnn....r...", "..nnnnn...r...", ".nnnnnnn..r...", "kkkkkkkkkkkkk.", ".............."}},
    {"pictbttn_3",  // left to the next peak
     {"..............", "...r..........", "..rrr.........", ".r.r.r........", "...r..........", "...r..........",
      "...r.....n....", "...r....nnn...", "...r...nnnnn..", "...r..nnnnnnn.", ".kkkkkkkkkkkkk", ".............."}},
    {"pictbttn_4",  // left to the next fixed frequency
     {"..............", "..........b...", "..........b...", "...k......b...", "..kk......b...", ".kkkkkkk..b...",
      "..kk......b...", "...k......b...", "..........b...", "..........b...", "kkkkkkkkkkkkk.", ".............."}},
    {"pictbttn_5",  // right to the next fixed frequency
     {"..............", "...b..........", "...b..........", "...b......k...", "...b......kk..", "...b..kkkkkkk.",
      "...b......kk..", "...b......k...", "...b..........", "...b..........", ".kkkkkkkkkkkkk", ".............."}},
    {"pictbttn_6",  // scan settings: a sheet with lines
     {"..............", "..kkkkkkkkk...", "..kyyyyyyyk...", "..kykkkkkyk...", "..kyyyyyyyk...", "..kykkkkkyk...",
      "..kyyyyyyyk...", "..kykkkkkyk...", "..kyyyyyyyk...", "..kkkkkkkkk...", "..............", ".............."}},
    {"pictbttn_7",  // clear the fine scale: a crossed-out scale
     {"..............", ".r.........r..", "..r.......r...", "...r..n..r....", "....r.nnr.....", ".....rnr......",
      "....nnrnn.....", "...nnrnrnn....", "..nnr...rnn...", ".nnr.....rn...", "kkkkkkkkkkkkk.", ".............."}},
};
// clang-format on

ui::Color ColorOf(char key) {
    for (const PaletteEntry& entry : kPalette)
        if (entry.key == key) return entry.color;
    return kPalette[0].color;
}

}  // namespace

Picture Ic8500Picture(const std::string& controlName) {
    for (const PictureArt& art : kArt) {
        if (controlName != art.control) continue;
        Picture picture;
        picture.width = int(std::strlen(art.rows[0]));
        picture.height = int(std::size(art.rows));
        for (std::string_view row : art.rows)
            for (int x = 0; x < picture.width; ++x)
                picture.pixels.push_back(ColorOf(size_t(x) < row.size() ? row[x] : '.'));
        return picture;
    }
    return {};
}
