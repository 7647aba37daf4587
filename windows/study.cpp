#include "windows/study.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "state/format_text.h"
#include "state/user_freq.h"

namespace {

// A bank series without a poll period is taken as one measurement a minute.
constexpr int64_t kDefaultPollSeconds = 60;
// The level grid: a line every 64 raw levels, labelled.
constexpr int kLevelGridStep = 64;

int64_t Distance(int64_t a, int64_t b) {
    return a > b ? a - b : b - a;
}

}  // namespace

bool StudyCurvePresent(const ViewSource& source) {
    return source.Levels != nullptr;
}

bool OnTimeAxis(const ViewSource& source) {
    return source.AxisMode == kStudyTimeAxis;
}

int64_t StudySamples(const ViewSource& source) {
    if (source.Levels == nullptr || source.FirstCell >= source.Levels->size()) return 0;
    return std::min<int64_t>(source.Count, int64_t(source.Levels->size() - source.FirstCell));
}

uint32_t StudyLevel(const ViewSource& source, int64_t k) {
    if (k < 0 || k >= StudySamples(source)) return 0;
    return (*source.Levels)[source.FirstCell + std::size_t(k)];
}

int64_t MarkerSample(const ViewSource& source) {
    const int64_t samples = StudySamples(source);
    if (samples == 0 || source.Step == 0) return 0;
    return std::clamp<int64_t>((source.Marker - int64_t{source.Start}) / source.Step, 0,
                               samples - 1);
}

int64_t SamplePosition(const ViewSource& source, int64_t k) {
    return int64_t{source.Start} + k * source.Step;
}

int StudyBufferPixel(int width, int curve, int64_t offset) {
    const int half = width / 2;
    if (offset >= 0) {
        // The first pixel of the curve's parity at or right of the middle, then every other.
        const int first = half + ((half & 1) == curve ? 0 : 1);
        const int64_t pixel = first + 2 * offset;
        return pixel < width ? int(pixel) : -1;
    }
    const int last = half - 1 - (((half - 1) & 1) == curve ? 0 : 1);
    const int64_t pixel = last - 2 * (-offset - 1);
    return pixel >= 0 ? int(pixel) : -1;
}

std::vector<uint8_t> StudyDisplayBuffer(int width, const std::array<ViewSource, 2>& sources) {
    std::vector<uint8_t> buffer(std::size_t(std::max(width, 0)), 0);
    for (int curve = 0; curve < kStudyCurves; ++curve) {
        const ViewSource& source = sources[std::size_t(curve)];
        if (!StudyCurvePresent(source)) continue;
        const int64_t marker = MarkerSample(source);
        for (int64_t offset = 0;; ++offset) {
            const int pixel = StudyBufferPixel(width, curve, offset);
            if (pixel < 0) break;
            buffer[std::size_t(pixel)] = uint8_t(StudyLevel(source, marker + offset));
        }
        for (int64_t offset = -1;; --offset) {
            const int pixel = StudyBufferPixel(width, curve, offset);
            if (pixel < 0) break;
            buffer[std::size_t(pixel)] = uint8_t(StudyLevel(source, marker + offset));
        }
    }
    return buffer;
}

int64_t SecondsPerMeasurement(const FDX& fdx) {
    return fdx.CurrentBank != nullptr && fdx.CurrentBank->Poll > 0 ? fdx.CurrentBank->Poll
                                                                   : kDefaultPollSeconds;
}

StudyDifferences StudyDifferencesOf(const FDX& fdx, const std::array<ViewSource, 2>& sources) {
    StudyDifferences d;
    const ViewSource &a = sources[0], &b = sources[1];
    if (!StudyCurvePresent(a) || !StudyCurvePresent(b) || OnTimeAxis(a) != OnTimeAxis(b)) return d;
    d.valid = true;
    d.timeAxis = OnTimeAxis(a);
    const int64_t ma = MarkerSample(a), mb = MarkerSample(b);
    d.distance = d.timeAxis ? Distance(ma, mb) * SecondsPerMeasurement(fdx)
                            : Distance(SamplePosition(a, ma), SamplePosition(b, mb));
    const uint32_t la = StudyLevel(a, ma), lb = StudyLevel(b, mb);
    d.level = uint32_t(Distance(la, lb));
    d.levelDb = int32_t(Distance(fdx.LevelToDb(la), fdx.LevelToDb(lb)));
    return d;
}

std::string StudyLevelText(const FDX& fdx, uint32_t raw) {
    return fdx.OptDb ? FormatText("%3.1f", fdx.LevelToDb(raw) / 10.0) : FormatText("%u", raw);
}

std::string StudyTimeText(FDX& fdx, int64_t sample) {
    fdx.MeasurementTime(int(std::clamp<int64_t>(sample, 0, INT32_MAX)));
    const auto& t = fdx.MeasurementStamp;
    return FormatText("%02u:%02u:%02u", unsigned(t[3]), unsigned(t[4]), unsigned(t[5]));
}

