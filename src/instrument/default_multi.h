#pragma once
// The default multi part: five XG bulk dumps with every byte fixed but the
// part number (byte 7 of each block) and the receive channel (byte 13 of
// block 0).

#include "instrument/data_model.h"

namespace qv {

// Writes default block `block` (0..4) for part number `part` and receive
// channel `channel` into `out` (BlkLen(block) bytes), checksum included.
void WriteDefaultBlock(int block, Byte part, Byte channel, Byte* out);

// The default multi part, part number 10 and receive channel 10, into
// DefMultiSyx. Sends nothing.
void BuildDefaultMultiTemplate(DataModel& model);

}  // namespace qv
