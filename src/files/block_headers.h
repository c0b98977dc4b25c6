#pragma once
// What a record read from a file holds: the length test lets any bytes
// through, so a loader also looks at the places where its kind keeps the
// instrument's blocks. A block there is taken only when it was never filled
// (NeverFilled: no message came into it) or is a block of its place:
//  - a whole message (IsWholeMessage, the test a block passes before it is
//    sent): F0 at byte 0 and F7 at the end of its length, with every byte
//    between them below 80 hex, so that nothing in it can act as a status
//    byte;
//  - the model (byte 3) and the address (bytes 6..8) the instrument gives
//    the block at that place.
// A multi-part block's part number (byte 7) and every checksum are not
// compared: the loads set the one and the sends compute the other. A record
// with any other block is not of its kind and is refused whole. So a file
// this program wrote, in which the blocks came from the instrument, from the
// default multi part or from nowhere yet, always passes.
//
//   kind          blocks looked at
//   single multi  the five blocks of the part
//   all multis    the five blocks of each whole part loaded (at most 12)
//   performance   Com0..Com3, Lyr1..Lyr4
//   setup         the 12 parts and the performance
//   layer pool    the five blocks of each of the 129 entries
//   workspace     the setup's blocks and the pool's
//
// The performance's two copies of Com2 (EffOrig, EffSave) are not looked
// at: the program takes them anew before it sends either.

#include "files/records.h"

namespace qv {

bool OfItsKind(const PartRecord& record);
bool OfItsKind(const AllMultisRecord& record, int wholeParts);
bool OfItsKind(const PerformanceRecord& record);
bool OfItsKind(const SetupRecord& record);
bool OfItsKind(const LayerPoolRecord& record);
bool OfItsKind(const WorkspaceRecord& record);

// Whether a record holds anything from the instrument: a block of the parts
// or of the performance that was filled, or in a workspace a Layer Pool row.
// A Layer Pool file always does: its rows, even none, replace the pool.
bool HoldsData(const PartRecord& record);
bool HoldsData(const AllMultisRecord& record, int wholeParts);
bool HoldsData(const PerformanceRecord& record);
bool HoldsData(const SetupRecord& record);
bool HoldsData(const WorkspaceRecord& record);

}  // namespace qv
