#include "windows/report_layout.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "state/cp1251.h"
#include "state/format_text.h"
#include "state/text_file.h"

namespace {

// The header leaves at least this many lines of a page to the report.
constexpr int kLinesBelowHeader = 10;
// A line or a page of fewer characters or lines than this cannot hold a report.
constexpr int kLeastLines = 11;

constexpr ui::Color kBlack = ui::NumberedColor(7);
constexpr ui::Color kWhite = ui::NumberedColor(8);

struct Macro {
    const char* cyrillic;
    const char* latin;
};
constexpr Macro kPageMacro{"@СТР", "@PAGE"};
constexpr Macro kDateMacro{"@ДАТА", "@DATE"};
constexpr Macro kTimeMacro{"@ВРЕМЯ", "@TIME"};

void ReplaceFirst(std::string& line, const Macro& macro, const std::string& value) {
    std::string_view name = macro.cyrillic;
    std::size_t at = line.find(name);
    if (at == std::string::npos) {
        name = macro.latin;
        at = line.find(name);
    }
    if (at != std::string::npos) line.replace(at, name.size(), value);
}

}  // namespace

std::string ExpandHeaderLine(std::string line, unsigned page, const std::string& date,
                             const std::string& time) {
    ReplaceFirst(line, kPageMacro, FormatText("%u", page));
    ReplaceFirst(line, kDateMacro, date);
    ReplaceFirst(line, kTimeMacro, time);
    return line;
}

std::optional<AxisFit> FitLevelAxis(int freeHeight, int lineHeight) {
    const int64_t room = int64_t{freeHeight} - lineHeight - lineHeight / 2;
    std::optional<AxisFit> best;
    int64_t bestGap = freeHeight;
    for (int a = 1; a <= 15; ++a)
        for (int b = 16; b >= 1; --b) {
            const int64_t gap = room - int64_t{256} * a / b;
            if (gap > 0 && gap < bestGap) {
                bestGap = gap;
                best = AxisFit{a, b};
            }
        }
    return best;
}

std::string PagesPreparedText(int pages) {
    if (pages == 1) return "Подготовлена одна страница";
    if (pages >= 2 && pages <= 4) return FormatText("Подготовлено %d страницы", pages);
    return FormatText("Подготовлено %d страниц", pages);
}

bool LoadReportLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kTextFileLimit) return false;
    std::string bytes(size, '\0');
    const std::optional<std::size_t> read = ReadFileStart(path, bytes);
    if (!read) return false;
    bytes.resize(*read);
    std::size_t from = 0;
    while (from < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", from);
        lines.push_back(Cp1251ToUtf8(std::string_view(bytes).substr(from, end - from)));
        if (end == std::string::npos) break;
        from = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return true;
}

std::vector<std::string> SplitReportFields(const std::string& line) {
    std::vector<std::string> fields(1);
    char quote = 0;
    for (char ch : line) {
        if (quote != 0) {
            if (ch == quote) quote = 0;
        } else if (ch == '"' || ch == '\'') {
            quote = ch;
        } else if (ch == '\t') {
            fields.emplace_back();
            continue;
        }
        fields.back() += ch;
    }
    return fields;
}

ReportLayout::ReportLayout(FDX& fdx, ReportSettings settings)
    : fdx_(fdx), settings_(std::move(settings)) {}

void ReportLayout::Measure(ui::Painter& metrics) {
    r_ = std::max(settings_.resolution, 1);
    width_ = settings_.landscape ? 10 * r_ : 7 * r_;
    height_ = settings_.landscape ? 7 * r_ : 10 * r_;
    marginX_ = 7 * r_ / 10;
    marginY_ = r_ / 2;
    metrics.SetFont(settings_.font);
    c_ = std::max(metrics.CharWidth(), 1);
    fontHeight_ = std::max(metrics.TextHeight(), 1);
    h_ = fontHeight_ + fontHeight_ / 2;
    charsPerLine_ = width_ / c_;
    linesPerPage_ = height_ / h_;
    dot_ = std::max(r_ / 72, 1);

    layout_ = settings_.journal ? fdx_.ItemColumns : fdx_.PanelColumns;
    layout_.count = std::clamp(layout_.count, 0, int32_t(layout_.widths.size()));
    columns_.assign(1, 4 * c_);
    for (int i = 0; i < layout_.count; ++i)
        columns_.push_back(columns_.back() +
                           (width_ - 8 * c_) * layout_.widths[std::size_t(i)] / 100);
}

