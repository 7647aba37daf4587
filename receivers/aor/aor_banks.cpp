// The AOR panels' copy of the receiver's memory: read from the receiver and written into it
// in one walk, cleared, filled from the receiver's current settings, and kept in the state
// file.

#include <algorithm>
#include <numeric>

#include "receivers/aor/aor_panel.h"
#include "state/key_value.h"

namespace {

using aor::Format;

constexpr std::string_view kModeLetters = "FWALUCR";

std::vector<int> Numbers(int count) {
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 0);
    return numbers;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// One channel, one search bank

bool AorPanel::ReadChannel(int bank, int channel) {
    MemoryChannel& record = ChannelAt(bank, channel);
    if (ReadChannelInto(bank, channel, record, true) == ChannelAnswer::Found) return true;
    record.Frequency = 0;
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

// ---------------------------------------------------------------------------------------
// The walk of a transfer

void AorPanel::WriteBankChannels(int bank) {
    for (int channel = 0; channel < BankSize(); ++channel) {
        if (ChannelAt(bank, channel).Empty())
            ClearChannelOnReceiver(bank, channel);
        else
            WriteChannel(bank, channel);
    }
}

// A bank whose probe goes unanswered ends the walk there; empty search banks are not
// written.
bool AorPanel::WalkBanks(bool write, std::span<const int> banks, std::span<const int> searchBanks) {
    for (std::size_t i = 0; i < banks.size(); ++i) {
        if (!Answers()) return false;
        if (i == 0) MemoryWalkStarts();
        if (!SelectBankForWalk(banks[i])) continue;
        if (write) {
            WriteBankChannels(banks[i]);
        } else {
            for (int channel = 0; channel < BankSize(); ++channel) ReadChannel(banks[i], channel);
        }
    }
    for (const int bank : searchBanks) {
        if (!write)
            ReadSearchBank(bank);
        else if (!SearchBanks[static_cast<std::size_t>(bank)].Empty())
            SendSearchBank(bank);
    }
    return true;
}

void AorPanel::ReadCurrentBank() {
    Transfer(Format("Чтение банка N %d", CurrentBank), [this] {
        if (Controls.list) Controls.list->Clear();
        const int bank[] = {CurrentBank};
        const int search[] = {CurrentSearchBank};
        const bool answered =
            WalkBanks(false, bank, std::span(search, model_.currentReadTakesSearchBank ? 1 : 0));
        if (answered) MemoryWalkEnded(false);
        ShowBankList();
        ShowSearchBank();
        return answered;
    });
}

void AorPanel::ReadAllBanks() {
    Transfer("Чтение банков приемника", [this] {
        if (Controls.list) Controls.list->Clear();
        const bool answered = WalkBanks(false, Numbers(model_.banks), Numbers(model_.searchBanks));
        if (answered) MemoryWalkEnded(true);
        ShowBankList();
        ShowSearchBank();
        return answered;
    });
}

void AorPanel::WriteCurrentBank() {
    Transfer(Format("Запись банка N %d", CurrentBank), [this] {
        const int bank[] = {CurrentBank};
        const int search[] = {CurrentSearchBank};
        const bool answered =
            WalkBanks(true, bank, std::span(search, model_.currentWriteTakesSearchBank ? 1 : 0));
        if (answered) MemoryWalkEnded(true);
        return answered;
    });
}

void AorPanel::WriteAllBanks() {
    Transfer("Запись банков приемника", [this] {
        const bool answered = WalkBanks(true, Numbers(model_.banks), Numbers(model_.searchBanks));
        if (answered) MemoryWalkEnded(true);
        return answered;
    });
}

// ---------------------------------------------------------------------------------------
// The panel's own copy

void AorPanel::StoreCurrentSettings() {
    const FDX& s = *fdx_;
    MemoryChannel& record = ChannelAt(CurrentBank, SelectedChannel());
    record.Frequency = std::clamp(s.Frequency, LowerLimit, UpperLimit);
    record.Step = s.Step;
    record.Modulation = s.Modulation;
    record.Filter = s.Filter;
    record.Attenuator = s.Attenuator != 0;
    record.AttenuatorDb = s.AttenuatorDb;
    record.Level = std::max(s.Level, 0);
    ShowBankList();
}

void AorPanel::ClearBanks() {
    const auto clearBank = [this](int bank) {
        if (DirectWrite) ClearBankOnReceiver(bank);
        for (int channel = 0; channel < BankSize(); ++channel)
            ChannelAt(bank, channel) = model_.layout->Empty(channel);
    };
    if (WholeMemory) {
        for (int bank = 0; bank < model_.banks; ++bank) clearBank(bank);
        for (int bank = 0; bank < model_.searchBanks; ++bank) {
            if (DirectWrite) ClearSearchBankOnReceiver(bank);
            SearchBanks[static_cast<std::size_t>(bank)] = {};
        }
    } else {
        clearBank(CurrentBank);
    }
    BankPositions[static_cast<std::size_t>(CurrentBank)] = 0;
    ShowBankList();
    ShowSearchBank();
}

std::span<MemoryChannel> AorPanel::CurrentBankChannels() {
    return std::span(Channels).subspan(Index(CurrentBank, 0), model_.layout->bankSize);
}

int32_t AorPanel::SelectedChannel() const {
    return std::clamp(BankPositions[static_cast<std::size_t>(CurrentBank)], 0, BankSize() - 1);
}

// ---------------------------------------------------------------------------------------
// The state file's memory part: the channels, the level scale's count, then per search bank
// "Банк_поиска" and its keys.

void AorPanel::WriteMemoryKeys(StateFileWriter& file) const {
    WriteChannelKeys(file, Channels, *model_.layout);
    file.ScaleCount(Scale);
    for (std::size_t bank = 0; bank < SearchBanks.size(); ++bank) {
        const AorSearchBank& record = SearchBanks[bank];
        file.Number("Банк_поиска", static_cast<uint32_t>(bank));
        file.Number("SFN", record.Lower);
        file.Number("SFK", record.Upper);
        if (record.Attenuator) file.Text("SF_ATT", "+");
        file.Number("SF_STEP", record.Step);
        file.Text("SF_ID", record.Label);
        file.Text("SF_MOD", std::string(1, record.Mode));
    }
}

AorMemoryKeys::AorMemoryKeys(const AorPanel& panel)
    : channels(panel.Channels),
      searchBanks(panel.SearchBanks),
      reader_(channels, *panel.model_.layout, panel.LowerLimit, panel.UpperLimit),
      lower_(panel.LowerLimit),
      upper_(panel.UpperLimit) {}

uint32_t AorMemoryKeys::Clamp(uint32_t frequency) const {
    return frequency == 0 ? 0 : std::clamp(frequency, lower_, upper_);
}

bool AorMemoryKeys::Take(std::string_view key, std::string_view value) {
    if (reader_.Take(key, value)) return true;
    const uint32_t number = ReadU32(value);
    if (key == "Банк_поиска") {
        searchBank_ = number < searchBanks.size() ? static_cast<int64_t>(number) : -1;
        if (searchBank_ >= 0) searchBanks[static_cast<std::size_t>(searchBank_)] = {};
        return true;
    }
    if (!key.starts_with("SF")) return false;
    if (searchBank_ < 0) return true;
    AorSearchBank& b = searchBanks[static_cast<std::size_t>(searchBank_)];
    if (key == "SFN") {
        b.Lower = Clamp(number);
    } else if (key == "SFK") {
        b.Upper = Clamp(number);
    } else if (key == "SF_ATT") {
        b.Attenuator = true;
        b.AttenuatorDb = 10;
    } else if (key == "SF_STEP") {
        b.Step = number;
    } else if (key == "SF_ID") {
        b.Label = value;
    } else if (key == "SF_MOD") {
        if (!value.empty() && kModeLetters.find(value.front()) != std::string_view::npos)
            b.Mode = value.front();
    } else {
        return false;
    }
    return true;
}
