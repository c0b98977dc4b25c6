#pragma once
// What one dump transaction (MidiLink::RtrvDump) asks for: a block of the
// current performance, a block of one multi part, or the developer's
// parameter request. Each kind has its own request, its own reply and its
// own trace label.

#include <chrono>
#include <optional>
#include <utility>
#include <variant>

#include "instrument/bytes.h"
#include "instrument/performance_blocks.h"

namespace qv {

// The longest wait for the reply to one request: 400 checks of 5 ms.
inline constexpr std::chrono::milliseconds kReplyWait{2000};

// Block 0..4 of the multi part at part index 4..15 (M5 .. M16).
struct MultiPartBlock {
  int part;
  int block;
};

// The developer's request as typed: anything, taken back by the first
// SysEx that comes, for the trace only. None sends nothing; the wait runs
// all the same.
struct ParameterRequest {
  std::optional<Bytes> bytes;
};

class DumpRequest {
 public:
  static DumpRequest ForPerformance(PerfBlock block) { return DumpRequest(block); }
  // A part or block outside the store is refused by the transaction.
  static DumpRequest ForMultiPart(int part, int block) { return DumpRequest(MultiPartBlock{part, block}); }
  static DumpRequest ForParameter(std::optional<Bytes> bytes = std::nullopt) {
    return DumpRequest(ParameterRequest{std::move(bytes)});
  }

  // The request of that kind; nullptr when it is of another.
  const PerfBlock* Performance() const { return std::get_if<PerfBlock>(&what_); }
  const MultiPartBlock* MultiPart() const { return std::get_if<MultiPartBlock>(&what_); }
  const ParameterRequest* Parameter() const { return std::get_if<ParameterRequest>(&what_); }

 private:
  using What = std::variant<PerfBlock, MultiPartBlock, ParameterRequest>;
  explicit DumpRequest(What what) : what_(std::move(what)) {}
  What what_;
};

}  // namespace qv
