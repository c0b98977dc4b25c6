#pragma once
// The setup exported for other programs: the 68 bulk dumps of the multi
// parts M5..M16 (blocks 0..4 each) and the performance (Lyr1..Lyr4,
// Com0..Com3), as a Standard MIDI File of format 0 or as a raw SysEx file.
// The program never reads either back.

#include <array>
#include <cstddef>
#include <vector>

#include "files/records.h"
#include "instrument/bytes.h"

namespace qv {

inline constexpr int kSetupMessages = 68;
// The MIDI file: 2691 bytes, or 2759 when the delta takes two bytes.
inline constexpr std::size_t kSetupMidiFileBytes = 2691;
inline constexpr std::size_t kSetupSysExFileBytes = 2502;

// The receive-channel row of each part M5..M16 (0..15 = channel 1..16).
using ChannelRows = std::array<int, 12>;

// The delta time in ticks of every SysEx event for a value of the MIDI
// file density slider: 27 x (value + 1) for 0..7 (27 to 216), 0 otherwise.
int DensityDelta(int sliderValue);

// One exported message of length `length` from a stored one: F0 at byte 0
// and F7 at byte length - 1 whatever the stored bytes hold, the low seven
// bits of each stored byte between them, and the checksum at length - 2
// computed afresh over what is written. `stored` holds at least `length`
// bytes.
Bytes BuildExportMessage(const Byte* stored, int length);

// The 68 messages in file order: M5 blocks 0..4, ..., M16 blocks 0..4, then
// Lyr1..Lyr4, Com0..Com3. Byte 13 of each part's block 0 is its channel row
// (a row outside 0..15 leaves the stored byte), before the checksum.
std::vector<Bytes> BuildSetupMessages(const AllMultisRecord& multis, const ChannelRows& channelRows,
                                      const PerformanceRecord& performance);

// The Standard MIDI File, whatever the data: 2691 bytes for slider values
// 0..3 and outside 0..7, 2759 for 4..7 (each delta in two bytes).
Bytes BuildSetupMidiFile(const AllMultisRecord& multis, const ChannelRows& channelRows,
                         const PerformanceRecord& performance, int densitySliderValue);

// The SysEx file: the 68 messages back to back, 2502 bytes.
Bytes BuildSetupSysExFile(const AllMultisRecord& multis, const ChannelRows& channelRows,
                          const PerformanceRecord& performance);

}  // namespace qv
