#include "state/cp1251.h"

#include <array>
#include <cstdint>

namespace {

// Code points of the bytes 0x80..0xFF; 0x00..0x7F are ASCII. 0x98 keeps U+0098 (see the header).
// clang-format off
constexpr std::array<char16_t, 128> kHighHalf = {
    // 0x80
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    // 0x90
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    // 0xA0
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    // 0xB0
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
    // 0xC0
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417',
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F',
    // 0xD0
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427',
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F',
    // 0xE0
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437',
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F',
    // 0xF0
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447',
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F',
};
// clang-format on

// The Russian alphabet А..я is one run in both encodings, and it is nearly all of our text.
constexpr char32_t kCyrillicFirst = 0x0410;
constexpr char32_t kCyrillicLast = 0x044F;
constexpr unsigned char kCyrillicFirstByte = 0xC0;

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char toCp1251(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= kCyrillicFirst && cp <= kCyrillicLast)
        return static_cast<char>(kCyrillicFirstByte + (cp - kCyrillicFirst));
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == cp) return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The lead byte of a multi-byte UTF-8 sequence: its marker bits, the sequence length and the
// smallest code point that needs that length (anything smaller is an overlong form).
struct Utf8Lead {
    unsigned char mask;
    unsigned char marker;
    std::size_t length;
    char32_t minimum;
};

constexpr Utf8Lead kUtf8Leads[] = {
    {0xE0, 0xC0, 2, 0x80},
    {0xF0, 0xE0, 3, 0x800},
    {0xF8, 0xF0, 4, 0x10000},
};

// Decodes one well-formed UTF-8 sequence at the front of `in`; returns its length, or 0 when the
// first byte does not start one (stray continuation, overlong form, surrogate, beyond U+10FFFF,
// cut short).
std::size_t decodeUtf8(std::string_view in, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(in[0]);
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    for (const Utf8Lead& form : kUtf8Leads) {
        if ((lead & form.mask) != form.marker) continue;
        if (in.size() < form.length) return 0;
        cp = lead & static_cast<unsigned char>(~form.mask);
        for (std::size_t i = 1; i < form.length; ++i) {
            const auto byte = static_cast<unsigned char>(in[i]);
            if (!isContinuation(byte)) return 0;
            cp = (cp << 6) | (byte & 0x3F);
        }
        if (cp < form.minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
        return form.length;
    }
    return 0;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (char c : cp1251) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            appendUtf8(out, kHighHalf[byte - 0x80]);
        }
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t cp = 0;
        const std::size_t length = decodeUtf8(utf8, cp);
        if (length == 0) {
            out += '?';
            utf8.remove_prefix(1);
        } else {
            out += toCp1251(cp);
            utf8.remove_prefix(length);
        }
    }
    return out;
}
