#pragma once
// A font as the forms, the settings and the print form describe it:
// "8.MS Sans Serif.CharSet=204", "12.MS Sans Serif.Bold.CharSet=204": points, face, then
// style words and key=value fields. The description is kept exactly as given, so what is
// read from ORVEL.CFG is written back unchanged; drawing uses an installed face of the same
// kind (InstalledFaces).

#include <string>
#include <vector>

namespace ui {

struct FontSpec {
    std::string description;  // as given
    int points = 8;           // a description without a size gets 8 points
    std::string face;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = -1;  // -1: not given

    static FontSpec Parse(const std::string& description);
};

// The installed faces that draw `face`, best first: the old Windows sans faces ("MS Sans
// Serif", "Arial", ...) as Liberation Sans or DejaVu Sans, "Courier New" and the other fixed
// faces as Liberation Mono or DejaVu Sans Mono, "Times New Roman" as Liberation Serif.
std::vector<std::string> InstalledFaces(const std::string& face);

}  // namespace ui
