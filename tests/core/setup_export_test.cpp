// The setup exported as a Standard MIDI File and as a SysEx file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fake_midi_backend.h"
#include "files/setup_export.h"
#include "hex.h"
#include "instrument/messages.h"
#include "sample_setup.h"

namespace qv {
namespace {

using test::ParseHex;

// Message lengths, F0 to F7, in file order: M5..M16 blocks 0..4, then
// Lyr1..Lyr4, Com0..Com3.
std::vector<std::size_t> ExportLengths() {
  std::vector<std::size_t> lengths;
  for (int part = 0; part < 12; ++part)
    for (std::size_t l : {52, 74, 15, 23, 13}) lengths.push_back(l);
  for (std::size_t l : {56, 56, 56, 56, 37, 63, 34, 20}) lengths.push_back(l);
  return lengths;
}

Bytes Slice(const Bytes& b, std::size_t from, std::size_t n) { return Bytes(b.begin() + from, b.begin() + from + n); }

bool ChecksumHolds(const Bytes& m) {
  unsigned sum = 0;
  for (std::size_t i = 4; i + 1 < m.size(); ++i) sum += m[i];  // bytes 4..L-2, the checksum included
  return sum % 128 == 0;
}

struct MidiEvent {
  int delta;
  Bytes message;  // F0 and the bytes that follow it
};

// Reads the SysEx events of an exported MIDI file by their own delta and
// length numbers (variable-length: seven bits a byte, high bit = more).
std::vector<MidiEvent> SysExEvents(const Bytes& file) {
  std::vector<MidiEvent> events;
  std::size_t at = 49;
  while (at + 3 < file.size()) {
    int delta = 0;
    std::size_t d = at;
    while (d < file.size() && file[d] & 0x80) delta = (delta << 7) | (file[d++] & 0x7F);
    if (d + 2 >= file.size() || file[d + 1] != 0xF0) break;
    delta = (delta << 7) | file[d];
    const std::size_t n = file[d + 2];
    MidiEvent e{delta, Bytes{0xF0}};
    const Bytes rest = Slice(file, d + 3, n);
    e.message.insert(e.message.end(), rest.begin(), rest.end());
    events.push_back(e);
    at = d + 3 + n;
  }
  return events;
}

class SetupExport : public ::testing::Test {
 protected:
  test::FakeMidiBackend backend_;
  test::Cs2xEmulator instrument_{backend_};
  test::SampleSetup setup_ = test::SetupFromEmulator(instrument_);
};

TEST_F(SetupExport, MidiFileFrameAndItsEvents) {
  const Bytes file = BuildSetupMidiFile(setup_.multis, setup_.channelRows, setup_.performance, 0);
  ASSERT_EQ(file.size(), 2691u);
  const Bytes head = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k', 0x00, 0x00, 0x0A, 0x6D,
                      0x00, 0xFF, 0x03, 0x08, 'R', 'E', 'Q', 'P', 'F', 'A', 'L', 'L',
                      0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,
                      0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};
  EXPECT_EQ(Slice(file, 0, 49), head);
  EXPECT_EQ(2691u - 22u, 0x0A6Du);
  EXPECT_EQ(Slice(file, 49, 11), ParseHex("1B F0 33 43 00 4C 00 29 08 04 00"));
  EXPECT_EQ(Slice(file, 2687, 4), ParseHex("00 FF 2F 00"));

