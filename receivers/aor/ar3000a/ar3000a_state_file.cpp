// The AR3000A's state file "AR3000A.<port>": the head, the bank and its selected channels,
// the boxes, the 400 memory channels, then the level scale. Read at creation, it stays where
// it is until the close writes it again.

#include <algorithm>
#include <memory>
#include <string_view>

#include "receivers/aor/ar3000a/ar3000a.h"
#include "state/key_value.h"

namespace {

constexpr std::string_view kBankKey = "Банк";
constexpr const char* kPositionKeys[AR3000A::kBanks] = {"Позиция_Банк1", "Позиция_Банк2",
                                                       "Позиция_Банк3", "Позиция_Банк4"};

}  // namespace

bool AR3000A::WriteStateFile() {
    StateFileWriter file;
    WriteHead(file);
    file.Number(kBankKey, static_cast<uint32_t>(CurrentBank));
    for (int bank = 0; bank < kBanks; ++bank)
        file.Number(kPositionKeys[bank],
                    static_cast<uint32_t>(BankPositions[static_cast<std::size_t>(bank)]));
    file.Flag("Атт", fdx_->Attenuator != 0);
    file.Flag("Звук", fdx_->Sound != 0);
    file.Flag("Запись", DirectWrite);
    file.Flag("Память", WholeMemory);
    WriteChannelKeys(file, Channels, kChannelLayout);
    file.Scale(Scale);
    return file.Save(StateFilePath());
}

// Keys are taken whole ("Банк" is no "Позиция_Банк1"), and every number that picks a place
// (a bank, a channel, a step of the fine scale) is checked: a file edited by hand or written
// by another version must not reach outside the panel's tables.
bool AR3000A::ReadStateFile() {
    FDX& s = *fdx_;
    int32_t bank = CurrentBank;
    auto positions = BankPositions;
    // A flag key stands in the file only while its flag is set: every one starts off.
    bool attenuator = false, sound = false, direct = false, whole = false;
    auto channels = std::make_unique<std::array<MemoryChannel, kBanks * kChannels>>(Channels);
    ChannelKeyReader channelKeys(*channels, kChannelLayout, LowerLimit, UpperLimit);

    const auto modelKey = [&](std::string_view key, std::string_view value) {
        if (channelKeys.Take(key, value)) return;
        const uint32_t number = ReadNumberOrZero(value);
        if (key == kBankKey) {
            if (number < kBanks) bank = static_cast<int32_t>(number);
            return;
        }
        for (int b = 0; b < kBanks; ++b)
            if (key == kPositionKeys[b] && number < kChannels)
                positions[static_cast<std::size_t>(b)] = static_cast<int32_t>(number);
        if (key == "Атт") attenuator = true;
        if (key == "Звук") sound = true;
        if (key == "Запись") direct = true;
        if (key == "Память") whole = true;
    };
    if (!ReadStateFileKeys(modelKey)) return false;
    s.Attenuator = attenuator ? 1 : 0;
    s.Sound = sound ? 1 : 0;
    DirectWrite = direct;
    WholeMemory = whole;
    CurrentBank = bank;
    BankPositions = positions;
    Channels = *channels;
    return true;
}
