#include "receivers/icom/pcr1000/pcr_band_scope.h"

#include <algorithm>
#include <cstdio>

#include "receivers/icom/pcr1000/pcr_link.h"

namespace {

constexpr int kCellWidths[] = {3, 6, 12, 24, 48};
constexpr ui::Color kBlack = 0x000000;
constexpr ui::Color kSilver = 0xc0c0c0;
constexpr ui::Color kGrey = 0x606060;
constexpr ui::Color kGreen = 0x00c000;

}  // namespace

int PcrBandScope::VisibleCells(int pictureWidth) const {
    if (CellWidth <= 0 || pictureWidth <= 0) return 0;
    return std::min(pictureWidth / CellWidth, kMostCells);
}

std::string PcrBandScope::StartLine(int pictureWidth) const {
    char line[32];
    std::snprintf(line, sizeof line, "ME00001%02X050100%06u", VisibleCells(pictureWidth),
                  Step() * 100);
    return line;
}

void PcrBandScope::MarkWanted(int pictureWidth) {
    Wanted.fill(false);
    const int n = VisibleCells(pictureWidth);
    for (int c = kCentreCell - n / 2; c < kCentreCell - n / 2 + n; ++c)
        Wanted[static_cast<std::size_t>(c / kBlockCells)] = true;
}

std::string PcrBandScope::BlockQuery(int block) {
    char query[16];
    std::snprintf(query, sizeof query, "NE%2X0?\r\n", 0x10 + block);
    return query;
}

std::string PcrBandScope::PollLine() const {
    std::string line;
    for (int block = 0; block < kBlockCount; ++block)
        if (Wanted[static_cast<std::size_t>(block)]) line += BlockQuery(block);
    return line;
}

bool PcrBandScope::Take(std::string_view reply) {
    const int block = pcr::HexPair(reply, 2) - 0x10;
    if (block < 0 || block >= kBlockCount) return false;
    for (int i = 0; i < kBlockCells; ++i)
        Cells[static_cast<std::size_t>(block * kBlockCells + i)] =
            static_cast<uint32_t>(pcr::HexPair(reply, 5 + 2 * static_cast<std::size_t>(i)));
    return true;
}

void PcrBandScope::CopyToScale(LevelScale& scale, uint32_t frequency) const {
    const int64_t first = int64_t{frequency} - (kCentreCell - kScanFirstCell) * kScanCellStep;
    for (int k = 0; k < kScanCellCount; ++k) {
        const uint32_t value = Cells[static_cast<std::size_t>(kScanFirstCell + k)] & 0xFF;
        scale.SetCell(scale.IndexOf(first + int64_t{k} * kScanCellStep),
                      static_cast<uint8_t>(std::min<uint32_t>(value, 254)));
    }
}

void PcrBandScope::Clear() {
    Cells.fill(0);
}

void PcrBandScope::NextCellWidth() {
    CellWidth = CellWidth < 48 ? CellWidth * 2 : 3;
}

bool PcrBandScope::SetCellWidth(int width) {
    if (std::find(std::begin(kCellWidths), std::end(kCellWidths), width) == std::end(kCellWidths))
        return false;
    CellWidth = width;
    return true;
}

bool PcrBandScope::SetStepItem(int item) {
    if (item < 0 || item >= static_cast<int>(kSteps.size())) return false;
    stepItem_ = item;
    step_ = kSteps[static_cast<std::size_t>(item)];
    return true;
}

void PcrBandScope::SetStep(uint32_t step) {
    step_ = std::clamp(step, kLeastStep, kMostStep);
    const auto listed = std::find(kSteps.begin(), kSteps.end(), step_);
    if (listed != kSteps.end()) stepItem_ = static_cast<int>(listed - kSteps.begin());
}

void PcrBandScope::Draw(ui::Painter& painter) const {
    const int width = painter.Width();
    const int height = painter.Height();
    painter.FillRect({0, 0, width, height}, kBlack);
    for (int i = 1; i < 5; ++i) painter.Line(0, height * i / 5, width - 1, height * i / 5, kGrey);
    const int n = VisibleCells(width);
    const int first = kCentreCell - n / 2;
    // A cell of 255 fills the picture.
    const int divisor = 255 / std::max(height, 1) + 1;
    for (int c = first; c < first + n; ++c) {
        const int bar = static_cast<int>(Cells[static_cast<std::size_t>(c)] & 0xFF) / divisor;
        if (bar > 0)
            painter.FillRect({(c - first) * CellWidth, height - bar, CellWidth - 1, bar}, kGreen);
    }
    const int centre = (kCentreCell - first) * CellWidth + CellWidth / 2;
    painter.Line(centre, 0, centre, height - 1, kSilver);
    // The offsets of the picture's edges from the tuned frequency, kHz.
    char text[32];
    const double edge = n / 2 * static_cast<double>(Step()) / 10.0;
    painter.SetTextColor(kSilver);
    std::snprintf(text, sizeof text, "-%5.1f", edge);
    painter.Text(2, 2, text);
    std::snprintf(text, sizeof text, "%5.1f", edge);
    painter.Text(width - painter.TextWidth(text) - 2, 2, text);
}
