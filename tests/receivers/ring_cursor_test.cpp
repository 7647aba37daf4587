// The ring cursor serves any link's finder: here lines ended by CR, as the AOR sets send
// them, with "#" opening a line to be stepped over.
#include "receivers/ring_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

RingPiece FindLine(std::span<const uint8_t> ring, uint32_t read, uint32_t write) {
    RingPiece piece{RingPiece::Kind::None, read, read, 0};
    for (uint32_t i = read; i != write; i = (i + 1) % ring.size()) {
        ++piece.examined;
        if (ring[i] != '\r') continue;
        piece.kind = ring[read] == '#' ? RingPiece::Kind::Skip : RingPiece::Kind::Whole;
        piece.end = (i + 1) % ring.size();
        break;
    }
    return piece;
}

class LineRing : public ::testing::Test {
  protected:
    LineRing() { comm.Discarding = false; }
    void Receive(const std::string& text) {
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    }
    // The next line out of the ring, CR included; empty when none is complete.
    std::string Take() {
        std::vector<uint8_t> bytes;
        const RingPiece piece = cursor.Take(FindLine, [&](const RingPiece& line) {
            cursor.CopyOut(line.begin, line.end, bytes);
        });
        kinds.push_back(piece.kind);
        return {bytes.begin(), bytes.end()};
    }

    Comm comm;
    RingCursor cursor{comm};
    std::vector<RingPiece::Kind> kinds;
};

TEST_F(LineRing, LinesComeOutWholeAcrossTheRingsEndAndAnUnfinishedOneWaits) {
    comm.ReadIndex = comm.WriteIndex = Comm::kRingSize - 3;
    Receive("LV123\r#noise\rRF0");
    EXPECT_EQ(Take(), "LV123\r");
    EXPECT_EQ(comm.ReadIndex, 3u);
    EXPECT_EQ(Take(), "");  // the skipped line is not copied, but its place is given back
    EXPECT_EQ(kinds.back(), RingPiece::Kind::Skip);
    EXPECT_EQ(comm.ReadIndex, 10u);
    EXPECT_EQ(Take(), "");
    EXPECT_EQ(kinds.back(), RingPiece::Kind::None);
    EXPECT_EQ(comm.ReadIndex, 10u);
    Receive("12\r");
    EXPECT_EQ(Take(), "RF012\r");
    EXPECT_EQ(comm.ReadIndex, comm.WriteIndex);
}

}  // namespace
