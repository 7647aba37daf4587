#include "windows/freq.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <initializer_list>

#include "state/channel_order.h"
#include "state/format_text.h"
#include "state/message_bus.h"
#include "ui/post.h"
#include "windows/freq_form.h"

namespace {

constexpr const char* kNoChannel = "Не существует выбранного канала";
constexpr const char* kBadStep = "Указанный шаг недопустим";
constexpr const char* kBadCount = "Счетчик размножения должен быть < 1000";
constexpr const char* kBadColumn = "Номер колонки должен быть от 1 до 7 ";
constexpr const char* kPollWarning =
    "Для корректности результатов необходимо увеличить шаг опроса частот";

// Job objects of the bank window (the job line's OBJ).
enum JobObject : uint32_t {
    kAddObject = 11,
    kExcludeObject = 12,
    kReplicateObject = 13,
    kStepObject = 14,
    kCountObject = 15,
    kRenumberObject = 16,
    kSelectObject = 17,
    kSortObject = 18,
};

// The list's columns and the letters of smod, in their order. Each title shows whole, and the
// seven columns stay within the list when its scroll bar shows.
constexpr std::pair<const char*, int> kColumns[] = {
    {"Частота", 60}, {"Шаг", 26},         {"Мод", 24}, {"Уровень", 42},
    {"Атт", 20},     {"Комментарий", 67}, {"№", 24}};
constexpr int kLevelColumn = 3;
constexpr const char* kLetters = "FWALUC";
// The list's header and rows, matching the chart's bands.
constexpr int kHeaderHeight = 16;
// The strip's line of text under the time band.
constexpr int kStripText = 14;
// The chart's scroll bar: a page of 100 measurements, a line of 10; a scan that runs out of
// the chart moves it on by a line.
constexpr int kChartPage = 100;
constexpr int kChartLine = 10;
// A click on one of the first 17 bands of the chart selects that band's row.
constexpr int kClickBands = 17;

std::string LevelText(const FDX& fdx, int32_t level) {
    const uint32_t raw = uint32_t(std::max(level, 0));
    if (fdx.OptDb) return FormatText("%3.1f", fdx.LevelToDb(raw) / 10.0);
    return FormatText("%u", unsigned(raw));
}

std::string StepText(uint32_t step) {
    if (step % 10 == 0) return FormatText("%u", unsigned(step / 10));
    return FormatText("%5.1f", step / 10.0);
}

// A typed count: its leading whole number, 0 when there is none or it is negative.
int64_t CountOf(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin != end && *begin == ' ') ++begin;
    int64_t value = 0;
    std::from_chars(begin, end, value);
    return std::max<int64_t>(value, 0);
}

uint8_t HistoryAt(const FDX& fdx, int32_t channel, int32_t sample) {
    if (channel < 0 || std::size_t(channel) >= fdx.ChannelLevels.size() || sample < 0) return 0;
    const std::vector<uint8_t>& history = fdx.ChannelLevels[std::size_t(channel)];
    return std::size_t(sample) < history.size() ? history[std::size_t(sample)] : 0;
}

}  // namespace

std::vector<std::string> BankRowTexts(const FDX& fdx, const Mt& channel) {
    if (channel.Frequency == 0) return {"выкл", "", "", "", "", "", ""};
    return {FormatText("%9.4f", channel.Frequency / 10000.0),
            StepText(channel.Step),
            FormatText("%c", channel.Modulation),
            LevelText(fdx, channel.Work),
            channel.Attenuator ? "+" : "-",
            channel.Identifier,
            FormatText("%02u", unsigned(channel.Number))};
}

freq::freq() : PageWindow("ID_freq") {
    RegisterFreqForm();
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
}

freq::~freq() {
    Destroy();
}

// ---- building

void freq::OnCreate() {
    CreateFormControls();
    GrowWithMainWindow();
    const ui::Rect canvas = pictb_1->Geometry();
    chartRect_ = {canvas.x, canvas.y, canvas.width,
                  std::max(canvas.height - BankChart::kTimeBand - 1 - kStripText, 1)};
    chart_ = std::make_unique<BankChart>(chartRect_.width, chartRect_.height);
    std::vector<std::pair<std::string, int>> columns;
    for (const auto& [title, width] : kColumns) columns.emplace_back(title, width);
    lv_1->SetColumns(columns);
    lv_1->SetRowHeights(kHeaderHeight, BankChart::kRowPitch);
    for (char letter : std::string(kLetters)) smod->AddString(std::string(1, letter));
    for (ui::PictureButton* button : {cb_1, cb_2, cb_3, cb_4, clear}) {
        const ui::ArtPicture art = FreqPicture(button->Name());
        button->SetPicture(art.width, art.height, art.pixels);
    }
    hs->Hide();
    WireControls();
    SetName("freq");
    FillFields();
    Show();
}

