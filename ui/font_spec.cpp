#include "ui/font_spec.h"

#include <QStringList>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

#include "ui/text.h"

namespace ui {

namespace {

bool SameWord(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool ParseNumber(std::string_view text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// The faces of the Windows fonts the program names and the installed faces that draw them.
struct Substitute {
    const char* face;
    const char* first;
    const char* second;
};
constexpr char kSans[] = "Liberation Sans";
constexpr char kSansFallback[] = "DejaVu Sans";
constexpr char kMono[] = "Liberation Mono";
constexpr char kMonoFallback[] = "DejaVu Sans Mono";
constexpr char kSerif[] = "Liberation Serif";
constexpr char kSerifFallback[] = "DejaVu Serif";
constexpr Substitute kSubstitutes[] = {
    {"MS Sans Serif", kSans, kSansFallback},  {"Microsoft Sans Serif", kSans, kSansFallback},
    {"MS Shell Dlg", kSans, kSansFallback},   {"MS Shell Dlg 2", kSans, kSansFallback},
    {"Arial", kSans, kSansFallback},          {"Tahoma", kSans, kSansFallback},
    {"Verdana", kSans, kSansFallback},        {"System", kSans, kSansFallback},
    {"Courier New", kMono, kMonoFallback},    {"Courier", kMono, kMonoFallback},
    {"Fixedsys", kMono, kMonoFallback},       {"Terminal", kMono, kMonoFallback},
    {"Lucida Console", kMono, kMonoFallback}, {"Times New Roman", kSerif, kSerifFallback},
    {"MS Serif", kSerif, kSerifFallback},
};

}  // namespace

FontSpec FontSpec::Parse(const std::string& description) {
    FontSpec spec;
    spec.description = description;
    std::vector<std::string_view> fields;
    std::string_view rest = description;
    for (;;) {
        const size_t dot = rest.find('.');
        fields.push_back(rest.substr(0, dot));
        if (dot == std::string_view::npos) break;
        rest.remove_prefix(dot + 1);
    }
    size_t next = 0;
    int points = 0;
    if (fields.size() > 1 && ParseNumber(fields[0], points) && points > 0) {
        spec.points = points;
        next = 1;
    }
    spec.face = std::string(fields[next++]);
    for (; next < fields.size(); ++next) {
        const std::string_view field = fields[next];
        const size_t equals = field.find('=');
        if (equals != std::string_view::npos) {
            int value = 0;
            if (SameWord(field.substr(0, equals), "CharSet") &&
                ParseNumber(field.substr(equals + 1), value))
                spec.charSet = value;
        } else if (SameWord(field, "Bold")) {
            spec.bold = true;
        } else if (SameWord(field, "Italic")) {
            spec.italic = true;
        } else if (SameWord(field, "Underline")) {
            spec.underline = true;
        } else if (SameWord(field, "StrikeOut")) {
            spec.strikeOut = true;
        }
    }
    return spec;
}

std::vector<std::string> InstalledFaces(const std::string& face) {
    for (const Substitute& s : kSubstitutes)
        if (SameWord(face, s.face)) return {s.first, s.second};
    // A face this machine may have itself, else the dialog face.
    if (face.empty()) return {kSans, kSansFallback};
    return {face, kSans, kSansFallback};
}

QFont QtFont(const FontSpec& spec) {
    QStringList families;
    for (const std::string& face : InstalledFaces(spec.face)) families << ToQt(face);
    QFont font;
    font.setFamilies(families);
    font.setPointSize(spec.points);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace ui
