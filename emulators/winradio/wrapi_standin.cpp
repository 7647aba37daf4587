#include "emulators/winradio/wrapi_standin.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/common/signal_plan.h"

namespace {

struct Model {
    uint16_t code;
    uint32_t features;
    uint32_t lowerLimitHz;
    uint32_t upperLimitHz;
    uint32_t resolutionHz;
    uint32_t ifShiftLimitHz;
};
constexpr Model kModels[] = {
    {kWr1000, 0, 500'000, 1'300'000'000, 100, 0},
    {kWr1000Late, 0, 500'000, 1'300'000'000, 100, 0},
    {kWr1500, kWrapiHasSsb, 150'000, 1'500'000'000, 1, 0},
    {kWr3000i, kWrapiHasSsb | kWrapiHasIfShift, 150'000, 1'500'000'000, 1, 2000},
    {kWr3100, kWrapiHasSsb | kWrapiHasIfShift, 150'000, 1'500'000'000, 1, 2000},
};
constexpr uint16_t kDefaultCards[] = {kWr3100, kWr1000};
constexpr uint32_t kFirstPort = 0x180;
constexpr uint32_t kPortSpacing = 0x10;
constexpr uint32_t kMaxVolume = 31;
constexpr uint32_t kBfoLimitHz = 3000;
constexpr uint32_t kFmSettleRate = 50;
constexpr uint32_t kOtherSettleRate = 20;
constexpr int32_t kFirstHandle = 100;
constexpr int kMaxStrength = 120;

constexpr int32_t kLsb = 4;
constexpr int32_t kUsb = 5;
constexpr const char* kModeNames[] = {"CW", "AM", "FM", "WFM", "LSB", "USB"};

constexpr const char* kEntries[] = {
    "OpenRadioDevice",   "CloseRadioDevice", "GetRadioDeviceInfo",
    "GetModeStringA",    "SetPower",         "SetFrequency",
    "SetMode",           "SetVolume",        "SetAtten",
    "SetMute",           "SetBFOOffset",     "SetScanMode",
    "GetSignalStrength", "GetFrequency",     "GetMode",
    "GetVolume",         "GetAtten",         "GetMute",
    "GetBFOOffset",      "GetScanMode",      "GetPower",
#ifndef WRAPI_STANDIN_WITHOUT_IF_SHIFT
    "SetIFShift",        "GetIFShift",
#endif
};

// The library has an entry point of that name.
bool Known(std::string_view entry) {
    return std::any_of(std::begin(kEntries), std::end(kEntries),
                       [&](const char* name) { return entry == name; });
}

const Model* FindModel(uint16_t code) {
    for (const Model& model : kModels)
        if (model.code == code) return &model;
    return nullptr;
}

struct Card {
    const Model* model;
    uint32_t deviceNumber;
    uint32_t ioPort;
    // The model's, unless a test describes the card otherwise.
    uint32_t lowerLimitHz = model->lowerLimitHz;
    uint32_t upperLimitHz = model->upperLimitHz;
    uint32_t fmSettleRate = kFmSettleRate;
    uint32_t otherSettleRate = kOtherSettleRate;
    int32_t handle = 0;  // 0 while closed
    bool power = false;
    uint32_t frequencyHz = 72'900'000;
    int32_t mode = 3;
    int32_t volume = 0;
    bool attenuator = false;
    bool mute = false;
    bool scanMode = false;
    int32_t bfoOffsetHz = 0;
    int32_t ifShiftHz = 0;

    bool HasSsb() const { return (model->features & kWrapiHasSsb) != 0; }
    bool HasMode(int32_t code) const {
        return code >= 0 && code <= kUsb && (HasSsb() || (code != kLsb && code != kUsb));
    }
};

// Everything the library holds, behind one lock: the program calls from its user-interface
// thread, but a test may call from anywhere.
struct Standin {
    Standin() {
        Reset();
        FailFromTheStart();
    }