void freq::WireControls() {
    lv_1->On(ui::EventId::Select, [this](ui::EventData& e) { SelectRow(int(e.value)); });
    lv_1->On(ui::EventId::ColumnClick, [this](ui::EventData& e) { SortBy(int(e.value)); });
    lv_1->On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
    hs->On(ui::EventId::Change, [this](ui::EventData& e) { ScrollChart(int(e.value)); });
    textb_1->On(ui::EventId::Change, [this](ui::EventData& e) { EditFrequency(e.text); });
    sstep->On(ui::EventId::Change, [this](ui::EventData& e) { EditStep(e.text); });
    smod->On(ui::EventId::Select, [this](ui::EventData& e) { ChooseModulation(int(e.value)); });
    satt->On(ui::EventId::Click, [this](ui::EventData&) { ToggleAttenuator(); });
    comment->On(ui::EventId::Change, [this](ui::EventData& e) { EditComment(e.text); });
    cb_1->On(ui::EventId::Click, [this](ui::EventData&) { AddCurrentFrequency(); });
    cb_2->On(ui::EventId::Click, [this](ui::EventData&) { Replicate(); });
    cb_3->On(ui::EventId::Click, [this](ui::EventData&) { ExcludeSelected(); });
    cb_4->On(ui::EventId::Click, [this](ui::EventData&) { Renumber(); });
    clear->On(ui::EventId::Click, [this](ui::EventData&) { Post(PostOpenHfreq); });
    pictb_1->On(ui::EventId::MouseMove, [this](ui::EventData& e) { MouseMove(e.x, e.y); });
    pictb_1->On(ui::EventId::MouseLeave, [this](ui::EventData&) { MouseLeave(); });
    pictb_1->On(ui::EventId::LeftButtonDown, [this](ui::EventData& e) { MouseDown(e.x, e.y); });
    pictb_1->On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
}

// ---- the message bus

void freq::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || !HasWindow()) return;
    FDX& s = S();
    switch (code) {
        case PostReloadView:
            AddCurrentFrequency();
            break;
        case PostItemLoaded:
        case PostClearData:
            // Another bank or measurement set, or none: its first measurements are shown.
            s.BankSampleIndex = s.BankChartFirst = 0;
            s.SelectedChannel = -1;
            ReleaseStudyCurves();
            RebuildList();
            FillFields();
            Redraw();
            CopyToShared();
            ShowStartTime();
            RefreshLevelColumn();
            UpdateScrollBar();
            ShowOnMainPicture();
            break;
        case PostRefreshData:
            Redraw();
            CopyToShared();
            ShowOnMainPicture();
            break;
        case PostRefreshDisplay:
            DrawMeasuredColumn();
            break;
        case PostUpdateParams:
            if (!s.HistoriesAllocated) {
                Mt* channel = RowChannel(selectedRow_);
                if (channel != nullptr && channel->Frequency == s.Frequency &&
                    channel->Modulation == s.Modulation && s.Level != -1) {
                    channel->Work = s.Level;
                    lv_1->SetCell(selectedRow_, kLevelColumn, LevelText(s, channel->Work));
                }
            }
            break;
        case PostTimerTick:
            // The list was scrolled: the chart follows its rows.
            if (OwnsSharedPicture() && lv_1->TopRow() != s.BankTopRow) {
                Redraw();
                CopyToShared();
                ShowOnMainPicture();
            }
            break;
        case PostLockControls:
            busy_ = true;
            if (s.RunningMode == kBankMode) {
                ShowStartTime();
                if (s.OptSpy) hs->SetEnabled(false);
            }
            EnableFields();
            break;
        case PostUnlockControls:
            busy_ = false;
            EnableFields();
            if (s.OptSpy) {
                hs->SetEnabled(true);
                UpdateScrollBar();
            }
            break;
        case PostFollowFrequency:
            FollowMeasurement();
            break;
        case PostPollStepWarning:
            // It advises: a box that waited here would keep the scan's exchange with the
            // receiver standing while the columns went on without measurements.
            s.Advise(kPollWarning);
            break;
        case PostRefreshLevels:
            ShowSharedPicture(*pictb_1, chartRect_);
            Redraw();
            CopyToShared();
            ShowOnMainPicture();
            break;
        case PostJobStep:
            ExecuteCommand();
            break;
        case PostViewRecompute:
            FeedStudy();
            break;
        case PostStepUp:
            StepShownSample(+1);
            break;
        case PostStepDown:
            StepShownSample(-1);
            break;
        default:
            break;
    }
}

