#include "windows/group_view.h"

#include <algorithm>

#include "state/etl.h"
#include "state/fdx.h"
#include "state/format_text.h"
#include "windows/range_analysis.h"
#include "windows/range_layout.h"

namespace {

using namespace group_colors;

constexpr int kTextRows = 16;  // a readout's and a title's box
constexpr int kReadoutWidth = 30;
constexpr const char* kKindWords[6] = {"тек", "мин", "сред", "макс", "эталон ", "обр"};

}  // namespace

int StripAt(int y) {
    const int from = y - StripTop(0);
    return from < 0 ? 0 : std::min(from / kStripPitch, kGroupStrips - 1);
}

int32_t StripLevel(const Bank& slot, int64_t f) {
    if (slot.Step == 0 || f < int64_t{slot.Start} || f > int64_t{slot.End}) return 0;
    return PointLevel(slot, slot.MainKind, (f - int64_t{slot.Start}) / slot.Step);
}

std::string StripReadout(const FDX& fdx, const Bank& slot, int64_t f) {
    const int32_t kind = std::clamp(slot.MainKind, 0, 5);
    std::string word = kKindWords[kind];
    if (kind == kEtalonCurve && slot.HasEtalon && slot.EtalonRecord != nullptr)
        word += slot.EtalonRecord->Identifier;
    const int32_t level = StripLevel(slot, f);
    const std::string value = fdx.OptDb ? FormatText("%3.1f", fdx.LevelToDb(uint32_t(level)) / 10.0)
                                        : FormatText("%u", unsigned(level));
    return word + " " + value;
}

GroupView::GroupView(int width)
    : width_(std::max(width, 1)), picture_(width_, kGroupPictureHeight) {
    picture_.Draw().FillRect({0, 0, width_, kGroupPictureHeight}, kBackground);
}

int64_t GroupView::FrequencyAt(const Bank& slot, int x) const {
    const VisibleSpan span = VisibleSpanOf(slot, width_);
    return std::clamp(int64_t{span.low} + int64_t{x} * slot.Step, int64_t{span.low},
                      int64_t{span.high});
}

int GroupView::ColumnOf(const Bank& slot, int64_t f) const {
    const VisibleSpan span = VisibleSpanOf(slot, width_);
    if (slot.Step == 0 || f < int64_t{span.low} || f > int64_t{span.high}) return -1;
    return int((f - int64_t{span.low}) / slot.Step);
}

void GroupView::DrawStrip(const FDX& fdx, int strip, const Bank& slot, int64_t cursor) {
    ui::Painter& p = picture_.Draw();
    const int top = StripTop(strip), bottom = StripBottom(strip);
    p.FillRect({0, top - 10, width_, bottom - top + 11}, kBackground);
    p.Line(0, bottom, width_ - 1, bottom, kFrame);
    if (!slot.InUse || slot.Step == 0 || slot.GridColumns.empty()) return;

    const VisibleSpan span = VisibleSpanOf(slot, width_);
    const int64_t step = slot.Step;
    for (int x = 0; x < width_; ++x) {
        const int64_t f = int64_t{span.low} + x * step;
        if (f > int64_t{slot.End}) break;
        if (f < int64_t{slot.Start}) continue;
        const int32_t raw = StripLevel(slot, f);
        const int bar = (fdx.OptLg ? fdx.LevelAxisAt(raw) : raw) >> 3;
        if (bar > 0) p.Line(x, bottom - 1, x, bottom - bar, kBar);
    }
    p.SetPen({kRangeEdge, 1, ui::PenStyle::Dot});
    for (const int64_t edge : {int64_t{slot.Start}, int64_t{slot.End}})
        if (const int x = ColumnOf(slot, edge); x >= 0) p.Line(x, top, x, bottom - 1);

    if (const int x = ColumnOf(slot, cursor); x >= 0) p.Line(x, top, x, bottom - 1, kCursor);
    if (cursor >= int64_t{slot.Start} && cursor <= int64_t{slot.End}) {
        const std::string readout = StripReadout(fdx, slot, cursor);
        p.FillRect({0, top, std::max(kReadoutWidth, p.TextWidth(readout) + 2), kTextRows},
                   kBackground);
        p.Text(1, top, readout, kReadout);
    }
    p.SetTextColor(kTitle);
    const int half = width_ / 2;
    p.TextInRect({half, top, width_ - half - 2, kTextRows},
                 slot.Identifier.empty() ? slot.Name : slot.Identifier, ui::HAlign::Right);
}

void GroupView::DrawLabels(int strip, const Bank& slot) {
    ui::Painter& p = picture_.Draw();
    const int top = StripBottom(strip) + 1;
    const ui::Rect row{0, top, width_, StripTop(strip + 1) - 10 - top};
    p.FillRect(row, kBackground);
    p.SetTextColor(kFrame);
    const std::string number = FormatText("%02u", unsigned(strip + 1));
    p.TextInRect(row, number);
    if (!slot.InUse || slot.Step == 0 || slot.GridColumns.empty()) return;
    const VisibleSpan span = VisibleSpanOf(slot, width_);
    const int64_t last = std::min<int64_t>(span.high, slot.End);
    const int left = p.TextWidth(number + "  ");
    p.TextInRect({left, top, width_ - left, row.height}, FormatText("%5.1f", span.low / 10000.0));
    p.TextInRect(row, FormatText("%5.1f", last / 10000.0), ui::HAlign::Right);
}