std::optional<std::string> ReportLayout::CheckSizes() const {
    if (charsPerLine_ < kLeastLines || linesPerPage_ < kLeastLines) return "Фонт слишком большой";
    if (int(settings_.header.size()) + kLinesBelowHeader > linesPerPage_)
        return "Заголовок слишком большой";
    return std::nullopt;
}

bool ReportLayout::FitPicture() {
    int height = 0;
    switch (fdx_.WorkMode) {
        case kBankMode:
            height = 3 * h_;
            break;  // a channel row of the bank
        case kRangeMode:
            height = 10 * h_;
            break;  // a range strip
        case kGroupMode:
            height = 5 * h_;
            break;  // a range of the group
        default:
            return true;  // the band scope fits into what its page leaves
    }
    const std::optional<AxisFit> fit = FitLevelAxis(height, h_);
    if (fit) axis_ = *fit;
    return fit.has_value();
}

ReportResult ReportLayout::Compose(ui::Painter& metrics, ui::Painter* preview,
                                   ui::PrintTarget* printer) {
    Measure(metrics);
    if (const std::optional<std::string> fault = CheckSizes()) return {false, *fault, 0, {}};
    const bool nothing = settings_.journal ? fdx_.ItemTextAbsent : fdx_.PanelTextEmpty;
    if (nothing) return {false, "Нет информации для печати", 0, {}};
    if (!settings_.journal && !FitPicture()) return {false, "Нельзя изобразить шкалу", 0, {}};
    if (printer == nullptr) {
        ReportResult result = Run(preview, nullptr);
        if (result.made) result.message = PagesPreparedText(result.pages);
        return result;
    }
    // Nothing goes to the printer before the whole report is known to fit.
    if (ReportResult dry = Run(nullptr, nullptr); !dry.made) return dry;
    ReportResult result = Run(nullptr, printer);
    if (result.made) result.message = "Отчет выдан на принтер";
    return result;
}

ReportResult ReportLayout::Run(ui::Painter* preview, ui::PrintTarget* printer) {
    preview_ = preview;
    printer_ = printer;
    draw_ = preview != nullptr || printer != nullptr;
    failed_ = false;
    failedFile_.clear();
    pictureFault_.reset();
    pageCount_ = 0;
    if (preview_ != nullptr) {
        preview_->SetFont(settings_.font);
        preview_->SetTextColor(kBlack);
    }

    int row = ExpandHeaderMacros(0);
    const bool ready =
        settings_.journal ? fdx_.ItemTextReady : fdx_.PanelTextReady && !settings_.clipboard;
    std::vector<std::string> lines;
    if (ready && LoadText(lines))
        for (const std::string& line : lines) {
            if (row >= linesPerPage_ && !NewPage(row)) break;
            DrawTextLine(row++, line);
        }
    if (!settings_.journal && !failed_) DrawPicture(row);
    EndPage();

    if (failed_)
        return {false, "Ошибка печати: принтер не принял страницу", pageCount_, failedFile_};
    if (pictureFault_) return {false, *pictureFault_, pageCount_, {}};
    return {true, {}, pageCount_, {}};
}

bool ReportLayout::LoadText(std::vector<std::string>& lines) const {
    if (!LoadReportLines(settings_.journal ? fdx_.ItemTextFile : fdx_.PanelTextFile, lines))
        return false;
    fdx_.Lines = lines;  // the clipboard copy takes them from here
    return true;
}

int ReportLayout::ExpandHeaderMacros(int row) {
    ++pageCount_;
    if (printer_ != nullptr) {
        document_ = printer_->Begin(kReportDocumentName, {r_, settings_.landscape});
        if (!document_) {
            failed_ = true;
            return row;
        }
        page_ = &document_->NewPage();
        page_->SetFont(settings_.font);
        page_->SetTextColor(kBlack);
    }
    if (settings_.clipboard) return row;
    for (const std::string& line : settings_.header)
        DrawTextLine(row++,
                     ExpandHeaderLine(line, unsigned(pageCount_), settings_.date, settings_.time));
    headerRows_ = row;
    return row;
}