    // WRAPI_STANDIN_FAIL: the entry points (by their names, comma-separated) that fail from the
    // start, for trying a failing card with the program itself.
    void FailFromTheStart() {
        const char* named = std::getenv("WRAPI_STANDIN_FAIL");
        if (!named) return;
        const std::string_view names(named);
        for (size_t at = 0; at <= names.size();) {
            const size_t comma = std::min(names.find(',', at), names.size());
            const std::string_view name = names.substr(at, comma - at);
            if (Known(name)) failing.insert(std::string(name));
            at = comma + 1;
        }
    }

    void Reset() {
        cards.clear();
        PutCards(kDefaultCards, std::size(kDefaultCards));
        plan = emulators::DefaultSignalPlan();
        failing.clear();
        calls.clear();
        nextHandle = kFirstHandle;
    }

    void PutCards(const uint16_t* models, size_t count) {
        cards.clear();
        for (size_t i = 0; i < count; ++i)
            cards.push_back(Card{FindModel(models[i]), static_cast<uint32_t>(i + 1),
                                 kFirstPort + kPortSpacing * static_cast<uint32_t>(i)});
    }

    // Runs an entry point: its body unless it is made to fail, then logs the call.
    template <typename Result, typename Body>
    Result Call(const char* name, const std::string& arguments, Result failure, Body body) {
        const Result result = failing.contains(name) ? failure : body();
        calls += std::string(name) + "(" + arguments + ") = " + std::to_string(result) + "\n";
        return result;
    }

    // The same for an entry point on an open card: fails for any other handle.
    template <typename Result, typename Body>
    Result OnCard(const char* name, int32_t handle, const std::string& more, Result failure,
                  Body body) {
        const std::string arguments = std::to_string(handle) + (more.empty() ? "" : ", " + more);
        return Call(name, arguments, failure, [&]() -> Result {
            Card* card = Find(handle);
            return card ? body(*card) : failure;
        });
    }

    // Card n, numbered from 1; null when there is none.
    Card* Numbered(int32_t n) {
        return n >= 1 && n <= static_cast<int32_t>(cards.size())
                   ? &cards[static_cast<size_t>(n - 1)]
                   : nullptr;
    }

    Card* Find(int32_t handle) {
        if (handle == 0) return nullptr;
        for (Card& card : cards)
            if (card.handle == handle) return &card;
        return nullptr;
    }

    int32_t Open(uint16_t device) {
        for (Card& card : cards) {
            const bool wanted = device == 0 || device == card.deviceNumber || device == card.ioPort;
            if (!wanted) continue;
            if (card.handle != 0) {
                if (device == 0) continue;
                return 0;
            }
            card.handle = nextHandle++;
            return card.handle;
        }
        return 0;
    }

    int Strength(const Card& card) const {
        return plan.LevelAt(card.frequencyHz) * kMaxStrength / 255;
    }

    std::mutex mutex;
    std::vector<Card> cards;
    emulators::SignalPlan plan;
    std::set<std::string, std::less<>> failing;
    std::string calls;
    std::string handedOut;  // what StandinLog last handed out
    int32_t nextHandle = kFirstHandle;
};

Standin& Library() {
    static Standin standin;
    return standin;
}

std::string Text(int64_t value) {
    return std::to_string(value);
}

int32_t Flag(bool on) {
    return on ? 1 : 0;
}

}  // namespace

WRAPI_ENTRY int32_t OpenRadioDevice(uint16_t device) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.Call("OpenRadioDevice", Text(device), 0, [&] { return s.Open(device); });
}

WRAPI_ENTRY int32_t CloseRadioDevice(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("CloseRadioDevice", handle, "", 0, [](Card& card) {
        card.handle = 0;
        return 1;
    });
}

