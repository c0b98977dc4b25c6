#pragma once
// The CS2x message catalogue: every message the program sends is built here,
// byte by byte. Addresses are three bytes, most significant first.

#include <cstddef>

#include "instrument/bytes.h"

namespace qv {

constexpr Byte kModelCs = 0x63;  // the CS2x's own parameters
constexpr Byte kModelXg = 0x4C;  // XG multi-part parameters

// Checksum of a bulk dump of length len (stands at index len - 2):
// (128 - (sum of bytes 4 .. len - 3) mod 128) mod 128.
Byte BulkChecksum(const Byte* msg, std::size_t len);
// Writes BulkChecksum into msg[len - 2]. Does nothing for len < 6.
void StoreBulkChecksum(Byte* msg, std::size_t len);

Bytes CsParmChange(Byte a1, Byte a2, Byte a3, Byte d);
Bytes CsParmChange(Byte a1, Byte a2, Byte a3, Byte d1, Byte d2);
Bytes XgParmChange(Byte a1, Byte a2, Byte a3, Byte d);
Bytes XgParmChange(Byte a1, Byte a2, Byte a3, Byte d1, Byte d2);
Bytes DevParmChange(Byte model, Byte a1, Byte a2, Byte a3, Byte d);
Bytes CsDumpRequest(Byte a1, Byte a2, Byte a3);
Bytes XgDumpRequest(Byte a1, Byte a2, Byte a3);
Bytes XgParmRequest(Byte a1, Byte a2, Byte a3);

// Channel messages; channel is 0..15.
Bytes AllNotesOff(int channel);
Bytes NoteOn(int channel, Byte note, Byte velocity);
Bytes NoteOff(int channel, Byte note, Byte velocity);
Bytes PerfSelect(Byte bankLsb, Byte program);
Bytes CtrlChange(int channel, Byte controller, Byte value);

// Dump requests of the performance blocks and of the multi-part blocks.
Bytes RqstCom0();
Bytes RqstCom1();
Bytes RqstCom2();
Bytes RqstCom3();
Bytes RqstLyr(int layer);  // layer 1..4: RqstLyr1 .. RqstLyr4
// multi 5..16, block 0..4.
Bytes RqstMulti(int multi, int block);

// Start address of multi-part block 0..4 of part index pp.
struct Address {
  Byte a1, a2, a3;
};
Address MultiBlockAddress(int block, int partIndex);

// Appends `more` to `into`: several messages leave as one buffer.
void Append(Bytes& into, const Bytes& more);

}  // namespace qv
