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
    return ReadChannelAnswer(bank, channel) == ChannelAnswer::Found;
}

AorPanel::ChannelAnswer AorPanel::ReadChannelAnswer(int bank, int channel) {
    MemoryChannel& record = ChannelAt(bank, channel);
    MemoryChannel read = record;
    const ChannelAnswer answer = ReadChannelInto(bank, channel, read, true);
    if (answer == ChannelAnswer::Empty) record.Frequency = 0;
    if (answer == ChannelAnswer::Found) record = read;
    return answer;
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

std::string AorPanel::LabelOfReply(const std::string& wire, const std::string& held) const {
    const ChannelLayout& layout = *model_.list.layout;
    return LabelReadBack(held, aor::LabelFromWire(wire), layout.labelWidth, layout.labelCharacters);
}

void AorPanel::TakeChannelReply(const AorReply& reply, int channel, char mode, int32_t filter,
                                MemoryChannel& out) const {
    const uint32_t frequency = std::clamp(reply.Frequency, LowerLimit, UpperLimit);
    out.Label = LabelOfReply(reply.Label, HeldLabel(out, frequency));
    out.Frequency = frequency;
    out.Step = reply.Step;
    out.Modulation = mode;
    out.Filter = filter;
    out.Attenuator = reply.Attenuator;
    out.AttenuatorDb = reply.AttenuatorDb;
    out.Skip = reply.Skip;
    out.Number = channel;
}

AorSearchBank AorPanel::SearchBankOf(const AorReply& reply, char mode, int32_t filter,
                                     const AorSearchBank& panels) const {
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
    // The panel's label stays only with the limits it went to the set with.
    const bool same = !panels.Empty() && panels.Lower == bank.Lower && panels.Upper == bank.Upper;
    bank.Label = LabelOfReply(reply.Label, same ? panels.Label : std::string());
    return bank;
}

// ---------------------------------------------------------------------------------------
// The walk of a transfer

bool AorPanel::Unwritten::HoldsChannel(int bank, int channel) const {
    const std::pair place{bank, channel};
    return std::find(channels.begin(), channels.end(), place) != channels.end() ||
           std::find(channelsLeft.begin(), channelsLeft.end(), place) != channelsLeft.end();
}

bool AorPanel::Unwritten::HoldsSearchBank(int bank) const {
    return std::find(searchBanks.begin(), searchBanks.end(), bank) != searchBanks.end() ||
           std::find(searchBanksLeft.begin(), searchBanksLeft.end(), bank) != searchBanksLeft.end();
}

bool AorPanel::WritesEmptyChannels() const {
    return model_.memory.emptyChannels == AorMemoryRules::EmptyChannels::ClearedOnReceiver;
}

// An empty channel is cleared on the receiver where the model's write does so, else left. A
// clear that does not get there leaves the receiver's channel where the panel has none: it is
// told as a channel not written.
void AorPanel::WriteBankChannels(int bank, Unwritten& unwritten) {
    for (int channel = 0; channel < BankSize(); ++channel) {
        const bool empty = ChannelAt(bank, channel).Empty();
        if (empty && !WritesEmptyChannels())
            unwritten.channelsLeft.emplace_back(bank, channel);
        else if (!(empty ? ClearChannelOnReceiver(bank, channel) : WriteChannel(bank, channel)))
            unwritten.channels.emplace_back(bank, channel);
    }
}

// A bank whose probe goes unanswered ends the walk there: it and everything after it is left
// as the panel has it. A bank the receiver does not take has none of its channels written
// (nor cleared); empty search banks are never written.
bool AorPanel::WalkWrite(std::span<const int> banks, std::span<const int> searchBanks,
                         Unwritten& unwritten) {
    for (std::size_t i = 0; i < banks.size(); ++i) {
        if (!Answers()) {
            for (const int bank : banks.subspan(i))
                for (int channel = 0; channel < BankSize(); ++channel)
                    unwritten.channelsLeft.emplace_back(bank, channel);
            unwritten.searchBanksLeft.assign(searchBanks.begin(), searchBanks.end());
            return false;
        }
        if (i == 0) MemoryWalkStarts();
        if (SelectBankForWalk(banks[i])) {
            WriteBankChannels(banks[i], unwritten);
            continue;
        }
        for (int channel = 0; channel < BankSize(); ++channel)
            (ChannelAt(banks[i], channel).Empty() && !WritesEmptyChannels() ? unwritten.channelsLeft
                                                                            : unwritten.channels)
                .emplace_back(banks[i], channel);
    }
    for (const int bank : searchBanks) {
        if (SearchBanks[static_cast<std::size_t>(bank)].Empty())
            unwritten.searchBanksLeft.push_back(bank);
        else if (!SendSearchBank(bank))
            unwritten.searchBanks.push_back(bank);
    }
    return true;
}

// A read asks the set's level where the model's read does (AorMemoryRules::ReadProbes) and
// after any channel or search bank whose answer did not come (or was refused, or was not its
// own): a set that answers that probe lost the one reply, and the place keeps what the panel
// had and is counted; one that does not is lost, and the read ends there, told once (by the
// transfer), what was not read yet left as the panel has it. A bank the receiver does not
// take leaves its channels so, counted. A model that reads bank i with search bank i takes
// them in pairs; search banks beyond the banks come last.
bool AorPanel::WalkRead(bool whole, std::span<const int> banks, std::span<const int> searchBanks,
                        Unread& unread) {
    const bool paired = model_.memory.readOrder == AorMemoryRules::ReadOrder::BankWithItsSearchBank;
    const bool eachChannel =
        whole && model_.memory.readProbes == AorMemoryRules::ReadProbes::EachBankAndChannel;
    const auto readSearchBank = [&](int bank) {
        if (ReadSearchBank(bank)) return true;
        if (!Answers()) return false;
        unread.SearchBank(bank);
        return true;
    };
    std::size_t searchWalked = 0;
    for (std::size_t i = 0; i < banks.size(); ++i) {
        const int bank = banks[i];
        const bool probed = i == 0 || model_.memory.readProbes != AorMemoryRules::ReadProbes::Once;
        if (probed && !Answers()) return false;
        if (i == 0) MemoryWalkStarts();
        if (!SelectBankForWalk(bank)) {
            if (!Answers()) return false;
            for (int channel = 0; channel < BankSize(); ++channel) unread.Channel(bank, channel);
        } else {
            for (int channel = 0; channel < BankSize(); ++channel) {
                if (eachChannel && !Answers()) return false;
                if (ReadChannelAnswer(bank, channel) != ChannelAnswer::None) continue;
                if (!Answers()) return false;
                unread.Channel(bank, channel);
            }
        }
        if (paired && searchWalked < searchBanks.size() &&
            !readSearchBank(searchBanks[searchWalked++]))
            return false;
    }
    for (; searchWalked < searchBanks.size(); ++searchWalked)
        if (!readSearchBank(searchBanks[searchWalked])) return false;
    return true;
}

void AorPanel::TellUnread(const Unread& unread) {
    if (unread.channel)
        TellNotRead(unread.count, BankName(unread.channel->first), unread.channel->second);
    else if (unread.searchBank)
        TellSearchBankNotRead(unread.count, SearchBankName(*unread.searchBank));
}

void AorPanel::ReadCurrentBank() {
    Unread unread;
    const bool answered = Transfer(Format("Чтение банка N %d", CurrentBank), [&] {
        if (lv_1) lv_1->Clear();
        const int bank[] = {CurrentBank};
        const int search[] = {CurrentSearchBank};
        const bool walked = WalkRead(
            false, bank, std::span(search, model_.currentReadTakesSearchBank ? 1 : 0), unread);
        if (walked) MemoryWalkEnded(false);
        ShowBankList();
        ShowSearchBank();
        return walked;
    });
    if (answered) TellUnread(unread);
}

void AorPanel::ReadAllBanks() {
    Unread unread;
    const bool answered = Transfer("Чтение банков приемника", [&] {
        if (lv_1) lv_1->Clear();
        const bool walked =
            WalkRead(true, Numbers(model_.banks), Numbers(model_.searchBanks), unread);
        if (walked) MemoryWalkEnded(true);
        ShowBankList();
        ShowSearchBank();
        return walked;
    });
    if (answered) TellUnread(unread);
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
        const bool walked = WalkWrite(banks, searchBanks, unwritten);
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
            // A depth other than the one "SF_ATT=+" reads as alone.
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
