#pragma once
// Whether a record read from a file is of its kind: the length test lets
// any bytes through, so a loader also looks at the places where its kind
// keeps the instrument's blocks. A block there carries the header of the
// block it stands for: the model (byte 3) and the address (bytes 6..8) the
// instrument gives it. A record is of its kind when at least one of its
// blocks carries its header, or when none of them was ever filled: no
// message came into it, so its header bytes are zero (all but the part
// number, which the loads set; edits may have set its data bytes). So a
// file this program wrote, in which the blocks came from the instrument,
// from the default multi part or from nowhere yet, always passes.
//
//   kind          blocks looked at
//   single multi  the five blocks of the part
//   all multis    the five blocks of each whole part loaded (at most 12)
//   performance   Lyr1..Lyr4, Com0..Com3
//   setup         the 12 parts and the performance
//   layer pool    the five blocks of each of the 129 entries
//   workspace     the setup's blocks and the pool's
//
// A multi-part block's part number (byte 7) is not looked at: a loader sets
// it to the part it loads into.

#include <cstddef>

#include "files/records.h"

namespace qv {

bool OfItsKind(const PartRecord& record);
bool OfItsKind(const AllMultisRecord& record, int wholeParts);
bool OfItsKind(const PerformanceRecord& record);
bool OfItsKind(const SetupRecord& record);
bool OfItsKind(const LayerPoolRecord& record);
bool OfItsKind(const WorkspaceRecord& record);

}  // namespace qv
