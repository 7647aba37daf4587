#include "windows/hfreq.h"

#include <algorithm>

#include "state/channel_order.h"
#include "state/message_bus.h"
#include "ui/form.h"
#include "ui/post.h"
#include "windows/freq.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kHfreqControls[] = {UI_CONTROL_ROWS(HFREQ_CONTROLS)};
constexpr ui::FormResource kHfreqForm{
    "ID_hfreq", 98, 180, "8.MS Sans Serif", st::kCaption, "Каналы банка", kHfreqControls};

// The bank window's cells that the list shows: frequency, level and number.
constexpr int kBankCells[] = {0, 3, 6};
constexpr int kLevelColumn = 1;

}  // namespace

hfreq::hfreq() {
    ui::RegisterFormResource(kHfreqForm);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    // However it goes, the main window hears once that the list is closed.
    On(ui::EventId::Close, [this](ui::EventData&) { AnnounceClosed(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { AnnounceClosed(); });
}

hfreq::~hfreq() {
    Destroy();
}

bool hfreq::Create(ui::Form* parent, FDX* state) {
    if (state == nullptr) return false;
    fdx_ = state;
    return ui::Form::Create("ID_hfreq", parent);
}

void hfreq::OnCreate() {
    CreateFormControls();
    lv_1->SetColumns({{"Частота", 65}, {"Уровень", 44}, {"№", 26}});
    lv_1->On(ui::EventId::Select, [this](ui::EventData& e) { ClickRow(int(e.value)); });
    lv_1->On(ui::EventId::ColumnClick, [this](ui::EventData& e) { SortBy(int(e.value)); });
    lv_1->On(ui::EventId::RightButtonUp,
             [this](ui::EventData&) { PostPrivateMessage(fdx_->Owner, PostRunMacro); });
    SetName("hfreq");
    fdx_->HfreqOpen = 1;
    Rebuild();
}

void hfreq::AnnounceClosed() {
    if (closed_ || fdx_ == nullptr) return;
    closed_ = true;
    fdx_->HfreqOpen = 0;
    PostPrivateMessage(fdx_->Owner, PostHfreqClosed);
}

Mt* hfreq::RowChannel(int row) {
    if (row < 0 || std::size_t(row) >= rows_.size()) return nullptr;
    const int32_t channel = rows_[std::size_t(row)];
    if (channel < 0 || channel >= fdx_->ChannelCount ||
        std::size_t(channel) >= fdx_->Channels.size())
        return nullptr;
    return &fdx_->Channels[std::size_t(channel)];
}

// The rows are renewed in place while the bank keeps its size, so that a scan's levels leave
// the operator's place in the list as it is; otherwise the list is built anew.
void hfreq::Rebuild() {
    const int32_t channels = std::clamp<int32_t>(
        fdx_->ChannelCount, 0,
        int32_t(std::min<std::size_t>(fdx_->Channels.size(), kMaxBankChannels)));
    if (std::size_t(channels) == rows_.size() && lv_1->RowCount() == channels) {
        for (int row = 0; row < channels; ++row) RewriteRow(row);
        return;
    }
    rows_.clear();
    lv_1->Clear();
    for (int32_t i = 0; i < channels; ++i) {
        rows_.push_back(i);
        lv_1->AddRow({});
        RewriteRow(i);
    }
    clickedRow_ = -1;
    if (sortColumn_ >= 0) SortBy(sortColumn_);
}

void hfreq::RewriteRow(int row) {
    const Mt* channel = RowChannel(row);
    if (channel == nullptr) return;
    const std::vector<std::string> cells = BankRowTexts(*fdx_, *channel);
    for (int c = 0; c < 3; ++c) lv_1->SetCell(row, c, cells[std::size_t(kBankCells[c])]);
}

void hfreq::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || !HasWindow()) return;
    FDX& s = *fdx_;
    switch (code) {
        case PostRefreshData:
            Rebuild();
            break;
        case PostRefreshDisplay: {
            const auto at = std::find(rows_.begin(), rows_.end(), s.SelectedChannel);
            if (at == rows_.end()) break;
            const int row = int(at - rows_.begin());
            RewriteRow(row);
            if (lv_1->SelectedRow() != row) lv_1->SelectRow(row);
            clickedRow_ = row;
            break;
        }
        case PostUpdateParams: {
            const int row = lv_1->SelectedRow();
            if (row < 0 || std::size_t(row) >= rows_.size()) break;
            Mt* channel = RowChannel(row);
            if (channel != nullptr && channel->Frequency == s.Frequency &&
                channel->Modulation == s.Modulation && s.Level != -1) {
                channel->Work = s.Level;
                RewriteRow(row);
            }
            break;
        }
        default:
            break;
    }
}

// While a scan runs the receiver is the scan's.
void hfreq::ClickRow(int row) {
    FDX& s = *fdx_;
    const Mt* channel = RowChannel(row);
    if (channel == nullptr) return;
    clickedRow_ = row;
    if (s.Running || channel->Frequency == 0) return;
    s.TuneFrequency = channel->Frequency;
    s.TuneModulation = channel->Modulation;
    s.TuneAttenuator = channel->Attenuator;
    s.TuneStep = channel->Step != 0 ? channel->Step : s.Step;
    PostPrivateMessage(s.Owner, PostApplyFrequency);
}

void hfreq::SortBy(int column) {
    // "Частота", "Уровень", "№".
    constexpr ChannelColumn kSortColumns[] = {ChannelColumn::Frequency, ChannelColumn::Level,
                                              ChannelColumn::Number};
    if (column < 0 || column >= int(std::size(kSortColumns))) return;
    const std::vector<Mt>& c = fdx_->Channels;
    const int32_t clicked = clickedRow_ >= 0 ? rows_[std::size_t(clickedRow_)] : -1;
    std::erase_if(rows_, [&](int32_t i) { return std::size_t(i) >= c.size(); });
    SortChannelRows(rows_, kSortColumns[column],
                    [&](int32_t i) { return SortFieldsOf(c[std::size_t(i)]); });
    sortColumn_ = column;
    for (std::size_t row = 0; row < rows_.size(); ++row) RewriteRow(int(row));
    const auto at = std::find(rows_.begin(), rows_.end(), clicked);
    clickedRow_ = at == rows_.end() ? -1 : int(at - rows_.begin());
    lv_1->SelectRow(clickedRow_);
}
