// The WiNRADiO stand-in as the program meets it: loaded at run time, its entry points found
// by name. Nothing here links against it.

#include <dlfcn.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "emulators/winradio/wrapi_standin.h"

namespace {

// The vendor's entry points, in the order the program resolves them.
constexpr const char* kEntryPoints[] = {
    "OpenRadioDevice",   "CloseRadioDevice", "GetRadioDeviceInfo",
    "GetModeStringA",    "SetPower",         "SetFrequency",
    "SetMode",           "SetVolume",        "SetAtten",
    "SetMute",           "SetBFOOffset",     "SetScanMode",
    "GetSignalStrength", "GetFrequency",     "GetMode",
    "GetVolume",         "GetAtten",         "GetMute",
    "GetBFOOffset",      "GetScanMode",      "GetPower",
    "SetIFShift",        "GetIFShift",
};

void* Standin() {
    static void* const module = ::dlopen(ORVEL_WRAPI_STANDIN_FILE, RTLD_NOW | RTLD_LOCAL);
    return module;
}

template <typename Function>
Function Resolve(const char* name) {
    void* address = Standin() ? ::dlsym(Standin(), name) : nullptr;
    if (!address) throw std::runtime_error(std::string("no entry point ") + name);
    return reinterpret_cast<Function>(address);
}

// The entry point `name` of the loaded library, typed by its declaration.
#define WRAPI(name) Resolve<decltype(&::name)>(#name)

class WinradioStandin : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Standin(), nullptr) << ::dlerror();
        WRAPI(StandinReset)();
    }
    // Opens the next free card and switches it on.
    int32_t OpenSwitchedOn() {
        const int32_t handle = WRAPI(OpenRadioDevice)(0);
        EXPECT_EQ(WRAPI(SetPower)(handle, 1), 1);
        return handle;
    }
    static std::string Log() { return WRAPI(StandinLog)(); }
};