void freq::ExecuteCommand() {
    FDX& s = S();
    JobStr* line = s.JobLine;
    const auto refuse = [line](const char* message) {
        if (line == nullptr) return;
        line->Message = message;
        line->ReturnCode = 1;
    };
    const uint32_t object = line != nullptr ? line->OBJ : 0;
    const uint32_t value = line != nullptr ? line->VAL : 0;
    switch (object) {
        case kAddObject:
            AddCurrentFrequency();
            break;
        case kExcludeObject:
            ExcludeSelected();
            break;
        case kReplicateObject:
            Replicate();
            break;
        case kStepObject:
            if (value >= s.StepLow && value <= s.StepHigh)
                mstep->SetText(FormatText("%3.1f", value / 10.0));
            else
                refuse(kBadStep);
            break;
        case kCountObject:
            if (value < kMaxBankChannels)
                count->SetText(FormatText("%u", unsigned(value)));
            else
                refuse(kBadCount);
            break;
        case kRenumberObject:
            Renumber();
            break;
        case kSelectObject: {
            // A position past the bank takes its last channel; an empty bank has none to take.
            const int32_t channels = s.ChannelCount;
            int32_t channel = int32_t(std::min<uint32_t>(value, INT32_MAX));
            if (channel >= channels) {
                refuse(kNoChannel);
                channel = channels - 1;
            }
            if (channel >= 0) SelectRow(RowOf(channel));
            break;
        }
        case kSortObject:
            if (value >= 1 && value <= 7)
                SortBy(int(value) - 1);
            else
                refuse(kBadColumn);
            break;
        default:
            refuse(kNoAccess);
            break;
    }
    Post(PostJobStep);
}

// ---- the list

Mt* freq::RowChannel(int row) {
    if (row < 0 || std::size_t(row) >= rows_.size()) return nullptr;
    const int32_t channel = rows_[std::size_t(row)];
    if (channel < 0 || channel >= S().ChannelCount || std::size_t(channel) >= S().Channels.size())
        return nullptr;
    return &S().Channels[std::size_t(channel)];
}

int freq::RowOf(int32_t channel) const {
    const auto at = std::find(rows_.begin(), rows_.end(), channel);
    return at == rows_.end() ? -1 : int(at - rows_.begin());
}

// The rows in the bank's order; the selected channel keeps its row.
void freq::RebuildList() {
    FDX& s = S();
    const int32_t channels = std::clamp<int32_t>(
        s.ChannelCount, 0, int32_t(std::min<std::size_t>(s.Channels.size(), kMaxBankChannels)));
    lv_1->Clear();
    rows_.clear();
    for (int32_t i = 0; i < channels; ++i) {
        rows_.push_back(i);
        lv_1->AddRow(BankRowTexts(s, s.Channels[std::size_t(i)]));
    }
    if (s.SelectedChannel >= channels) s.SelectedChannel = -1;
    selectedRow_ = RowOf(s.SelectedChannel);
    lv_1->SelectRow(selectedRow_);
}

void freq::RewriteRow(int row) {
    const Mt* channel = RowChannel(row);
    if (channel == nullptr) return;
    const std::vector<std::string> cells = BankRowTexts(S(), *channel);
    for (std::size_t c = 0; c < cells.size(); ++c) lv_1->SetCell(row, int(c), cells[c]);
}

// The row becomes the selected one without tuning: the list, the fields and the compact
// channel list show it.
void freq::MarkSelected(int row) {
    selectedRow_ = RowChannel(row) != nullptr ? row : -1;
    S().SelectedChannel = selectedRow_ >= 0 ? rows_[std::size_t(selectedRow_)] : -1;
    lv_1->SelectRow(selectedRow_);
    Post(PostBankRefreshDisplay);
    FillFields();
}