WRAPI_ENTRY int32_t GetRadioDeviceInfo(int32_t handle, WrapiRadioInfo* info) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    const std::string size = info ? "size " + Text(info->size) : "null";
    return s.OnCard("GetRadioDeviceInfo", handle, size, 0, [&](Card& card) {
        if (!info || info->size != sizeof(WrapiRadioInfo)) return 0;
        WrapiRadioInfo filled{};
        filled.size = sizeof(WrapiRadioInfo);
        filled.features = card.model->features;
        filled.interfaceVersion = 0x0100;
        filled.model = card.model->code;
        filled.lowerLimitHz = card.lowerLimitHz;
        filled.upperLimitHz = card.upperLimitHz;
        filled.resolutionHz = card.model->resolutionHz;
        filled.modeCount = card.HasSsb() ? 6 : 4;
        filled.maxVolume = kMaxVolume;
        filled.bfoLimitHz = kBfoLimitHz;
        filled.fmSettleRate = card.fmSettleRate;
        filled.otherSettleRate = card.otherSettleRate;
        filled.ioPort = card.ioPort;
        filled.deviceNumber = card.deviceNumber;
        filled.ifShiftLimitHz = card.model->ifShiftLimitHz;
        *info = filled;
        return 1;
    });
}

WRAPI_ENTRY int32_t GetModeStringA(int32_t handle, int32_t mode, char* text, int32_t size) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetModeStringA", handle, Text(mode) + ", size " + Text(size), 0,
                    [&](Card& card) {
                        if (!card.HasMode(mode) || !text) return 0;
                        const std::string_view name = kModeNames[mode];
                        if (size < static_cast<int32_t>(name.size()) + 1) return 0;
                        std::memcpy(text, name.data(), name.size());
                        text[name.size()] = '\0';
                        return static_cast<int32_t>(name.size());
                    });
}

WRAPI_ENTRY int32_t SetPower(int32_t handle, int32_t on) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("SetPower", handle, Text(on), 0, [&](Card& card) {
        card.power = on != 0;
        return 1;
    });
}

WRAPI_ENTRY int32_t SetFrequency(int32_t handle, uint32_t hz) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("SetFrequency", handle, Text(hz), 0, [&](Card& card) {
        if (!card.power || hz < card.lowerLimitHz || hz > card.upperLimitHz) return 0;
        card.frequencyHz = hz - hz % card.model->resolutionHz;
        return 1;
    });
}

WRAPI_ENTRY int32_t SetMode(int32_t handle, int32_t mode) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("SetMode", handle, Text(mode), 0, [&](Card& card) {
        if (!card.power || !card.HasMode(mode)) return 0;
        card.mode = mode;
        return 1;
    });
}

WRAPI_ENTRY int32_t SetVolume(int32_t handle, int32_t volume) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("SetVolume", handle, Text(volume), 0, [&](Card& card) {
        if (volume < 0 || volume > static_cast<int32_t>(kMaxVolume)) return 0;
        card.volume = volume;
        return 1;
    });
}

WRAPI_ENTRY int32_t SetAtten(int32_t handle, int32_t on) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("SetAtten", handle, Text(on), 0, [&](Card& card) {
        card.attenuator = on != 0;
        return 1;
    });
}

WRAPI_ENTRY int32_t SetMute(int32_t handle, int32_t on) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("SetMute", handle, Text(on), 0, [&](Card& card) {
        card.mute = on != 0;
        return 1;
    });
}

WRAPI_ENTRY int32_t SetBFOOffset(int32_t handle, int32_t hz) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("SetBFOOffset", handle, Text(hz), 0, [&](Card& card) {
        if (std::abs(hz) > static_cast<int32_t>(kBfoLimitHz)) return 0;
        card.bfoOffsetHz = hz;
        return 1;
    });
}

WRAPI_ENTRY int32_t SetScanMode(int32_t handle, int32_t on) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("SetScanMode", handle, Text(on), 0, [&](Card& card) {
        card.scanMode = on != 0;
        return 1;
    });
}

WRAPI_ENTRY int32_t GetSignalStrength(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetSignalStrength", handle, "", -1,
                    [&](Card& card) { return card.power ? s.Strength(card) : -1; });
}

WRAPI_ENTRY uint32_t GetFrequency(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetFrequency", handle, "", 0xFFFF'FFFFu,
                    [](Card& card) { return card.frequencyHz; });
}

