// The HF sets of the CI-V family running unattended from the program's start: ORVEL.INI names
// a start-up job, which loads a stored range on the short waves and starts its scan; the
// scan tunes every point in order, reads the level at each, and journals the emulated set's
// broadcaster.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "receivers/icom/civ_memory/civ_memory_panel.h"
#include "receivers/icom/civ_panel.h"
#include "receivers/icom/hf/hf_panel.h"
#include "receivers/icom/ic8500/ic8500.h"
#include "tests/app/window_fixture.h"
#include "tests/support/case_name.h"

namespace {

using window_test::ScanOnAir;

struct HfStation {
    int receiverType;
    const emulators::CivProfile* set;
};

// A case is named by its set ("IC756PRO").
std::string StationName(const ::testing::TestParamInfo<HfStation>& info) {
    return CaseName(info.param.set->model);
}
void PrintTo(const HfStation& station, std::ostream* out) {
    *out << station.set->model << " (type " << station.receiverType << ")";
}

constexpr uint32_t kRangeStart = 96'000;  // 9.6 MHz, in the 31 m band

class HfUnattended : public ScanOnAir, public ::testing::WithParamInterface<HfStation> {
  protected:
    HfUnattended() : ScanOnAir(GetParam().receiverType, *GetParam().set) {}
    // Not ScanOnAir's: every frame the set heard is kept.
    void SetUp() override { window_test::OnAir<emulators::CivEmulator>::SetUp(); }
    std::string Ini() const override { return ScanOnAir::Ini() + "AUTOEXEC=0002\r\n"; }
    void Prepare() override {
        emulator.SetSignalPlan(window_test::WithCarrier(20, 9'650'000, 200));
        WriteUnattendedScan(kRangeStart);
    }
};

TEST_P(HfUnattended, TheAutoexecJobScansTheShortWaveRangeAndJournalsTheBroadcaster) {
    ASSERT_TRUE(
        RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; }));
    EXPECT_NE(ScanNotes().find("Появление сигнала   9.66"), std::string::npos) << ScanNotes();
    EXPECT_TRUE(boxes.shown.empty());
    const auto* panel = dynamic_cast<CivPanel*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Link.RejectCount, 0);
    EXPECT_EQ(panel->Link.ReceiverAddress, GetParam().set->defaultAddress);

    // The pass goes on to the range's end: point after point 10 kHz apart (a return to the
    // signal's strongest point between them), each with its level read before the next tune.
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
    const std::vector<emulators::Bytes> frames = emulator.ReceivedFrames();
    std::vector<std::size_t> tunes;
    uint32_t reached = kRangeStart - 100;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].size() != 11 || frames[i][4] != 0x05) continue;
        const auto hz = emulators::DecodeBcdLeastFirst(std::span(frames[i]).subspan(5, 5));
        const auto point = uint32_t(hz.value_or(0) / 100);
        if (point < kRangeStart) continue;  // the sync's and the job's own tunes
        tunes.push_back(i);
        if (point <= reached) continue;
        EXPECT_EQ(point, reached + 100);
        reached = point;
    }
    EXPECT_EQ(reached, kRangeStart + 9'900);
    for (std::size_t k = 0; k + 1 < tunes.size(); ++k)
        EXPECT_TRUE(std::any_of(frames.begin() + std::ptrdiff_t(tunes[k]),
                                frames.begin() + std::ptrdiff_t(tunes[k + 1]),
                                [](const emulators::Bytes& f) {
                                    return f.size() == 7 && f[4] == 0x15 && f[5] == 0x02;
                                }))
            << k;
}

INSTANTIATE_TEST_SUITE_P(HfSets, HfUnattended,
                         ::testing::Values(HfStation{12, &emulators::kIc756Pro},
                                           HfStation{10, &emulators::kIcR75}),
                         StationName);

// The set's own scan runs when the receiver is switched off and on again: back, it scans
// nothing, so neither does the panel, and the program's controls are the operator's again.
class CivSwitchedOffAndOn : public ScanOnAir, public ::testing::WithParamInterface<HfStation> {
  protected:
    CivSwitchedOffAndOn() : ScanOnAir(GetParam().receiverType, *GetParam().set) {}
};

TEST_P(CivSwitchedOffAndOn, TheOwnScanEndsWithTheReceiversReturn) {
    auto* panel = dynamic_cast<CivMemoryPanel*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    // The range regime: the set scans between the edges kept in its memory (the IC-R8500's
    // PROG bank, the HF sets' channels 100 and 101).
    const auto edges = [&](int bank, int first, uint64_t lowHz, uint64_t highHz) {
        emulators::CivChannel edge;
        edge.frequencyHz = lowHz;
        emulator.SetChannel(bank, first, edge);
        edge.frequencyHz = highHz;
        emulator.SetChannel(bank, first + 1, edge);
    };
    if (auto* ic8500 = dynamic_cast<IC8500*>(panel)) {
        edges(23, 0, 145'000'000, 146'000'000);
        ic8500->Settings.Scan.RangeScan = true;
    }
    if (auto* hf = dynamic_cast<HfPanel*>(panel)) {
        edges(0, 100, 9'600'000, 9'700'000);
        hf->Settings.RangeScan = true;
    }
    ASSERT_TRUE(panel->StartReceiverScan());
    ui::ServeFor(500);
    ASSERT_TRUE(panel->ReceiverScanRunning);
    EXPECT_FALSE(orvel.start->IsEnabled());

    ASSERT_TRUE(SwitchOffAndOn(*GetParam().set));
    ui::ServeFor(500);
    EXPECT_FALSE(panel->ReceiverScanRunning);
    EXPECT_TRUE(orvel.start->IsEnabled());
    // A set that had kept scanning is told to stop.
    const std::vector<emulators::Bytes> frames = emulator.ReceivedFrames();
    EXPECT_TRUE(std::any_of(frames.begin(), frames.end(), [](const emulators::Bytes& frame) {
        return frame.size() == 7 && frame[4] == 0x0E && frame[5] == 0x00;
    }));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
}

INSTANTIATE_TEST_SUITE_P(MemorySets, CivSwitchedOffAndOn,
                         ::testing::Values(HfStation{4, &emulators::kIcR8500},
                                           HfStation{12, &emulators::kIc756Pro},
                                           HfStation{10, &emulators::kIcR75}),
                         StationName);

}  // namespace