TEST_F(WinradioStandin, ExportsTheVendorsEntryPointsAndTheOldReleaseLacksIfShift) {
    void* old = ::dlopen(ORVEL_WRAPI_STANDIN_OLD_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(old, nullptr) << ::dlerror();
    for (const char* name : kEntryPoints) {
        EXPECT_NE(::dlsym(Standin(), name), nullptr) << name;
        const bool ifShift = std::string_view(name).ends_with("IFShift");
        EXPECT_EQ(::dlsym(old, name) != nullptr, !ifShift) << name;
    }
    // The emulators' code linked into the library stays inside it.
    EXPECT_EQ(::dlsym(Standin(), "_ZNK9emulators10SignalPlan7LevelAtEm"), nullptr);
}

TEST_F(WinradioStandin, OpensEachCardOnceByNumberOrPortWithAFreshHandle) {
    const int32_t first = WRAPI(OpenRadioDevice)(0);
    const int32_t second = WRAPI(OpenRadioDevice)(0);
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(WRAPI(OpenRadioDevice)(0), 0);  // both open
    EXPECT_EQ(WRAPI(OpenRadioDevice)(1), 0);
    EXPECT_EQ(WRAPI(CloseRadioDevice)(first), 1);
    const int32_t again = WRAPI(OpenRadioDevice)(0x180);  // card 1 by its port
    EXPECT_NE(again, 0);
    EXPECT_NE(again, first);
    EXPECT_EQ(WRAPI(GetPower)(first), 0);
    EXPECT_EQ(WRAPI(CloseRadioDevice)(first), 0);
    EXPECT_EQ(WRAPI(OpenRadioDevice)(3), 0);
    EXPECT_EQ(WRAPI(OpenRadioDevice)(0x1A0), 0);
}

TEST_F(WinradioStandin, DescribesEachCardWithItsLimitsInHz) {
    WrapiRadioInfo info{};
    info.size = sizeof info;
    ASSERT_EQ(WRAPI(GetRadioDeviceInfo)(WRAPI(OpenRadioDevice)(1), &info), 1);
    EXPECT_EQ(info.model, kWr3100);
    EXPECT_EQ(info.features, kWrapiHasSsb | kWrapiHasIfShift);
    EXPECT_EQ(info.lowerLimitHz, 150'000u);
    EXPECT_EQ(info.upperLimitHz, 1'500'000'000u);
    EXPECT_EQ(info.ifShiftLimitHz, 2000u);
    EXPECT_GT(info.fmSettleRate, 0u);
    EXPECT_GT(info.otherSettleRate, 0u);

    const uint16_t models[] = {kWr1500};
    ASSERT_EQ(WRAPI(StandinSetCards)(models, 1), 1);
    const int32_t wr1500 = WRAPI(OpenRadioDevice)(0);
    info = WrapiRadioInfo{};
    info.size = sizeof info;
    ASSERT_EQ(WRAPI(GetRadioDeviceInfo)(wr1500, &info), 1);
    EXPECT_EQ(info.model, kWr1500);
    EXPECT_EQ(info.features, kWrapiHasSsb);
    EXPECT_EQ(info.ifShiftLimitHz, 0u);
    info.size = sizeof info - 4;
    EXPECT_EQ(WRAPI(GetRadioDeviceInfo)(wr1500, &info), 0);
    const uint16_t unknown[] = {0x999};
    EXPECT_EQ(WRAPI(StandinSetCards)(unknown, 1), 0);
}

TEST_F(WinradioStandin, TunesOnlyWhileSwitchedOnAndWithinTheCardsLimits) {
    const int32_t card = WRAPI(OpenRadioDevice)(0);
    EXPECT_EQ(WRAPI(SetFrequency)(card, 145'500'000), 0);
    EXPECT_EQ(WRAPI(SetMode)(card, 1), 0);
    EXPECT_EQ(WRAPI(SetPower)(card, 1), 1);
    EXPECT_EQ(WRAPI(GetPower)(card), 1);
    EXPECT_EQ(WRAPI(SetFrequency)(card, 145'500'000), 1);
    EXPECT_EQ(WRAPI(SetFrequency)(card, 149'999), 0);
    EXPECT_EQ(WRAPI(SetFrequency)(card, 1'500'000'001), 0);
    EXPECT_EQ(WRAPI(GetFrequency)(card), 145'500'000u);
    // The WR-1000 tunes in 100 Hz steps, from 500 kHz.
    const int32_t wr1000 = OpenSwitchedOn();
    EXPECT_EQ(WRAPI(SetFrequency)(wr1000, 499'999), 0);
    EXPECT_EQ(WRAPI(SetFrequency)(wr1000, 145'500'050), 1);
    EXPECT_EQ(WRAPI(GetFrequency)(wr1000), 145'500'000u);
}

TEST_F(WinradioStandin, TakesSsbModesOnlyOnCardsThatHaveThem) {
    const int32_t withSsb = OpenSwitchedOn();
    const int32_t without = OpenSwitchedOn();
    EXPECT_EQ(WRAPI(SetMode)(withSsb, 5), 1);
    EXPECT_EQ(WRAPI(GetMode)(withSsb), 5);
    EXPECT_EQ(WRAPI(SetMode)(without, 4), 0);
    EXPECT_EQ(WRAPI(SetMode)(without, 0), 1);
    EXPECT_EQ(WRAPI(SetMode)(without, 6), 0);
    EXPECT_EQ(WRAPI(GetMode)(without), 0);
    char name[8];
    EXPECT_EQ(WRAPI(GetModeStringA)(withSsb, 4, name, sizeof name), 3);
    EXPECT_STREQ(name, "LSB");
    EXPECT_EQ(WRAPI(GetModeStringA)(without, 4, name, sizeof name), 0);
    EXPECT_EQ(WRAPI(GetModeStringA)(withSsb, 3, name, 3), 0);  // "WFM" and its terminator
}

TEST_F(WinradioStandin, KeepsSettingsWithinTheirLimitsWhateverThePower) {
    const int32_t card = WRAPI(OpenRadioDevice)(0);  // off
    EXPECT_EQ(WRAPI(SetVolume)(card, 31), 1);
    EXPECT_EQ(WRAPI(SetVolume)(card, 32), 0);
    EXPECT_EQ(WRAPI(GetVolume)(card), 31);
    EXPECT_EQ(WRAPI(SetIFShift)(card, -2000), 1);
    EXPECT_EQ(WRAPI(SetIFShift)(card, 2001), 0);
    EXPECT_EQ(WRAPI(GetIFShift)(card), -2000);
    EXPECT_EQ(WRAPI(SetBFOOffset)(card, 3000), 1);
    EXPECT_EQ(WRAPI(SetBFOOffset)(card, -3001), 0);
    EXPECT_EQ(WRAPI(GetBFOOffset)(card), 3000);
    for (const auto& [set, get] :
         {std::pair{WRAPI(SetAtten), WRAPI(GetAtten)}, std::pair{WRAPI(SetMute), WRAPI(GetMute)},
          std::pair{WRAPI(SetScanMode), WRAPI(GetScanMode)}}) {
        EXPECT_EQ(set(card, 7), 1);
        EXPECT_EQ(get(card), 1);
        EXPECT_EQ(set(card, 0), 1);
        EXPECT_EQ(get(card), 0);
    }
    const int32_t wr1000 = WRAPI(OpenRadioDevice)(0);
    EXPECT_EQ(WRAPI(SetIFShift)(wr1000, 0), 0);
}

TEST_F(WinradioStandin, ReadsStrengthFromTheSignalPlanAtTheTunedFrequency) {
    WRAPI(StandinSetNoiseFloor)(17);
    WRAPI(StandinAddSignal)(145'000'000, 255, 20'000);
    const int32_t card = WRAPI(OpenRadioDevice)(0);
    EXPECT_EQ(WRAPI(GetSignalStrength)(card), -1);  // switched off
    WRAPI(SetPower)(card, 1);
    WRAPI(SetFrequency)(card, 145'000'000);
    EXPECT_EQ(WRAPI(GetSignalStrength)(card), 120);
    WRAPI(SetFrequency)(card, 145'005'000);  // level 136 half way down
    EXPECT_EQ(WRAPI(GetSignalStrength)(card), 64);
    WRAPI(SetFrequency)(card, 146'000'000);
    EXPECT_EQ(WRAPI(GetSignalStrength)(card), 8);
}

TEST_F(WinradioStandin, LogsEveryCallWithItsArgumentsAndResult) {
    const int32_t card = WRAPI(OpenRadioDevice)(0);
    WrapiRadioInfo info{};
    info.size = sizeof info;
    WRAPI(GetRadioDeviceInfo)(card, &info);
    WRAPI(SetFrequency)(card, 145'500'000);
    WRAPI(GetFrequency)(card + 1);
    const std::string handle = std::to_string(card);
    EXPECT_EQ(Log(), "OpenRadioDevice(0) = " + handle + "\nGetRadioDeviceInfo(" + handle +
                         ", size 76) = 1\nSetFrequency(" + handle +
                         ", 145500000) = 0\nGetFrequency(" + std::to_string(card + 1) +
                         ") = 4294967295\n");
    WRAPI(StandinClearLog)();
    EXPECT_EQ(Log(), "");
}

TEST_F(WinradioStandin, ScriptedFailuresHoldUntilReset) {
    EXPECT_EQ(WRAPI(StandinFail)("OpenRadioDevice"), 1);
    EXPECT_EQ(WRAPI(StandinFail)("GetFrequency"), 1);
    EXPECT_EQ(WRAPI(StandinFail)("SetAGC"), 0);
    EXPECT_EQ(WRAPI(OpenRadioDevice)(0), 0);
    EXPECT_EQ(Log(), "OpenRadioDevice(0) = 0\n");
    WRAPI(StandinReset)();
    const int32_t card = WRAPI(OpenRadioDevice)(0);
    EXPECT_NE(card, 0);
    WRAPI(StandinFail)("GetFrequency");
    EXPECT_EQ(WRAPI(GetFrequency)(card), 0xFFFF'FFFFu);
    EXPECT_EQ(WRAPI(GetMode)(card), 3);
}

// A card that answers again: one entry point, or every one.
TEST_F(WinradioStandin, AFailureEndsWhenTheEntryPointRecovers) {
    const int32_t card = OpenSwitchedOn();
    WRAPI(StandinFail)("GetSignalStrength");
    WRAPI(StandinFail)("GetFrequency");
    EXPECT_EQ(WRAPI(GetSignalStrength)(card), -1);
    EXPECT_EQ(WRAPI(StandinRecover)("GetSignalStrength"), 1);
    EXPECT_EQ(WRAPI(StandinRecover)("GetSignalStrength"), 0);  // it works already
    EXPECT_GE(WRAPI(GetSignalStrength)(card), 0);
    EXPECT_EQ(WRAPI(GetFrequency)(card), 0xFFFF'FFFFu);
    EXPECT_EQ(WRAPI(StandinRecover)(nullptr), 1);
    EXPECT_EQ(WRAPI(GetFrequency)(card), 72'900'000u);
}

// WRAPI_STANDIN_FAIL names the entry points that fail from the start (a copy of the library is
// loaded afresh, so that it reads the environment).
TEST(WinradioStandinProgram, TheEnvironmentMakesEntryPointsFailFromTheLoadOn) {
    char folder[] = "/tmp/orvel_wrapi_XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::filesystem::path copy = std::filesystem::path(folder) / "libWrapi32.so";
    std::filesystem::copy_file(ORVEL_WRAPI_STANDIN_FILE, copy);
    ::setenv("WRAPI_STANDIN_FAIL", "GetSignalStrength,NoSuchEntry,OpenRadioDevice", 1);
    void* module = ::dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << ::dlerror();
    const auto open =
        reinterpret_cast<decltype(&::OpenRadioDevice)>(::dlsym(module, "OpenRadioDevice"));
    const auto recover =
        reinterpret_cast<decltype(&::StandinRecover)>(::dlsym(module, "StandinRecover"));
    ASSERT_TRUE(open && recover);
    EXPECT_EQ(open(0), 0);
    ::unsetenv("WRAPI_STANDIN_FAIL");
    EXPECT_EQ(recover("GetSignalStrength"), 1);
    EXPECT_EQ(recover("OpenRadioDevice"), 1);
    EXPECT_EQ(recover(nullptr), 0);  // the unknown name was not taken
    EXPECT_NE(open(0), 0);
    ::dlclose(module);
    std::filesystem::remove_all(folder);
}

}  // namespace