void freq::SelectRow(int row) {
    FDX& s = S();
    const Mt* channel = RowChannel(row);
    if (channel == nullptr) return;
    selectedRow_ = row;
    s.SelectedChannel = rows_[std::size_t(row)];
    lv_1->SelectRow(row);
    if (!busy_ && channel->Frequency != 0) {
        s.Frequency = channel->Frequency;
        s.Modulation = channel->Modulation;
        // A channel stored without a step keeps the step the receiver has.
        if (channel->Step != 0) s.Step = channel->Step;
        s.Attenuator = channel->Attenuator;
        s.TuneFrequency = s.Frequency;
        s.TuneModulation = s.Modulation;
        s.TuneAttenuator = s.Attenuator;
        s.TuneStep = s.Step;
        Post(PostApplyFrequency);
    }
    Post(PostBankRefreshDisplay);
    FillFields();
    Redraw();
    CopyToShared();
    ShowOnMainPicture(false);
    FeedStudy();
}

// The selected channel's fields; a switched-off channel keeps only its frequency field open,
// where typing a frequency switches it on again.
void freq::FillFields() {
    const Mt* channel = RowChannel(selectedRow_);
    if (channel == nullptr || channel->Frequency == 0) {
        for (ui::Window* field : std::initializer_list<ui::Window*>{textb_1, sstep, smod, comment})
            field->SetText("");
        satt->SetChecked(false);
    } else {
        textb_1->SetText(FormatText("%8.4f", channel->Frequency / 10000.0));
        sstep->SetText(FormatText("%5.1f", channel->Step / 10.0));
        comment->SetText(channel->Identifier);
        satt->SetChecked(channel->Attenuator != 0);
        const char* mode = std::char_traits<char>::find(kLetters, 6, channel->Modulation);
        smod->SetSelectedIndex(mode != nullptr ? int(mode - kLetters) : -1);
        smod->SetText(FormatText("%c", channel->Modulation));
    }
    EnableFields();
}

void freq::EnableFields() {
    const Mt* channel = RowChannel(selectedRow_);
    const bool on = channel != nullptr && channel->Frequency != 0;
    for (ui::Window* field : std::initializer_list<ui::Window*>{sstep, smod, satt, comment})
        field->SetEnabled(!busy_ && on);
    textb_1->SetEnabled(!busy_ && channel != nullptr);
    for (ui::Window* button : std::initializer_list<ui::Window*>{cb_1, cb_3, cb_4})
        button->SetEnabled(!busy_);
}

// ---- changing the bank

void freq::AddCurrentFrequency() {
    FDX& s = S();
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const Mt* channel = RowChannel(int(row));
        if (channel == nullptr || channel->Frequency == 0) continue;
        if (std::llabs(int64_t{s.Frequency} - int64_t{channel->Frequency}) < s.ChannelWidth) {
            MarkSelected(int(row));
            RenewAfterChange();
            return;
        }
    }
    // A full bank takes nothing more.
    const int32_t index = s.ChannelCount;
    if (index < 0 || index >= int32_t(kMaxBankChannels)) return;
    if (s.Channels.size() <= std::size_t(index)) s.Channels.resize(std::size_t(index) + 1);
    s.HistoriesAllocated = 0;
    Mt channel;
    channel.Frequency = s.Frequency;
    channel.Modulation = s.Modulation;
    channel.QMOD = uint32_t(s.Filter);
    channel.Attenuator = s.Attenuator;
    channel.QATT = s.AttenuatorDb;
    channel.Step = s.Step;
    channel.Number = index;
    channel.Work = std::max(s.Running ? s.ScanLevel : s.Level, 0);
    s.Channels[std::size_t(index)] = channel;
    s.ChannelCount = index + 1;
    rows_.push_back(index);
    lv_1->AddRow(BankRowTexts(s, channel));
    Post(PostBankRefreshData);
    s.BankChanged = 1;
    MarkSelected(int(rows_.size()) - 1);
    RenewAfterChange();
}

void freq::ExcludeSelected() {
    FDX& s = S();
    if (RowChannel(selectedRow_) == nullptr) return;
    const int32_t removed = rows_[std::size_t(selectedRow_)];
    const int32_t channels =
        int32_t(std::min<std::size_t>(std::size_t(s.ChannelCount), s.Channels.size()));
    ReleaseStudyCurves();
    s.HistoriesAllocated = 0;
    for (int32_t i = removed; i + 1 < channels; ++i) {
        s.Channels[std::size_t(i)] = std::move(s.Channels[std::size_t(i) + 1]);
        s.Channels[std::size_t(i)].Number = i;
    }
    s.Channels[std::size_t(channels) - 1] = Mt{};
    s.ChannelCount = channels - 1;
    // The histories stay beside their channels.
    if (std::size_t(removed) < s.ChannelLevels.size())
        s.ChannelLevels.erase(s.ChannelLevels.begin() + removed);
    s.BankChanged = 1;
    s.SelectedChannel = -1;
    RebuildList();
    MarkSelected(std::max(removed - 1, 0));
    Post(PostBankRefreshData);
    RenewAfterChange();
}