  const std::vector<MidiEvent> events = SysExEvents(file);
  const std::vector<std::size_t> lengths = ExportLengths();
  ASSERT_EQ(events.size(), 68u);
  const std::vector<Bytes> messages = BuildSetupMessages(setup_.multis, setup_.channelRows, setup_.performance);
  for (std::size_t i = 0; i < 68; ++i) {
    EXPECT_EQ(events[i].message.size(), lengths[i]) << "event " << i;
    EXPECT_EQ(events[i].message, messages[i]) << "event " << i;
  }
  // Parts take 187 bytes each; the performance starts at 2293.
  EXPECT_EQ(file[49 + 187 * 12], 0x1B);
  EXPECT_EQ(file[2293 + 1], 0xF0);
  EXPECT_EQ(file[2293 + 2], 55);
}

TEST_F(SetupExport, SysExFileIsTheMessagesAsTheInstrumentSentThem) {
  const Bytes file = BuildSetupSysExFile(setup_.multis, setup_.channelRows, setup_.performance);
  ASSERT_EQ(file.size(), 2502u);
  EXPECT_EQ(Slice(file, 0, 9), ParseHex("F0 43 00 4C 00 29 08 04 00"));
  std::size_t at = 0;
  for (std::size_t length : ExportLengths()) {
    const Bytes m = Slice(file, at, length);
    EXPECT_EQ(m.front(), 0xF0);
    EXPECT_EQ(m.back(), 0xF7);
    EXPECT_TRUE(ChecksumHolds(m)) << "message at " << at;
    at += length;
  }
  EXPECT_EQ(at, file.size());
  // Nothing was changed on the way: the first part is M5's blocks as sent.
  const Address a = MultiBlockAddress(1, 4);
  EXPECT_EQ(Slice(file, 52, 74), instrument_.BulkDump(0x4C, a.a1, a.a2, a.a3));
}

TEST_F(SetupExport, EveryEventCarriesTheDensityDelta) {
  // 27 ticks a step, from 128 on in two bytes; the file grows by one byte an
  // event.
  const std::vector<std::pair<int, int>> cases = {{0, 27},  {1, 54},  {3, 108}, {4, 135}, {5, 162},
                                                  {7, 216}, {-1, 0},  {8, 0},   {1000, 0}};
  for (const auto& [slider, delta] : cases) {
    const Bytes file = BuildSetupMidiFile(setup_.multis, setup_.channelRows, setup_.performance, slider);
    EXPECT_EQ(file.size(), delta >= 128 ? 2759u : 2691u) << "slider " << slider;
    if (delta >= 128) {
      EXPECT_EQ(Slice(file, 49, 4), (Bytes{Byte(0x80 | (delta >> 7)), Byte(delta & 0x7F), 0xF0, 0x33}));
      EXPECT_EQ(Slice(file, 18, 4), ParseHex("00 00 0A B1"));  // 2759 - 22
    }
    const std::vector<MidiEvent> events = SysExEvents(file);
    ASSERT_EQ(events.size(), 68u) << "slider " << slider;
    for (const MidiEvent& e : events) ASSERT_EQ(e.delta, delta) << "slider " << slider;
  }
}

TEST_F(SetupExport, ChannelRowGoesIntoBlockZeroWithAMatchingChecksum) {
  // M7's block 0 holds channel 7 (byte 06) while its row shows channel 3.
  ASSERT_EQ(setup_.multis.Part[2].Blocks.Blk0[13], 6);
  setup_.channelRows[2] = 2;
  const std::vector<Bytes> messages = BuildSetupMessages(setup_.multis, setup_.channelRows, setup_.performance);
  const Bytes& m7 = messages[2 * 5];
  EXPECT_EQ(m7[13], 0x02);
  EXPECT_TRUE(ChecksumHolds(m7));
  EXPECT_NE(m7[50], setup_.multis.Part[2].Blocks.Blk0[50]);
  // Only block 0 carries the channel.
  for (int b = 1; b < 5; ++b)
    EXPECT_EQ(messages[static_cast<std::size_t>(2 * 5 + b)],
              Bytes(setup_.multis.Part[2].Blocks.Block(b),
                    setup_.multis.Part[2].Blocks.Block(b) + ExportLengths()[static_cast<std::size_t>(b)]));
}

TEST(SetupExportEdges, FramedChecksummedAndFixedInLengthWhateverIsStored) {
  // Nothing stored (a performance that never arrived), and everything
  // stored as FF: still 68 whole messages, F0 to F7, with no status byte
  // between them and the checksum over the bytes as written.
  for (Byte fill : {Byte{0x00}, Byte{0xFF}}) {
    AllMultisRecord multis;
    PerformanceRecord perf;
    std::memset(static_cast<void*>(&multis), fill, sizeof multis);
    std::memset(static_cast<void*>(&perf), fill, sizeof perf);
    const ChannelRows rows{};
    const std::vector<Bytes> messages = BuildSetupMessages(multis, rows, perf);
    const std::vector<std::size_t> lengths = ExportLengths();
    ASSERT_EQ(messages.size(), 68u);
    for (std::size_t i = 0; i < 68; ++i) {
      ASSERT_EQ(messages[i].size(), lengths[i]);
      EXPECT_EQ(messages[i].front(), 0xF0);
      EXPECT_EQ(messages[i].back(), 0xF7);
      EXPECT_TRUE(std::all_of(messages[i].begin() + 1, messages[i].end() - 1, [](Byte b) { return b < 0x80; }))
          << "message " << i;
      if (fill == 0xFF) {
        EXPECT_EQ(messages[i][5], 0x7F) << "message " << i;  // its low seven bits
      }
      EXPECT_TRUE(ChecksumHolds(messages[i]));
    }
    const Bytes mid = BuildSetupMidiFile(multis, rows, perf, 2);
    EXPECT_EQ(mid.size(), 2691u);
    EXPECT_EQ(Slice(mid, 2687, 4), ParseHex("00 FF 2F 00"));
    EXPECT_EQ(BuildSetupSysExFile(multis, rows, perf).size(), 2502u);
  }
}

TEST(SetupExportEdges, ChecksumZeroWhenTheSumIsAMultipleOf128) {
  // Com3: 20 bytes, checksum over bytes 4..17.
  PerformanceRecord perf{};
  const Bytes com3 = {0x55, 0x43, 0x00, 0x63, 0x00, 0x09, 0x60, 0x00, 0x60, 0x10,
                      0x10, 0x10, 0x10, 0x10, 0x10, 0x00, 0x11, 0x46, 0x7E, 0x00};
  unsigned sum = 0;
  for (std::size_t i = 4; i <= 17; ++i) sum += com3[i];
  ASSERT_EQ(sum % 128, 0u);
  std::copy(com3.begin(), com3.end(), perf.Com3.begin());
  const Bytes m = BuildSetupMessages(AllMultisRecord{}, ChannelRows{}, perf).back();
  EXPECT_EQ(m.size(), 20u);
  EXPECT_EQ(m[18], 0x00);
  EXPECT_EQ(m.front(), 0xF0);
  EXPECT_EQ(m.back(), 0xF7);
  EXPECT_EQ(Bytes(m.begin() + 1, m.begin() + 18), Bytes(com3.begin() + 1, com3.begin() + 18));
}

}  // namespace
}  // namespace qv
