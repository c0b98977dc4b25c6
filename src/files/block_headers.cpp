#include "files/block_headers.h"

#include <algorithm>
#include <iterator>

#include "editor/editor_state.h"
#include "instrument/messages.h"
#include "instrument/performance_blocks.h"

namespace qv {

namespace {

constexpr int kAnyPart = -1;

// A block that no message ever came into: its header is zero but for the
// part number, which the loads set. Edits may have set its data bytes.
bool NeverFilled(const Byte* block) {
  static constexpr int kHeader[] = {0, 1, 2, 3, 4, 5, 6, 8};
  return std::all_of(std::begin(kHeader), std::end(kHeader), [block](int i) { return block[i] == 0; });
}

// Counts the blocks that carry their place's header and notes whether any
// block was ever filled.
class Tally {
 public:
  void Add(const Byte* block, Byte model, Byte a1, int a2, Byte a3) {
    if (block[3] == model && block[6] == a1 && (a2 == kAnyPart || block[7] == a2) && block[8] == a3) ++headers_;
    if (!NeverFilled(block)) filled_ = true;
  }
  void AddParts(const PartRecord* parts, int count) {
    for (int e = 0; e < count; ++e)
      for (int b = 0; b < kMultiBlocks; ++b) {
        const Address a = MultiBlockAddress(b, 0);
        Add(parts[e].Blocks.Block(b), kModelXg, a.a1, kAnyPart, a.a3);
      }
  }
  void AddPerformance(const PerformanceRecord& p) {
    for (const PerformanceBlock& row : kPerformanceBlocks)
      Add(BlockField(p, row.id), row.model, row.address.a1, row.address.a2, row.address.a3);
  }
  void AddPool(const LayerPoolRecord& pool) { AddParts(pool.Entry.data(), static_cast<int>(pool.Entry.size())); }
  bool OfItsKind() const { return headers_ > 0 || !filled_; }

 private:
  int headers_ = 0;
  bool filled_ = false;
};

// The verdict on the blocks that `add` puts into a tally.
template <typename Add>
bool Checked(Add add) {
  Tally t;
  add(t);
  return t.OfItsKind();
}

}  // namespace

bool OfItsKind(const PartRecord& record) {
  return Checked([&](Tally& t) { t.AddParts(&record, 1); });
}

bool OfItsKind(const AllMultisRecord& record, int wholeParts) {
  return Checked([&](Tally& t) { t.AddParts(record.Part.data(), std::clamp(wholeParts, 0, kMultiPartCount)); });
}

bool OfItsKind(const PerformanceRecord& record) {
  return Checked([&](Tally& t) { t.AddPerformance(record); });
}

bool OfItsKind(const SetupRecord& record) {
  return Checked([&](Tally& t) {
    t.AddParts(record.Multis.Part.data(), kMultiPartCount);
    t.AddPerformance(record.Perf);
  });
}

bool OfItsKind(const LayerPoolRecord& record) {
  return Checked([&](Tally& t) { t.AddPool(record); });
}

bool OfItsKind(const WorkspaceRecord& record) {
  return Checked([&](Tally& t) {
    t.AddParts(record.Multis.Part.data(), kMultiPartCount);
    t.AddPerformance(record.Perf);
    t.AddPool(record.Pool);
  });
}

}  // namespace qv
