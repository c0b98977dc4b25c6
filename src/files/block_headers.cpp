#include "files/block_headers.h"

#include <algorithm>

#include "editor/editor_state.h"
#include "instrument/messages.h"
#include "instrument/performance_blocks.h"

namespace qv {

namespace {

constexpr int kAnyPart = -1;

// A whole message (IsWholeMessage) of the place: model and address (but for
// a part number byte, kAnyPart).
bool OfItsPlace(const Byte* block, int length, Byte model, Address a, int a2) {
  return IsWholeMessage(block, length) && block[3] == model && block[6] == a.a1 &&
         (a2 == kAnyPart || block[7] == a2) && block[8] == a.a3;
}

bool Taken(const Byte* block, int length, Byte model, Address a, int a2) {
  return NeverFilled(block) || OfItsPlace(block, length, model, a, a2);
}

bool PartsOfTheirKind(const PartRecord* parts, int count) {
  for (int e = 0; e < count; ++e)
    for (int b = 0; b < kMultiBlocks; ++b)
      if (!Taken(parts[e].Blocks.Block(b), BlkLen(b), kModelXg, MultiBlockAddress(b, 0), kAnyPart)) return false;
  return true;
}

bool AnyPartFilled(const PartRecord* parts, int count) {
  return std::any_of(parts, parts + count, [](const PartRecord& p) { return !NeverFilled(p.Blocks); });
}

int WholeParts(int wholeParts) { return std::clamp(wholeParts, 0, kMultiPartCount); }

}  // namespace

bool OfItsKind(const PartRecord& record) { return PartsOfTheirKind(&record, 1); }

bool OfItsKind(const AllMultisRecord& record, int wholeParts) {
  return PartsOfTheirKind(record.Part.data(), WholeParts(wholeParts));
}

bool OfItsKind(const PerformanceRecord& record) {
  return std::all_of(kPerformanceBlocks.begin(), kPerformanceBlocks.end(), [&record](const PerformanceBlock& row) {
    return Taken(BlockField(record, row.id), row.length, row.model, row.address, row.address.a2);
  });
}

bool OfItsKind(const SetupRecord& record) {
  return OfItsKind(record.Multis, kMultiPartCount) && OfItsKind(record.Perf);
}

bool OfItsKind(const LayerPoolRecord& record) {
  return PartsOfTheirKind(record.Entry.data(), static_cast<int>(record.Entry.size()));
}

bool OfItsKind(const WorkspaceRecord& record) {
  return OfItsKind(record.Multis, kMultiPartCount) && OfItsKind(record.Perf) && OfItsKind(record.Pool);
}

bool HoldsData(const PartRecord& record) { return AnyPartFilled(&record, 1); }

bool HoldsData(const AllMultisRecord& record, int wholeParts) {
  return AnyPartFilled(record.Part.data(), WholeParts(wholeParts));
}

bool HoldsData(const PerformanceRecord& record) { return !NeverFilled(record); }

bool HoldsData(const SetupRecord& record) {
  return HoldsData(record.Multis, kMultiPartCount) || HoldsData(record.Perf);
}

bool HoldsData(const WorkspaceRecord& record) {
  return HoldsData(record.Multis, kMultiPartCount) || HoldsData(record.Perf) || record.Pool.PoolCount > 0;
}

}  // namespace qv
