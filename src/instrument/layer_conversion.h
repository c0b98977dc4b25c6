#pragma once
// A layer of the current performance turned into the XG multi-part form, so
// that it can go into the Layer Pool and later onto a multi part.

#include "instrument/data_model.h"

namespace qv {

// Reads the layer's bulk dump in SxBuf (from F0) and the performance common
// values at Com1 indices 39..41, and writes the multi-part parameters they
// give into DefMultiSyx, which must hold the default multi part. Every other
// byte keeps its default, part number 10 and receive channel 10 included.
// The checksums are left alone: a block gets its checksum when it is sent.
void CnvLyrToMult(DataModel& model);

// The volume a layer's level byte gives: level / 2, halves to the even
// neighbour.
Byte LayerVolume(Byte level);

}  // namespace qv
