#pragma once
// An effect block (Com2) for the effects tests: reverb ROOM 2 (row 4),
// chorus ENSEMBLE DETUNE (13), variation PHASER 2 (43), sends 10, 20, 30.

#include <array>

#include "hex.h"
#include "instrument/bytes.h"
#include "instrument/messages.h"

namespace qv::test {

inline Bytes SampleCom2() {
  Bytes m = ParseHex("F0 43 00 63 00 17 60 00 40 02 01 57 00 48 08");
  m.resize(34, 0);
  m[29] = 10, m[30] = 20, m[31] = 30, m[33] = 0xF7;
  StoreBulkChecksum(m.data(), m.size());
  return m;
}

// The message held in a stored effect block (its first 34 bytes).
inline Bytes Head(const std::array<Byte, 35>& field) { return Bytes(field.begin(), field.begin() + 34); }

}  // namespace qv::test
