// The HF sets of the CI-V family running unattended from the program's start: ORVEL.INI names
// a start-up job, which loads a stored range on the short waves and starts its scan; the
// scan tunes every point in order, reads the level at each, and journals the emulated set's
// broadcaster.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <vector>

#include "receivers/icom/civ_panel.h"
#include "tests/app/window_fixture.h"

namespace {

using window_test::ScanOnAir;

struct HfStation {
    int receiverType;
    const emulators::CivProfile* set;
};

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
                                           HfStation{10, &emulators::kIcR75}));

}  // namespace