void ReportLayout::EndPage() {
    if (document_ && !document_->End()) {
        failed_ = true;
        failedFile_ = document_->File();
    }
    document_.reset();
    page_ = nullptr;
}

bool ReportLayout::NewPage(int& row) {
    EndPage();
    row = ExpandHeaderMacros(0);
    return !failed_;
}

void ReportLayout::DrawTextLine(int row, const std::string& line) {
    const int top = row * h_;
    const std::vector<std::string> fields = SplitReportFields(line);
    if (!layout_.table || fields.size() < 2) {
        TextIn({0, top + 2, width_, h_ - 4}, line);
        return;
    }
    SetPen({kBlack, 0});
    Line(columns_.front(), top, columns_.back(), top);
    Line(columns_.front(), top + h_, columns_.back(), top + h_);
    for (int x : columns_) Line(x, top, x, top + h_);
    for (std::size_t i = 0; i < fields.size() && i + 1 < columns_.size(); ++i)
        TextIn({columns_[i], top + 2, columns_[i + 1] - columns_[i], h_ - 4}, fields[i],
               ui::HAlign::Center);
}

bool ReportLayout::DrawPicture(int& row) {
    switch (fdx_.WorkMode) {
        case kScaleMode:
            if (!DrawBandPicture(row)) pictureFault_ = "Нельзя изобразить шкалу";
            return true;
        case kBankMode: {
            bankChannel_ = settings_.visible ? std::max(fdx_.BankTopRow, 0) : 0;
            if (row + 4 > linesPerPage_ && !NewPage(row)) return false;
            for (;;) {
                const int before = bankChannel_;
                if (DrawAxisPicture(row)) return true;
                // A fresh page holds at least one channel; one that took none ends the picture.
                if (bankChannel_ == before && row == headerRows_) return true;
                if (!NewPage(row)) return false;
            }
        }
        case kRangeMode:
            StartRangeStrips();
            for (;;) {
                ++row;
                if (row + 11 >= linesPerPage_ && !NewPage(row)) return false;
                const bool complete = DrawRangePicture(row);
                row += 10;
                if (complete) return true;
            }
        case kGroupMode: {
            const int first = settings_.visible ? std::max(fdx_.GroupFirstVisible, 0) : 0;
            for (std::size_t i = std::size_t(first); i < fdx_.ScanSlots.size(); ++i) {
                if (!fdx_.ScanSlots[i].HasData()) continue;
                if (row + 6 >= linesPerPage_ && !NewPage(row)) return false;
                ++row;
                DrawRangePicture2(row, int(i));
                row += 5;
                if (settings_.visible) break;
            }
            return true;
        }
        default:
            return true;
    }
}

// ---- drawing on both pages

void ReportLayout::SetPen(const ui::Pen& pen) {
    if (preview_ != nullptr) preview_->SetPen(pen);
    if (page_ != nullptr) page_->SetPen(pen);
}

void ReportLayout::Line(int x1, int y1, int x2, int y2) {
    if (preview_ != nullptr && pageCount_ == 1) preview_->Line(x1, y1, x2, y2);
    if (page_ != nullptr) page_->Line(x1 + marginX_, y1 + marginY_, x2 + marginX_, y2 + marginY_);
}

// The printed box is filled black; the preview keeps the page's white.
void ReportLayout::Box(const ui::Rect& rect) {
    if (preview_ != nullptr && pageCount_ == 1) {
        preview_->SetBrush(kWhite);
        preview_->Rectangle(rect);
    }
    if (page_ != nullptr) {
        page_->SetBrush(kBlack);
        page_->Rectangle({rect.x + marginX_, rect.y + marginY_, rect.width, rect.height});
    }
}

void ReportLayout::Text(int x, int y, const std::string& text) {
    if (preview_ != nullptr && pageCount_ == 1) preview_->Text(x, y, text);
    if (page_ != nullptr) page_->Text(x + marginX_, y + marginY_, text);
}

void ReportLayout::TextIn(const ui::Rect& rect, const std::string& text, ui::HAlign h,
                          ui::VAlign v) {
    if (preview_ != nullptr && pageCount_ == 1) preview_->TextInRect(rect, text, h, v);
    if (page_ != nullptr)
        page_->TextInRect({rect.x + marginX_, rect.y + marginY_, rect.width, rect.height}, text, h,
                          v);
}