void freq::Replicate() {
    FDX& s = S();
    const Mt* selected = RowChannel(selectedRow_);
    if (selected == nullptr) return;
    const Mt source = *selected;
    const int64_t room = int64_t{kMaxBankChannels} - s.ChannelCount;
    const int64_t copies = std::min(CountOf(count->Text()), std::max<int64_t>(room, 0));
    const int64_t step = FDX::ParseKHz(mstep->Text());
    if (s.ChannelCount <= 0 || copies == 0) return;
    const std::size_t end = std::size_t(s.ChannelCount + copies);
    if (s.Channels.size() < end) s.Channels.resize(end);
    int64_t frequency = source.Frequency;
    for (int64_t k = 0; k < copies; ++k) {
        // Past the receiver's highest frequency the copies repeat the last one.
        if (frequency + step <= int64_t{s.FreqHigh}) frequency += step;
        const int32_t index = s.ChannelCount;
        Mt channel;
        channel.Frequency = uint32_t(frequency);
        channel.Step = source.Step;
        channel.Modulation = source.Modulation;
        channel.Identifier = " ";
        channel.Number = index;
        channel.Attenuator = source.Attenuator;
        channel.QMOD = source.QMOD;
        channel.QATT = source.QATT;
        s.Channels[std::size_t(index)] = channel;
        s.ChannelCount = index + 1;
        rows_.push_back(index);
        lv_1->AddRow(BankRowTexts(s, channel));
    }
    s.BankChanged = 1;
    count->SetText("0");
    Post(PostBankRefreshData);
    RenewAfterChange();
}

// The channels take the list's order and their new places as numbers; their histories move
// along.
void freq::Renumber() {
    FDX& s = S();
    if (rows_.empty()) return;
    ReleaseStudyCurves();
    std::vector<Mt> channels;
    std::vector<std::vector<uint8_t>> histories;
    // Channels added since the measurements have no history; they get an empty one, so that
    // every history moves with its channel.
    const bool withHistories = !s.ChannelLevels.empty();
    if (withHistories && s.ChannelLevels.size() < rows_.size())
        s.ChannelLevels.resize(rows_.size());
    int32_t selected = -1;
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        const std::size_t from = std::size_t(rows_[k]);
        channels.push_back(std::move(s.Channels[from]));
        channels.back().Number = int32_t(k);
        if (withHistories) histories.push_back(std::move(s.ChannelLevels[from]));
        if (rows_[k] == s.SelectedChannel) selected = int32_t(k);
    }
    std::move(channels.begin(), channels.end(), s.Channels.begin());
    if (withHistories) std::move(histories.begin(), histories.end(), s.ChannelLevels.begin());
    s.SelectedChannel = selected;
    s.BankChanged = 1;
    RebuildList();
    FillFields();
    Post(PostBankRefreshData);
    RenewAfterChange();
    FeedStudy();
}

void freq::SortBy(int column) {
    if (column < 0 || column >= int(std::size(kColumns))) return;
    const std::vector<Mt>& c = S().Channels;
    const auto key = [&](int32_t i) -> const Mt& { return c[std::size_t(i)]; };
    std::erase_if(rows_, [&](int32_t i) { return i < 0 || std::size_t(i) >= c.size(); });
    SortChannelRows(rows_, ChannelColumn(column), [&](int32_t i) { return SortFieldsOf(key(i)); });
    sortColumn_ = column;
    lv_1->Clear();
    for (int32_t i : rows_) lv_1->AddRow(BankRowTexts(S(), key(i)));
    selectedRow_ = RowOf(S().SelectedChannel);
    lv_1->SelectRow(selectedRow_);
    RenewAfterChange();
}

// After the list changed: the chart shows its rows again.
void freq::RenewAfterChange() {
    Redraw();
    CopyToShared();
    ShowOnMainPicture(false);
}

// ---- editing the selected channel