std::string StudyReadout(FDX& fdx, int curve) {
    const ViewSource& source = fdx.ViewSources[std::size_t(curve)];
    if (!StudyCurvePresent(source)) return {};
    const int64_t marker = MarkerSample(source);
    const uint32_t level = StudyLevel(source, marker);
    const std::string u = fdx.OptDb ? FormatText("U=%3.1f dB", fdx.LevelToDb(level) / 10.0)
                                    : FormatText("U=%u un", level);
    if (OnTimeAxis(source))
        return "T=" + StudyTimeText(fdx, marker) +
               FormatText("   F=%8.4f   ", source.Frequency / 10000.0) + u;
    return FormatText("F=%8.4f   S=%u   ", SamplePosition(source, marker) / 10000.0, source.Step) +
           u;
}

std::string StudyDifferenceReadout(const FDX& fdx, const StudyDifferences& d) {
    if (!d.valid) return {};
    const std::string position = d.timeAxis ? FormatText("dT=%u sec", unsigned(d.distance))
                                            : FormatText("dF=%8.4fMHz", d.distance / 10000.0);
    const std::string level =
        fdx.OptDb ? FormatText("dU=%3.1f dB", d.levelDb / 10.0) : FormatText("dU=%u un", d.level);
    return position + "   " + level;
}

// ---- the graph

StudyStyle ScreenStudyStyle() {
    return {ui::NumberedColor(7),
            ui::NumberedColor(10),
            ui::NumberedColor(9),
            {ui::NumberedColor(2), ui::NumberedColor(15)},
            {ui::NumberedColor(1), ui::NumberedColor(13)},
            1};
}

// On paper the grid is grey, so that the marker's column stands out from its lines.
StudyStyle PaperStudyStyle(int dpi) {
    const ui::Color black = ui::NumberedColor(7);
    return {ui::NumberedColor(8), black,          ui::NumberedColor(9),
            {black, black},       {black, black}, std::max(dpi / 100, 1)};
}

void DrawStudyBand(ui::Painter& p, const ui::Rect& band, const FDX& fdx,
                   const std::vector<uint8_t>& buffer, int curve,
                   const std::array<int, kStudyCurves>& zoom, const StudyStyle& style) {
    if (band.width <= 0 || band.height <= 1 || buffer.empty()) return;
    const ui::DrawState saved = p.Save();
    p.SetClip(band);
    p.FillRect(band, style.background);
    const double scale = double(band.width) / double(buffer.size());
    const int middle = band.x + band.width / 2;
    const int bottom = band.y + band.height - 1;
    const auto rowOf = [&](int axis) { return bottom - axis * (band.height - 1) / 255; };

    // Level grid and its labels, on the level axis with LG.
    p.SetPen({style.grid, 1, ui::PenStyle::Dot});
    p.SetTextColor(style.text);
    for (int raw = 0; raw <= 256; raw += kLevelGridStep) {
        const int level = std::min(raw, 255);
        const int y = rowOf(level);
        if (raw > 0) p.Line(band.x, y, band.x + band.width - 1, y);
        const std::string label =
            fdx.OptLg ? FormatText("%3.1f", fdx.LevelGrid[std::size_t(raw / 32)] / 10.0)
                      : StudyLevelText(fdx, uint32_t(level));
        p.Text(band.x + 2, std::max(y - p.TextHeight(), band.y), label);
    }
    // Vertical grid lines every twenty samples of the first curve.
    const double gridStep = kStudyGridSamples * std::max(zoom[0], 1) * scale;
    for (int k = 1; gridStep >= 2 && k * gridStep <= band.width / 2; ++k)
        for (const int x : {middle - int(k * gridStep), middle + int(k * gridStep)})
            p.Line(x, band.y, x, bottom);

    // The curve: its samples z buffer pixels apart, equal neighbours one horizontal run.
    const double step = std::max(zoom[std::size_t(curve)], 1) * scale;
    const int width = int(buffer.size());
    const auto pointAt = [&](int64_t offset) -> std::optional<ui::Point> {
        const int pixel = StudyBufferPixel(width, curve, offset);
        const double x = middle + double(offset) * step;
        if (pixel < 0 || x < band.x || x > band.x + band.width - 1) return std::nullopt;
        const int raw = buffer[std::size_t(pixel)];
        return ui::Point{int(x), rowOf(fdx.OptLg ? fdx.LevelAxisAt(raw) : raw)};
    };
    int64_t first = 0;
    while (pointAt(first - 1)) --first;
    std::vector<ui::Point> points;
    for (int64_t offset = first;; ++offset) {
        const std::optional<ui::Point> point = pointAt(offset);
        if (!point) break;
        if (points.size() >= 2 && points.back().y == point->y &&
            points[points.size() - 2].y == point->y)
            points.back() = *point;
        else
            points.push_back(*point);
    }
    p.SetPen({style.curve[std::size_t(curve)], style.curveWidth, ui::PenStyle::Solid});
    if (points.size() == 1) points.push_back(points.front());
    if (!points.empty()) p.Polyline(points);
    // The marker's column.
    p.SetPen({style.marker[std::size_t(curve)], 2 * style.curveWidth - 1, ui::PenStyle::Solid});
    p.Line(middle, band.y, middle, bottom);
    p.Restore(saved);
}