WRAPI_ENTRY int32_t GetMode(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetMode", handle, "", -1, [](Card& card) { return card.mode; });
}

WRAPI_ENTRY int32_t GetVolume(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetVolume", handle, "", -1, [](Card& card) { return card.volume; });
}

WRAPI_ENTRY int32_t GetAtten(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetAtten", handle, "", 0, [](Card& card) { return Flag(card.attenuator); });
}

WRAPI_ENTRY int32_t GetMute(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetMute", handle, "", 0, [](Card& card) { return Flag(card.mute); });
}

WRAPI_ENTRY int32_t GetBFOOffset(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetBFOOffset", handle, "", 0, [](Card& card) { return card.bfoOffsetHz; });
}

WRAPI_ENTRY int32_t GetScanMode(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetScanMode", handle, "", 0, [](Card& card) { return Flag(card.scanMode); });
}

WRAPI_ENTRY int32_t GetPower(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetPower", handle, "", 0, [](Card& card) { return Flag(card.power); });
}

#ifndef WRAPI_STANDIN_WITHOUT_IF_SHIFT
WRAPI_ENTRY int32_t SetIFShift(int32_t handle, int32_t hz) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("SetIFShift", handle, Text(hz), 0, [&](Card& card) {
        if ((card.model->features & kWrapiHasIfShift) == 0 ||
            std::abs(hz) > static_cast<int32_t>(card.model->ifShiftLimitHz))
            return 0;
        card.ifShiftHz = hz;
        return 1;
    });
}

WRAPI_ENTRY int32_t GetIFShift(int32_t handle) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    return s.OnCard("GetIFShift", handle, "", 0, [](Card& card) { return card.ifShiftHz; });
}
#endif

WRAPI_ENTRY const char* StandinLog() {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    s.handedOut = s.calls;
    return s.handedOut.c_str();
}

WRAPI_ENTRY void StandinClearLog() {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    s.calls.clear();
}

WRAPI_ENTRY void StandinReset() {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    s.Reset();
}

WRAPI_ENTRY int32_t StandinFail(const char* entry) {
    if (!entry || !Known(entry)) return 0;
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    s.failing.insert(entry);
    return 1;
}

WRAPI_ENTRY int32_t StandinRecover(const char* entry) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    if (!entry) {
        const bool any = !s.failing.empty();
        s.failing.clear();
        return any ? 1 : 0;
    }
    return s.failing.erase(std::string(entry)) > 0 ? 1 : 0;
}

WRAPI_ENTRY int32_t StandinSetCards(const uint16_t* models, int32_t count) {
    if (count < 0 || (count > 0 && !models)) return 0;
    for (int32_t i = 0; i < count; ++i)
        if (!FindModel(models[i])) return 0;
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    s.PutCards(models, static_cast<size_t>(count));
    return 1;
}

WRAPI_ENTRY void StandinSetNoiseFloor(int32_t level) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    s.plan = emulators::SignalPlan{std::clamp(level, 0, 255), {}};
}

WRAPI_ENTRY void StandinAddSignal(uint32_t hz, int32_t peakLevel, uint32_t widthHz) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    s.plan.signals.push_back(emulators::Signal{hz, std::clamp(peakLevel, 0, 255), widthHz});
}

WRAPI_ENTRY int32_t StandinSetLimits(int32_t card, uint32_t lowerHz, uint32_t upperHz) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    Card* found = s.Numbered(card);
    if (!found) return 0;
    found->lowerLimitHz = lowerHz;
    found->upperLimitHz = upperHz;
    return 1;
}

WRAPI_ENTRY int32_t StandinSetSettleRates(int32_t card, uint32_t fmRate, uint32_t otherRate) {
    Standin& s = Library();
    std::lock_guard lock(s.mutex);
    Card* found = s.Numbered(card);
    if (!found) return 0;
    found->fmSettleRate = fmRate;
    found->otherSettleRate = otherRate;
    return 1;
}