void freq::EditFrequency(const std::string& text) {
    FDX& s = S();
    Mt* channel = RowChannel(selectedRow_);
    if (channel == nullptr) return;
    const uint32_t f = FDX::ParseMHz(text);
    if (f != 0 && (f < s.FreqLow || f > s.FreqHigh)) return;
    if (f != channel->Frequency) s.BankChanged = 1;
    if (f == 0) {
        channel->Frequency = 0;
        for (ui::Window* field : std::initializer_list<ui::Window*>{sstep, smod, comment})
            field->SetText("");
        satt->SetChecked(false);
    } else {
        if (channel->Frequency == 0) {
            // Switched on again: the channel takes the receiver's settings.
            channel->Modulation = s.Modulation;
            channel->Attenuator = s.Attenuator;
            channel->Step = s.Step;
            channel->Work = 0;
            sstep->SetText(FormatText("%5.1f", channel->Step / 10.0));
            comment->SetText(channel->Identifier);
            satt->SetChecked(channel->Attenuator != 0);
            smod->SetText(FormatText("%c", channel->Modulation));
        }
        channel->Frequency = f;
    }
    RewriteRow(selectedRow_);
    EnableFields();
    Post(PostBankRefreshDisplay);
}

void freq::EditStep(const std::string& text) {
    FDX& s = S();
    Mt* channel = RowChannel(selectedRow_);
    const uint32_t step = FDX::ParseKHz(text);
    if (channel == nullptr || channel->Frequency == 0 || step == channel->Step) return;
    if (step < s.StepLow || step > s.StepHigh) return;
    channel->Step = step;
    s.BankChanged = 1;
    RewriteRow(selectedRow_);
}

void freq::ChooseModulation(int index) {
    Mt* channel = RowChannel(selectedRow_);
    if (channel == nullptr || channel->Frequency == 0 || index < 0 || index >= 6) return;
    channel->Modulation = kLetters[index];
    S().BankChanged = 1;
    RewriteRow(selectedRow_);
}

void freq::ToggleAttenuator() {
    Mt* channel = RowChannel(selectedRow_);
    if (channel == nullptr || channel->Frequency == 0) return;
    channel->Attenuator = satt->IsChecked() ? 1 : 0;
    S().BankChanged = 1;
    RewriteRow(selectedRow_);
}

void freq::EditComment(const std::string& text) {
    Mt* channel = RowChannel(selectedRow_);
    if (channel == nullptr || channel->Frequency == 0) return;
    channel->Identifier = text;
    S().BankChanged = 1;
    RewriteRow(selectedRow_);
}

// ---- measurements

int32_t freq::SampleCount() const {
    return fdx_->HistoriesAllocated ? std::max(fdx_->MeasurementCapacity, 0) : 0;
}

int32_t freq::LargestFirst() const {
    return std::max(SampleCount() - (chart_ ? chart_->Width() : 0), 0);
}

// The first shown measurement and the one the list shows stay among the measurements.
void freq::ClampSamples() {
    FDX& s = S();
    s.BankChartFirst = std::clamp(s.BankChartFirst, 0, LargestFirst());
    s.BankSampleIndex = std::clamp(s.BankSampleIndex, 0, std::max(SampleCount() - 1, 0));
}

// The channels' levels become those of the shown measurement; the compact channel list
// shows them too.
void freq::RefreshLevelColumn() {
    FDX& s = S();
    if (s.BankSampleIndex >= SampleCount()) return;
    bool changed = false;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        Mt* channel = RowChannel(int(row));
        if (channel == nullptr) continue;
        const int32_t level = HistoryAt(s, rows_[row], s.BankSampleIndex);
        if (level == channel->Work) continue;
        channel->Work = level;
        changed = true;
        if (channel->Frequency != 0)
            lv_1->SetCell(int(row), kLevelColumn, LevelText(s, channel->Work));
    }
    if (changed) Post(PostBankRefreshData);
}

void freq::UpdateScrollBar() {
    if (!chart_ || hs == nullptr) return;
    ClampSamples();
    if (SampleCount() >= chart_->Width()) {
        hs->SetRange(0, LargestFirst());
        hs->SetPageStep(kChartPage);
        hs->SetSingleStep(kChartLine);
        hs->SetPosition(S().BankChartFirst);
        hs->Show();
    } else {
        hs->Hide();
    }
}

void freq::ShowStartTime() {
    time_start->SetText(S().HistoriesAllocated ? MeasurementText(S(), 0) : "");
}

// ---- drawing

bool freq::OwnsSharedPicture() const {
    return host_ != nullptr && host_->SharedPicture().Owner() == kBankWindowOwner;
}

