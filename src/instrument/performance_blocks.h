#pragma once
// The eight blocks of the current performance, one row each: what the
// instrument calls them, where they stand in PerformanceRecord, how they are
// asked for, and how the dump transaction labels their trace. Every lookup of
// a performance block (retrieval, reply check, sends, exports) goes here.

#include <array>
#include <cstddef>

#include "instrument/data_model.h"
#include "instrument/messages.h"

namespace qv {

enum class PerfBlock : int { kCom0, kCom1, kCom2, kCom3, kLyr1, kLyr2, kLyr3, kLyr4 };
inline constexpr int kPerformanceBlockCount = 8;

struct PerformanceBlock {
  PerfBlock id;
  const char* label;     // the trace label of its replies
  Byte model;            // kModelCs
  Address address;       // start address
  int length;            // message length, F0 to F7
  std::size_t field;     // offset of its field in PerformanceRecord
  Bytes (*request)();    // its dump request
};

// The rows in the order a loaded performance leaves: Com0 .. Com3, Lyr1 .. Lyr4.
extern const std::array<PerformanceBlock, kPerformanceBlockCount> kPerformanceBlocks;

// The order of a retrieval: Com1, Com2, Com3, Lyr1 .. Lyr4, Com0.
inline constexpr std::array<PerfBlock, kPerformanceBlockCount> kRetrievalOrder = {
    PerfBlock::kCom1, PerfBlock::kCom2, PerfBlock::kCom3, PerfBlock::kLyr1,
    PerfBlock::kLyr2, PerfBlock::kLyr3, PerfBlock::kLyr4, PerfBlock::kCom0};

const PerformanceBlock& BlockRow(PerfBlock id);
PerfBlock LayerBlock(int layer);  // 1..4, throws std::out_of_range otherwise

// The stored message of a block: its field in the record, from F0.
Byte* BlockField(PerformanceRecord& record, PerfBlock id);
const Byte* BlockField(const PerformanceRecord& record, PerfBlock id);

// A performance none of whose eight blocks was ever filled (NeverFilled).
bool NeverFilled(const PerformanceRecord& record);

}  // namespace qv
