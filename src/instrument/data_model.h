#pragma once
// What the program knows of the instrument, kept as the instrument's own
// bulk-dump messages, whole from F0 to F7. Every array is fixed in size and
// every access that takes an index from data is checked.

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "instrument/bytes.h"

namespace qv {

// Message length of the multi-part blocks MltBlk0..4. The performance
// blocks have theirs in their table (performance_blocks.h).
inline constexpr std::array<int, 5> kBlkLen = {52, 74, 15, 23, 13};

// The message length of multi-part block 0..4. Throws std::out_of_range
// outside 0..4.
int BlkLen(int block);

inline constexpr int kFirstMultiPart = 4;  // part index of M5
inline constexpr int kLastMultiPart = 15;  // part index of M16
inline constexpr int kMultiBlocks = 5;
inline bool IsMultiPart(int part) { return part >= kFirstMultiPart && part <= kLastMultiPart; }

// The current performance: 456 bytes, no padding; the same bytes are the
// performance file. Each field holds its block's message from F0 and is one
// byte longer than the message.
struct PerformanceRecord {
  std::array<Byte, 57> Lyr1{};
  std::array<Byte, 57> Lyr2{};
  std::array<Byte, 57> Lyr3{};
  std::array<Byte, 57> Lyr4{};
  std::array<Byte, 38> Com0{};
  std::array<Byte, 64> Com1{};
  std::array<Byte, 35> Com2{};
  std::array<Byte, 21> Com3{};
  std::array<Byte, 35> EffOrig{};
  std::array<Byte, 35> EffSave{};

  std::array<Byte, 57>& Layer(int layer);  // 1..4, throws otherwise
  const std::array<Byte, 57>& Layer(int layer) const;
};

// Byte positions inside the stored messages.
inline constexpr int kPerfNameFirst = 9;  // Com1 bytes 9..16
inline constexpr int kPerfNameLength = 8;
inline constexpr int kLayerSwitchByte = 31;
inline constexpr int kPerfChannelByte = 9;  // Com0 data byte 0 (50 00 00)
inline constexpr int kPartNumberByte = 7;   // every multi-part block
inline constexpr int kReceiveChannelByte = 13;  // MltBlk0

// One multi part as five messages; DefMultiSyx has this shape. Each array
// holds its block's message from F0 and one spare byte behind it.
struct MultiBlocks {
  std::array<Byte, kBlkLen[0] + 1> Blk0{};
  std::array<Byte, kBlkLen[1] + 1> Blk1{};
  std::array<Byte, kBlkLen[2] + 1> Blk2{};
  std::array<Byte, kBlkLen[3] + 1> Blk3{};
  std::array<Byte, kBlkLen[4] + 1> Blk4{};

  Byte* Block(int block);  // 0..4, throws otherwise
  const Byte* Block(int block) const;
};
static_assert(sizeof(MultiBlocks) == 182);

// A stored block that no message ever came into: its header, bytes 0..6
// and 8, is zero. Byte 7 does not count (the loads set a multi-part
// block's part number there), nor do the data bytes, which edits may set.
bool NeverFilled(const Byte* block);
// A part none of whose five blocks was ever filled.
bool NeverFilled(const MultiBlocks& blocks);
// A stored block of `length` bytes that is one whole system-exclusive
// message: F0, then data bytes below 80 hex, then F7 at the end of its
// length. Nothing in it can act as a status byte.
bool IsWholeMessage(const Byte* block, int length);

// One multi part or pool entry as it stands in the files: 192 bytes.
struct PartRecord {
  MultiBlocks Blocks;
  std::array<char, 10> Name{};
};

inline constexpr int kPoolSlots = 128;  // slots 0..127; entry 128 is never used

struct LayerPoolRecord {
  std::array<PartRecord, 129> Entry{};
  std::array<Byte, 129> PoolSlot{};
  Byte PoolCount = 0;
};

// The stored bulk dumps of the multi parts: bytes 0..128 of blocks 0..5 of
// parts 0..16. Only parts 4..15 and blocks 0..4 are used.
class PartBlkStore {
 public:
  static constexpr int kBytes = 129, kBlocks = 6, kParts = 17;
  Byte& At(int byte, int block, int part);  // throws std::out_of_range
  Byte At(int byte, int block, int part) const;
  Byte* Block(int block, int part);         // whole block, kBytes long
  const Byte* Block(int block, int part) const;
  void Clear();

 private:
  static void Check(int byte, int block, int part);
  std::array<std::array<std::array<Byte, kBytes>, kBlocks>, kParts> data_{};
};

inline constexpr std::int16_t kSlotFree = 256;
inline constexpr std::int16_t kSlotUsed = 0;

// The data held by the main window for the whole run.
struct DataModel {
  PartBlkStore PartBlk;
  PerformanceRecord Performance;
  std::array<Byte, 129> SxBuf{};
  std::array<std::int16_t, 5> LyrSw{};  // elements 1..4
  MultiBlocks DefMultiSyx;
  LayerPoolRecord LayerPool;
  std::array<std::int16_t, 129> PoolSlotFree{};
  int EditPart = 0;  // 4..15 once the multi edit panel was opened
  bool Busy = false;
};

}  // namespace qv