ui::SharedPicture* freq::SharedTarget() const {
    return OwnsSharedPicture() ? &host_->SharedPicture() : nullptr;
}

ChartRows freq::VisibleRows() const {
    ChartRows rows;
    const std::size_t top = std::size_t(std::max(lv_1->TopRow(), 0));
    const int shown =
        BankChart::RowsShown(chartRect_.height, rows_.size() - std::min(top, rows_.size()));
    for (int k = 0; k < shown; ++k) rows.channels.push_back(rows_[top + std::size_t(k)]);
    rows.selected = fdx_->SelectedChannel;
    return rows;
}

void freq::Redraw() {
    if (!chart_) return;
    FDX& s = S();
    ClampSamples();
    s.BankTopRow = lv_1->TopRow();
    drawnRows_ = VisibleRows();
    chart_->Draw(s, drawnRows_, s.BankChartFirst);
    // Without measurements the study has no channel history to show.
    if (!s.HistoriesAllocated) ReleaseStudyCurves();
}

void freq::CopyToShared() {
    if (ui::SharedPicture* shared = SharedTarget())
        chart_->Show(*shared, {chartRect_.x, chartRect_.y});
}

// The time of the shown measurement under the chart and the cursor on it. With
// `bringIntoView` the chart first scrolls to a shown measurement outside it.
void freq::ShowOnMainPicture(bool bringIntoView) {
    ui::SharedPicture* shared = SharedTarget();
    if (shared == nullptr || !chart_) return;
    FDX& s = S();
    ClampSamples();
    if (SampleCount() == 0) {
        chart_->ShowStrip(*shared, {chartRect_.x, chartRect_.y}, s, drawnRows_, 0, -1, "");
        return;
    }
    const int32_t shown = s.BankSampleIndex;
    if (bringIntoView &&
        (shown < s.BankChartFirst || shown >= s.BankChartFirst + chart_->Width())) {
        s.BankChartFirst = shown < s.BankChartFirst ? shown : shown - chart_->Width() + 1;
        Redraw();
        CopyToShared();
        hs->SetPosition(s.BankChartFirst);
    }
    chart_->ShowStrip(*shared, {chartRect_.x, chartRect_.y}, s, drawnRows_, s.BankChartFirst, shown,
                      MeasurementText(s, shown));
}

// The measurement the scan has just finished (the one before the one it measures).
void freq::DrawMeasuredColumn() {
    if (!chart_) return;
    FDX& s = S();
    const int32_t measured = s.MeasurementCount - 1;
    chart_->DrawColumn(SharedTarget(), {chartRect_.x, chartRect_.y}, s, drawnRows_,
                       s.BankChartFirst, measured);
    if (measured != s.BankSampleIndex) return;
    RefreshLevelColumn();
    ShowOnMainPicture();
}

// With SPY the list shows the levels of the measurement before, and the chart and its cursor
// follow the measurement being made.
void freq::FollowMeasurement() {
    if (!chart_) return;
    FDX& s = S();
    if (s.BankSampleIndex < SampleCount()) RefreshLevelColumn();
    s.BankSampleIndex = std::clamp(s.MeasurementCount, 0, std::max(SampleCount() - 1, 0));
    const int32_t shown = s.BankSampleIndex;
    if (shown < s.BankChartFirst || shown >= s.BankChartFirst + chart_->Width()) {
        s.BankChartFirst += shown < s.BankChartFirst ? -kChartLine : kChartLine;
        Redraw();
        CopyToShared();
        hs->SetPosition(s.BankChartFirst);
    } else {
        DrawMeasuredColumn();
    }
    ShowOnMainPicture();
    FeedStudy();
}

void freq::StepShownSample(int direction) {
    FDX& s = S();
    if (!OwnsSharedPicture() || SampleCount() == 0) return;
    const int32_t next = s.BankSampleIndex + direction;
    if (next < 0 || next >= SampleCount()) return;
    s.BankSampleIndex = next;
    RefreshLevelColumn();
    ShowOnMainPicture();
    Post(PostFrequencyStepped);
    FeedStudy();
}

// ---- the operator's hand on the chart

// The band of the chart row at y: the row's level lines and its baseline; -1 above the first.
int freq::BandAt(int y) const {
    const int top = BankChart::kFirstBaseline - BankChart::kRowPitch + 1;
    return y < top ? -1 : (y - top) / BankChart::kRowPitch;
}

