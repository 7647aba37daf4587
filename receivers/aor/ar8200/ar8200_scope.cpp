#include "receivers/aor/ar8200/ar8200_scope.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "receivers/fine_scale.h"

namespace {

constexpr ui::Color kLightGrey = 0xc0c0c0;  // the area
constexpr ui::Color kGrey = 0x808080;       // its frame and grid
constexpr ui::Color kRed = 0xff0000;        // the tuned frequency
constexpr ui::Color kCyan = 0x00ffff;       // the levels
constexpr ui::Color kYellow = 0xffff00;     // their tops
constexpr ui::Color kBlack = 0x000000;      // the offsets

constexpr int kMostFactor = 48;
constexpr int kLeastFactor = 3;
// Digits a "DS" line holds: two groups of 16, at these places of the line.
constexpr std::size_t kFirstHalf = 7;
constexpr std::size_t kSecondHalf = 24;
constexpr int kHalfDigits = 16;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

uint32_t Ar8200Scope::Step(int width) const {
    return width > 0 ? kSpanUnits[static_cast<std::size_t>(span_)] / static_cast<uint32_t>(width)
                     : 0;
}

bool Ar8200Scope::ChooseSpan(int index) {
    if (index < 0 || index >= kSpans) return false;
    span_ = index;
    return true;
}

void Ar8200Scope::NextFactor() {
    factor_ = factor_ < kMostFactor ? factor_ * 2 : kLeastFactor;
}

void Ar8200Scope::Restart() {
    seen_ = false;
    width_ = 0;
    drawn_.fill(0);
}

void Ar8200Scope::Take(std::string_view line, uint32_t step,
                       std::array<uint8_t, kEntries>& levels) {
    if (step == 0) return;
    uint32_t value = 0;
    for (std::size_t i = 2; i < 6 && i < line.size(); ++i) {
        if (line[i] < '0' || line[i] > '9') break;
        value = value * 10 + static_cast<uint32_t>(line[i] - '0');
    }
    if (!seen_ && value > width_) {
        width_ = value;
        std::fill(levels.begin() + 1, levels.end(), 0);
    }
    seen_ = true;
    int64_t counter = value;
    for (int i = 0; i < 2 * kHalfDigits; ++i, --counter) {
        const bool first = i < kHalfDigits;
        const std::size_t at = (first ? kFirstHalf : kSecondHalf - kHalfDigits) + std::size_t(i);
        const int c = at < line.size() ? HexValue(line[at]) : -1;
        int height = 0;
        if (c >= 3)
            height = 16 * (c - 2);
        else if (c >= 0 && !first)
            height = c;
        const int64_t entry = width_ >= 128 ? (counter - 511) * 100'000 / step + kCentre
                                            : (counter - 63) * 20'000 / step + kCentre;
        uint8_t& target = levels[entry >= 0 && entry < kEntries ? std::size_t(entry) : 0];
        target = static_cast<uint8_t>(std::max<int>(target, height));
    }
}

void Ar8200Scope::TakeForDrawing(const std::array<uint8_t, kEntries>& levels) {
    drawn_ = levels;
    int last = -1;  // the last non-zero entry
    for (int e = 0; e < kEntries; ++e) {
        if (levels[std::size_t(e)] == 0) continue;
        const int gap = e - last - 1;
        if (last >= 0 && gap >= 2 && gap <= 4) {
            const int from = levels[std::size_t(last)], to = levels[std::size_t(e)];
            for (int g = 1; g <= gap; ++g)
                drawn_[std::size_t(last + g)] =
                    static_cast<uint8_t>(from + (to - from) * g / (gap + 1));
        }
        last = e;
    }
}

void Ar8200Scope::Shown(int width, int& first, int& count) const {
    first = std::max(kCentre - (width / 2) / factor_, 0);
    count = std::min(width / factor_ + 1, kEntries - first);
}

void Ar8200Scope::Draw(ui::Painter& p, uint32_t step) const {
    const int w = p.Width();
    const int h = p.Height();
    const int axis = h - 18;
    const int grid = h / 5;
    p.FillRect({0, 0, w, h}, kLightGrey);
    p.SetNoBrush();
    p.SetPen(ui::Pen{kGrey});
    p.Rectangle({0, 0, w, h});
    p.Line(0, h - 15, w - 1, h - 15, kGrey);
    p.Line(0, axis, w - 1, axis, kGrey);
    for (int k = 1; k <= 4; ++k) p.Line(0, axis - k * grid, w - 1, axis - k * grid, kGrey);
    const int top = axis - 4 * grid;
    int first = 0, count = 0;
    Shown(w, first, count);
    for (int e = first; e < first + count; ++e) {
        const int height = drawn_[std::size_t(e)] * (axis - top) / 255;
        if (height <= 0) continue;
        const int x = w / 2 + (e - kCentre) * factor_;
        p.FillRect({x, axis - height, std::max(factor_ - 1, 1), height}, kCyan);
        p.Line(x, axis - height, x + std::max(factor_ - 2, 0), axis - height, kYellow);
    }
    p.Line(w / 2, axis, w / 2, top, kRed);
    p.Text(w / 2 - 2, h - 14, "0", kBlack);
    DrawLabels(p, step, axis);
}

// The offsets from the tuned frequency by the 1-2-5 rule, about three each side; MHz when the
// step between them exceeds 1,000,000 of FDX::ScopeStep's units, kHz above 1000.
void Ar8200Scope::DrawLabels(ui::Painter& p, uint32_t step, int axis) const {
    const int w = p.Width();
    if (step == 0) return;
    const int64_t spacing =
        std::max<int64_t>(OneTwoFive(double(step) * double(w / factor_) / 6.0), 1);
    const double divisor = spacing > 1'000'000 ? 1e7 : spacing > 1000 ? 1e4 : 1.0;
    for (int64_t k = 1;; ++k) {
        const int64_t offset = k * spacing * factor_ / step;
        if (offset >= w / 2) break;
        char text[32];
        std::snprintf(text, sizeof text, "%5.1f", double(k * spacing) / divisor);
        const int right = w / 2 + int(offset);
        const int left = w / 2 - int(offset);
        p.Line(right, axis, right, axis + 3, kGrey);
        p.Line(left, axis, left, axis + 3, kGrey);
        p.Text(right - p.TextWidth(text) / 2, p.Height() - 14, text, kBlack);
        const std::string minus = std::string("-") + text;
        p.Text(left - p.TextWidth(minus) / 2, p.Height() - 14, minus, kBlack);
    }
}
