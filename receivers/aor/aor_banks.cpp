// The AOR panels' copy of the receiver's memory: read from the receiver and written into it
// in one walk, cleared, filled from the receiver's current settings, and kept in the state
// file.

#include <algorithm>
#include <numeric>
#include <utility>

#include "receivers/aor/aor_panel.h"
#include "state/key_value.h"

namespace {

using aor::Format;

// The depth of a search bank's attenuator that "SF_ATT=+" stands for without "SF_QATT".
constexpr uint32_t kSearchBankDepth = 10;

std::vector<int> Numbers(int count) {
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 0);
    return numbers;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// One channel, one search bank

void SettleSearchBank(AorSearchBank& bank, const ChannelLayout& layout) {
    if (bank.Empty()) return;
    if (bank.Lower != 0 && bank.Upper != 0 && bank.Lower > bank.Upper)
        std::swap(bank.Lower, bank.Upper);
    bank.Step = layout.HeldStep(bank.Step);
}

// Only the receiver's answer for the channel changes it: its "---" empties it; no answer (a set
// gone silent or unplugged, a refusal, a line of another channel) leaves what the panel had.
bool AorPanel::ReadChannel(int bank, int channel) {
    MemoryChannel& record = ChannelAt(bank, channel);
    MemoryChannel read = record;
    switch (ReadChannelInto(bank, channel, read, true)) {
        case ChannelAnswer::None:
            return false;
        case ChannelAnswer::Empty:
            record.Frequency = 0;
            return false;
        case ChannelAnswer::Found:
            record = read;
            return true;
    }
    return false;
}

// Only an answer clears the panel's search bank: one that does not come leaves it as it is.
bool AorPanel::ReadSearchBank(int bank) {
    AorSearchBank& record = SearchBanks[static_cast<std::size_t>(bank)];
    AorSearchBank read = record;
    switch (ReadSearchBankInto(bank, read)) {
        case ChannelAnswer::None:
            return false;
        case ChannelAnswer::Empty:
            record = {};
            return true;
        case ChannelAnswer::Found:
            record = read;
            return true;
    }
    return false;
}

void AorPanel::TakeChannelReply(const AorReply& reply, int channel, char mode, int32_t filter,
                                MemoryChannel& out) const {
    out.Frequency = std::clamp(reply.Frequency, LowerLimit, UpperLimit);
    out.Step = reply.Step;
    out.Modulation = mode;
    out.Filter = filter;
    out.Label = aor::LabelFromWire(reply.Label);
    out.Attenuator = reply.Attenuator;
    out.AttenuatorDb = reply.AttenuatorDb;
    out.Skip = reply.Skip;
    out.Number = channel;
}

AorSearchBank AorPanel::SearchBankOf(const AorReply& reply, char mode, int32_t filter) const {
    // A limit of 0 stays unset, as in the state file.
    const auto held = [this](uint32_t f) {
        return f == 0 ? 0 : std::clamp(f, LowerLimit, UpperLimit);
    };
    AorSearchBank bank;
    bank.Lower = held(reply.SearchLower);
    bank.Upper = held(reply.SearchUpper);
    bank.Step = reply.Step;
    bank.Mode = mode;
    bank.Filter = filter;
    bank.Attenuator = reply.Attenuator;
    bank.AttenuatorDb = reply.AttenuatorDb;
    bank.Label = aor::LabelFromWire(reply.Label);
    return bank;
}

// ---------------------------------------------------------------------------------------
// The walk of a transfer

bool AorPanel::Unwritten::HoldsChannel(int bank, int channel) const {
    return std::find(channels.begin(), channels.end(), std::pair{bank, channel}) != channels.end();
}

bool AorPanel::Unwritten::HoldsSearchBank(int bank) const {
    return std::find(searchBanks.begin(), searchBanks.end(), bank) != searchBanks.end();
}

void AorPanel::WriteBankChannels(int bank, Unwritten& unwritten) {
    const bool clearEmpty =
        model_.memory.emptyChannels == AorMemoryRules::EmptyChannels::ClearedOnReceiver;
    for (int channel = 0; channel < BankSize(); ++channel) {
        if (!ChannelAt(bank, channel).Empty()) {
            if (!WriteChannel(bank, channel)) unwritten.channels.emplace_back(bank, channel);
        } else if (clearEmpty) {
            ClearChannelOnReceiver(bank, channel);
        }
    }
}

// Empty search banks are never written. A read probes the receiver first, as before a
// channel: false when it did not answer.
bool AorPanel::WalkSearchBank(bool write, int bank, Unwritten& unwritten) {
    if (!write) {
        if (!Answers()) return false;
        ReadSearchBank(bank);
    } else if (!SearchBanks[static_cast<std::size_t>(bank)].Empty() && !SendSearchBank(bank)) {
        unwritten.searchBanks.push_back(bank);
    }
    return true;
}

// A bank whose probe goes unanswered ends the walk there; so does, in a read, a channel's or a
// search bank's: the receiver is probed before every one, so that one lost half way through
// is found at once, told once (by the transfer) and what was not read yet left as the panel
// has it.
// A model that reads bank i with search bank i takes them in pairs; search banks beyond the
// banks come last.
bool AorPanel::WalkBanks(bool write, std::span<const int> banks, std::span<const int> searchBanks,
                         Unwritten& notWritten) {
    const bool paired =
        !write && model_.memory.readOrder == AorMemoryRules::ReadOrder::BankWithItsSearchBank;
    std::size_t searchWalked = 0;
    for (std::size_t i = 0; i < banks.size(); ++i) {
        if (!Answers()) return false;
        if (i == 0) MemoryWalkStarts();
        if (SelectBankForWalk(banks[i])) {
            if (write) {
                WriteBankChannels(banks[i], notWritten);
            } else {
                for (int channel = 0; channel < BankSize(); ++channel) {
                    if (!Answers()) return false;
                    ReadChannel(banks[i], channel);
                }
            }
        }
        if (paired && searchWalked < searchBanks.size() &&
            !WalkSearchBank(write, searchBanks[searchWalked++], notWritten))
            return false;
    }
    for (; searchWalked < searchBanks.size(); ++searchWalked)
        if (!WalkSearchBank(write, searchBanks[searchWalked], notWritten)) return false;
    return true;
}

void AorPanel::ReadCurrentBank() {
    Transfer(Format("Чтение банка N %d", CurrentBank), [this] {
        if (lv_1) lv_1->Clear();
        const int bank[] = {CurrentBank};
        const int search[] = {CurrentSearchBank};
        Unwritten none;  // a read writes nothing
        const bool answered = WalkBanks(
            false, bank, std::span(search, model_.currentReadTakesSearchBank ? 1 : 0), none);
        if (answered) MemoryWalkEnded(false);
        ShowBankList();
        ShowSearchBank();
        return answered;
    });
}

void AorPanel::ReadAllBanks() {
    Transfer("Чтение банков приемника", [this] {
        if (lv_1) lv_1->Clear();
        Unwritten none;  // a read writes nothing
        const bool answered =
            WalkBanks(false, Numbers(model_.banks), Numbers(model_.searchBanks), none);
        if (answered) MemoryWalkEnded(true);
        ShowBankList();
        ShowSearchBank();
        return answered;
    });
}

AorPanel::Unwritten AorPanel::WriteCurrentBank() {
    const int bank[] = {CurrentBank};
    const int search[] = {CurrentSearchBank};
    return WriteBanks(Format("Запись банка N %d", CurrentBank), bank,
                      std::span(search, model_.currentWriteTakesSearchBank ? 1 : 0));
}

AorPanel::Unwritten AorPanel::WriteAllBanks() {
    return WriteBanks("Запись банков приемника", Numbers(model_.banks),
                      Numbers(model_.searchBanks));
}

// What the receiver did not take is told as a write of the other sets tells it, which also
// fails a job line; a receiver that stopped answering is told by the transfer alone.
AorPanel::Unwritten AorPanel::WriteBanks(const std::string& status, std::span<const int> banks,
                                         std::span<const int> searchBanks) {
    Unwritten unwritten;
    const bool answered = Transfer(status, [&] {
        const bool walked = WalkBanks(true, banks, searchBanks, unwritten);
        if (walked) MemoryWalkEnded(true);
        return walked;
    });
    if (answered) TellUnwritten(unwritten);
    return unwritten;
}

void AorPanel::TellUnwritten(const Unwritten& unwritten) {
    const auto count =
        static_cast<uint32_t>(unwritten.channels.size() + unwritten.searchBanks.size());
    if (!unwritten.channels.empty()) {
        const auto [bank, channel] = unwritten.channels.front();
        TellNotWritten(count, BankName(bank), channel);
    } else if (!unwritten.searchBanks.empty()) {
        TellSearchBankNotWritten(count, SearchBankName(unwritten.searchBanks.front()));
    }
}

// ---------------------------------------------------------------------------------------
// The panel's own copy

void AorPanel::StoreCurrentSettings() {
    StoreIntoSelectedChannel([this](int channel) { return SendChannel(CurrentBank, channel); },
                             BankName(CurrentBank));
    ShowBankList();
}

// The handhelds' copy of a bank is cleared with the current search bank's limits; the AR5000's
// whole memory takes every search bank along.
void AorPanel::ClearBanks() {
    const bool withCurrentSearchBank =
        model_.memory.searchBanksCleared == AorMemoryRules::SearchBanksCleared::CurrentWithEachBank;
    const auto clearBank = [this, withCurrentSearchBank](int bank) {
        if (DirectWrite) ClearBankOnReceiver(bank);
        for (int channel = 0; channel < BankSize(); ++channel)
            ChannelAt(bank, channel) = model_.list.layout->Empty(channel);
        if (withCurrentSearchBank) CurrentSearch().Lower = CurrentSearch().Upper = 0;
    };
    if (WholeMemory) {
        for (int bank = 0; bank < model_.banks; ++bank) clearBank(bank);
        for (int bank = 0; bank < model_.searchBanks && !withCurrentSearchBank; ++bank) {
            if (DirectWrite) ClearSearchBankOnReceiver(bank);
            SearchBanks[static_cast<std::size_t>(bank)] = {};
        }
        // The receiver stands on the current bank again, as the panel does.
        if (DirectWrite) SelectBankForWalk(CurrentBank);
    } else {
        clearBank(CurrentBank);
    }
    BankPositions[static_cast<std::size_t>(CurrentBank)] = 0;
    ShowBankList();
    ShowSearchBank();
}

std::span<MemoryChannel> AorPanel::CurrentBankChannels() {
    return std::span(Channels).subspan(Index(CurrentBank, 0), model_.list.layout->bankSize);
}

int32_t AorPanel::SelectedChannel() const {
    return std::clamp(BankPositions[static_cast<std::size_t>(CurrentBank)], 0, BankSize() - 1);
}

// ---------------------------------------------------------------------------------------
// The state file's memory part: "Частот_Банков" and the channels, the level scale (its count
// or the whole), then the search banks as the model's rules lay them out.

void AorPanel::WriteMemoryKeys(StateFileWriter& file) const {
    WriteChannelKeys(file, Channels, *model_.list.layout);
    if (model_.memory.scaleKeys == AorMemoryRules::ScaleKeys::Whole)
        file.Scale(Scale);
    else
        file.ScaleCount(Scale);
    WriteSearchBankKeys(file);
}

void AorPanel::WriteSearchBankKeys(StateFileWriter& file) const {
    using Rules = AorMemoryRules;
    const Rules& rules = model_.memory;
    const bool eachKeyed = rules.searchBankKey == Rules::SearchBankKey::BeforeEach;
    const bool asChannels = rules.searchBankKeys == Rules::SearchBankKeys::AsChannels;
    const ChannelLayout& layout = *model_.list.layout;
    if (!eachKeyed) file.Number(kSearchBankKey, static_cast<uint32_t>(CurrentSearchBank));
    for (std::size_t bank = 0; bank < SearchBanks.size(); ++bank) {
        const AorSearchBank& record = SearchBanks[bank];
        if (eachKeyed) file.Number(kSearchBankKey, static_cast<uint32_t>(bank));
        file.Number("SFN", record.Lower);
        file.Number("SFK", record.Upper);
        if (asChannels && record.Empty()) continue;
        if (record.Attenuator) {
            file.Text("SF_ATT", "+");
            // A depth other than the one "SF_ATT=+" reads as, as the files of before have it.
            if (layout.holds.depth && record.AttenuatorDb != kSearchBankDepth)
                file.Number("SF_QATT", record.AttenuatorDb);
        }
        file.Number("SF_STEP", record.Step);
        if (!asChannels || !record.Label.empty()) file.Text("SF_ID", record.Label);
        const bool filterKey = layout.holds.filter && record.Filter != 0;
        const auto writeFilter = [&] {
            file.Number("SF_QMOD", static_cast<uint32_t>(record.Filter));
        };
        if (filterKey && layout.filterKeyFirst) writeFilter();
        file.Text("SF_MOD", std::string(1, record.Mode));
        if (filterKey && !layout.filterKeyFirst) writeFilter();
    }
}

void AorPanel::WriteBankKeys(StateFileWriter& file, bool links) const {
    file.Number(kBankKey, static_cast<uint32_t>(CurrentBank));
    if (links) {
        file.Text(kSearchLinksKey, ScanSettings.SearchLinks);
        file.Text(kMemoryLinksKey, ScanSettings.MemoryLinks);
    }
    for (const int32_t position : BankPositions)
        file.Number(kPositionKey, static_cast<uint32_t>(position));
}

void AorPanel::WriteBoxKeys(StateFileWriter& file) const {
    file.Flag(kBoxKeys[0], fdx_->Attenuator != 0);
    file.Flag(kBoxKeys[1], fdx_->Sound != 0);
    file.Flag(kBoxKeys[2], DirectWrite);
    file.Flag(kBoxKeys[3], WholeMemory);
}

bool AorPanel::WriteHandheldStateFile(bool links, const KeyWriter& modelKeys,
                                      const KeyWriter& head) {
    StateFileWriter file;
    WriteHead(file, head);
    WriteBankKeys(file, links);
    WriteBoxKeys(file);
    modelKeys(file);
    WriteMemoryKeys(file);
    return file.Save(StateFilePath());
}

bool AorPanel::ReadHandheldStateFile(
    const std::function<void(std::string_view key, std::string_view value)>& modelKey,
    const std::function<void()>& taken) {
    AorMemoryKeys memory(*this, /*withBoxes=*/true);
    const auto key = [&](std::string_view key, std::string_view value) {
        if (!memory.Take(key, value)) modelKey(key, value);
    };
    if (!ReadStateFileKeys(key)) return false;
    taken();
    TakeMemoryKeys(memory);
    // The search bank in use is the bank's, whatever the file says.
    if (model_.searchBankFollowsBank) CurrentSearchBank = CurrentBank;
    return true;
}

void AorPanel::TakeMemoryKeys(AorMemoryKeys& keys) {
    Channels = std::move(keys.channels);
    SearchBanks = std::move(keys.searchBanks);
    for (AorSearchBank& bank : SearchBanks) SettleSearchBank(bank, *model_.list.layout);
    if (keys.currentSearchBank) CurrentSearchBank = *keys.currentSearchBank;
    CurrentBank = keys.bank;
    std::copy_n(keys.positions.begin(), BankPositions.size(), BankPositions.begin());
    if (!keys.boxes) return;
    FDX& s = *fdx_;
    s.Attenuator = keys.boxes->attenuator ? 1 : 0;
    s.AttenuatorDb = keys.boxes->attenuator ? model_.list.layout->Depth(0) : 0;
    s.Sound = keys.boxes->sound ? 1 : 0;
    DirectWrite = keys.boxes->direct;
    WholeMemory = keys.boxes->whole;
}

AorMemoryKeys::AorMemoryKeys(const AorPanel& panel, bool withBoxes)
    : channels(panel.Channels),
      searchBanks(panel.SearchBanks),
      bank(panel.CurrentBank),
      positions(panel.BankPositions.begin(), panel.BankPositions.end()),
      boxes(withBoxes ? std::optional<Boxes>(Boxes{}) : std::nullopt),
      reader_(channels, *panel.model_.list.layout, panel.LowerLimit, panel.UpperLimit),
      rules_(panel.model_.memory),
      layout_(*panel.model_.list.layout),
      lower_(panel.LowerLimit),
      upper_(panel.UpperLimit),
      banks_(panel.model_.banks) {}

// The bank choice, every number checked; the boxes count by their presence.
bool AorMemoryKeys::TakeBankKey(std::string_view key, uint32_t number) {
    if (key == AorPanel::kBankKey) {
        if (number < static_cast<uint32_t>(banks_)) bank = static_cast<int32_t>(number);
        return true;
    }
    if (key == AorPanel::kPositionKey) {
        if (positionCount_ < positions.size() && number < layout_.bankSize)
            positions[positionCount_] = static_cast<int32_t>(number);
        ++positionCount_;
        return true;
    }
    if (!boxes) return false;
    bool* const flags[] = {&boxes->attenuator, &boxes->sound, &boxes->direct, &boxes->whole};
    for (std::size_t i = 0; i < std::size(flags); ++i) {
        if (key != AorPanel::kBoxKeys[i]) continue;
        *flags[i] = true;
        return true;
    }
    return false;
}

uint32_t AorMemoryKeys::Clamp(uint32_t frequency) const {
    return frequency == 0 ? 0 : std::clamp(frequency, lower_, upper_);
}

// Before every search bank it names the bank the keys after it fill; said once it is the
// current search bank, and each "SFN" starts the next bank.
void AorMemoryKeys::TakeSearchBankKey(uint32_t number) {
    const bool valid = number < searchBanks.size();
    if (rules_.searchBankKey == AorMemoryRules::SearchBankKey::CurrentOnce) {
        if (valid) currentSearchBank = static_cast<int32_t>(number);
        return;
    }
    searchBank_ = valid ? static_cast<int64_t>(number) : -1;
    if (searchBank_ >= 0) searchBanks[static_cast<std::size_t>(searchBank_)] = {};
}

bool AorMemoryKeys::Take(std::string_view key, std::string_view value) {
    if (reader_.Take(key, value)) return true;
    const uint32_t number = ReadNumberOrZero(value);
    if (TakeBankKey(key, number)) return true;
    if (key == AorPanel::kSearchBankKey) {
        TakeSearchBankKey(number);
        return true;
    }
    if (!key.starts_with("SF")) return false;
    const bool startsBank = rules_.searchBankKey == AorMemoryRules::SearchBankKey::CurrentOnce;
    if (key == "SFN" && startsBank) {
        // A bank beyond the panel's is skipped with all its keys.
        ++searchBank_;
        if (static_cast<std::size_t>(searchBank_) >= searchBanks.size()) {
            searchBank_ = static_cast<int64_t>(searchBanks.size());
            return true;
        }
        searchBanks[static_cast<std::size_t>(searchBank_)] = {};
    }
    if (searchBank_ < 0 || static_cast<std::size_t>(searchBank_) >= searchBanks.size()) return true;
    AorSearchBank& b = searchBanks[static_cast<std::size_t>(searchBank_)];
    if (key == "SFN") {
        b.Lower = Clamp(number);
    } else if (key == "SFK") {
        b.Upper = Clamp(number);
    } else if (key == "SF_ATT") {
        b.Attenuator = true;
        b.AttenuatorDb = kSearchBankDepth;
    } else if (key == "SF_QATT") {
        if (layout_.holds.depth) b.AttenuatorDb = layout_.Depth(number);
    } else if (key == "SF_STEP") {
        b.Step = number;
    } else if (key == "SF_ID") {
        b.Label = layout_.CutLabel(value);
    } else if (key == "SF_MOD") {
        if (!value.empty() && kModeLetters.find(value.front()) != std::string_view::npos)
            b.Mode = value.front();
    } else if (key == "SF_QMOD") {
        if (layout_.holds.filter)
            b.Filter =
                static_cast<int32_t>(std::min<uint32_t>(number, kWidestFilter));
    } else {
        return false;
    }
    return true;
}