void freq::MouseMove(int x, int y) {
    FDX& s = S();
    if (!s.HistoriesAllocated || x < 0 || x >= chartRect_.width || y < 0 ||
        y >= chartRect_.height) {
        return;
    }
    const int32_t sample = s.BankChartFirst + x;
    if (sample >= SampleCount()) return;
    time_set->SetText(MeasurementText(s, sample));
    const int band = BandAt(y);
    const int row = band < 0 ? -1 : std::max(lv_1->TopRow(), 0) + band;
    const Mt* channel = RowChannel(row);
    s.CursorFrequency = channel != nullptr ? int32_t(channel->Frequency) : -1;
    s.CursorLevel = channel != nullptr ? HistoryAt(s, rows_[std::size_t(row)], sample) : -1;
    Post(PostShowStatus);
}

void freq::MouseLeave() {
    time_set->SetText("");
    S().CursorFrequency = -1;
    Post(PostShowStatus);
}

void freq::MouseDown(int x, int y) {
    FDX& s = S();
    if (!s.HistoriesAllocated || x < 0 || x >= chartRect_.width || y < 0 ||
        y >= chartRect_.height) {
        return;
    }
    // A scan that the chart follows (SPY) keeps the shown measurement its own.
    const bool shownMoves = !(s.Running && s.OptSpy);
    if (shownMoves) {
        s.BankSampleIndex = std::min(s.BankChartFirst + x, std::max(SampleCount() - 1, 0));
        RefreshLevelColumn();
        ShowOnMainPicture();
    }
    const int band = BandAt(y);
    const int row = band >= 0 && band < kClickBands ? std::max(lv_1->TopRow(), 0) + band : -1;
    if (RowChannel(row) != nullptr)
        SelectRow(row);  // which feeds the study
    else if (shownMoves)
        FeedStudy();
}

void freq::ScrollChart(int position) {
    S().BankChartFirst = std::clamp(position, 0, LargestFirst());
    Redraw();
    CopyToShared();
    ShowOnMainPicture(false);
}

// ---- the detailed study

// Forgets the study's curves of bank channels (those on a time axis), which point into the
// histories, and tells the study when there was one.
void freq::ReleaseStudyCurves() {
    bool released = false;
    for (ViewSource& source : S().ViewSources) {
        if (source.AxisMode != kStudyTimeAxis) continue;
        source = ViewSource{};
        released = true;
    }
    if (released) Post(PostViewRecompute);
}

// The channel the study shows: the selected one; with no row selected the channel the bank
// scan measures, else the first. -1 for an empty bank.
int32_t freq::StudyChannel() {
    if (RowChannel(selectedRow_) != nullptr) return rows_[std::size_t(selectedRow_)];
    const FDX& s = S();
    const int32_t channels = std::clamp<int32_t>(
        s.ChannelCount, 0, int32_t(std::min<std::size_t>(s.Channels.size(), kMaxBankChannels)));
    if (s.ChannelIndex >= 0 && s.ChannelIndex < channels) return s.ChannelIndex;
    return channels > 0 ? 0 : -1;
}

// The study's curves the bank feeds take the shown channel's history, their marker on the
// shown measurement; the bank window feeds them again whenever either changes, so that the
// marker follows the measurement the list and the chart show. Curves the bank does not fill
// are emptied: the study never goes on showing what another window bound before.
void freq::FeedStudy() {
    FDX& s = S();
    const int32_t index = StudyChannel();
    const Mt* channel = index >= 0 ? &s.Channels[std::size_t(index)] : nullptr;
    bool changed = false;
    for (std::size_t i = 0; i < s.ViewSources.size(); ++i) {
        const bool fed = s.ViewFeed == 3 || s.ViewFeed == int32_t(i) + 1;
        if (!fed || s.ViewSourceKinds[i] != kStudyBankSource) continue;
        ViewSource& source = s.ViewSources[i];
        source = ViewSource{};
        if (channel != nullptr && SampleCount() > 0 && channel->Frequency != 0 &&
            std::size_t(index) < s.ChannelLevels.size()) {
            source.Levels = &s.ChannelLevels[std::size_t(index)];
            source.Frequency = channel->Frequency;
            source.Start = 0;
            source.Count = uint32_t(SampleCount());
            source.Step = 1;
            source.Marker = std::min(s.BankSampleIndex, SampleCount() - 1);
            source.AxisMode = kStudyTimeAxis;
        }
        changed = true;
    }
    if (changed) Post(PostViewRecompute);
}
