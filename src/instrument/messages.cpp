#include "instrument/messages.h"

#include <initializer_list>

namespace qv {

Byte BulkChecksum(const Byte* msg, std::size_t len) {
  unsigned sum = 0;
  for (std::size_t i = 4; i + 3 <= len; ++i) sum += msg[i];
  return static_cast<Byte>((128 - sum % 128) % 128);
}

void StoreBulkChecksum(Byte* msg, std::size_t len) {
  if (len < 6) return;
  msg[len - 2] = BulkChecksum(msg, len);
}

namespace {
// F0 43 type model a1 a2 a3, the data bytes, F7.
Bytes Sysex(Byte type, Byte model, Byte a1, Byte a2, Byte a3, std::initializer_list<Byte> data = {}) {
  Bytes m = {0xF0, 0x43, type, model, a1, a2, a3};
  for (Byte d : data) m.push_back(d);
  m.push_back(0xF7);
  return m;
}
}  // namespace

Bytes CsParmChange(Byte a1, Byte a2, Byte a3, Byte d) { return Sysex(0x10, kModelCs, a1, a2, a3, {d}); }
Bytes CsParmChange(Byte a1, Byte a2, Byte a3, Byte d1, Byte d2) {
  return Sysex(0x10, kModelCs, a1, a2, a3, {d1, d2});
}
Bytes XgParmChange(Byte a1, Byte a2, Byte a3, Byte d) { return Sysex(0x10, kModelXg, a1, a2, a3, {d}); }
Bytes XgParmChange(Byte a1, Byte a2, Byte a3, Byte d1, Byte d2) {
  return Sysex(0x10, kModelXg, a1, a2, a3, {d1, d2});
}
Bytes DevParmChange(Byte model, Byte a1, Byte a2, Byte a3, Byte d) { return Sysex(0x10, model, a1, a2, a3, {d}); }
Bytes CsDumpRequest(Byte a1, Byte a2, Byte a3) { return Sysex(0x20, kModelCs, a1, a2, a3); }
Bytes XgDumpRequest(Byte a1, Byte a2, Byte a3) { return Sysex(0x20, kModelXg, a1, a2, a3); }
Bytes XgParmRequest(Byte a1, Byte a2, Byte a3) { return Sysex(0x30, kModelXg, a1, a2, a3); }

static Byte Chan(int channel) { return static_cast<Byte>(channel & 0x0F); }

Bytes AllNotesOff(int channel) { return {static_cast<Byte>(0xB0 | Chan(channel)), 0x7B, 0x00}; }
Bytes NoteOn(int channel, Byte note, Byte velocity) {
  return {static_cast<Byte>(0x90 | Chan(channel)), note, velocity};
}
Bytes NoteOff(int channel, Byte note, Byte velocity) {
  return {static_cast<Byte>(0x80 | Chan(channel)), note, velocity};
}
Bytes PerfSelect(Byte bankLsb, Byte program) {
  return {0xB0, 0x00, 0x3F, 0xB0, 0x20, bankLsb, 0xC0, program};
}
Bytes CtrlChange(int channel, Byte controller, Byte value) {
  return {static_cast<Byte>(0xB0 | Chan(channel)), controller, value};
}

Bytes RqstCom0() { return CsDumpRequest(0x50, 0x00, 0x00); }
Bytes RqstCom1() { return CsDumpRequest(0x60, 0x00, 0x00); }
Bytes RqstCom2() { return CsDumpRequest(0x60, 0x00, 0x40); }
Bytes RqstCom3() { return CsDumpRequest(0x60, 0x00, 0x60); }
Bytes RqstLyr(int layer) { return CsDumpRequest(0x60, static_cast<Byte>(layer & 0x0F), 0x00); }

Address MultiBlockAddress(int block, int partIndex) {
  static constexpr Byte kHigh[5] = {0x08, 0x08, 0x08, 0x08, 0x0A};
  static constexpr Byte kLow[5] = {0x00, 0x30, 0x70, 0x74, 0x20};
  const int b = (block >= 0 && block < 5) ? block : 0;
  return {kHigh[b], static_cast<Byte>(partIndex & 0x7F), kLow[b]};
}

Bytes RqstMulti(int multi, int block) {
  const Address a = MultiBlockAddress(block, multi - 1);
  return XgDumpRequest(a.a1, a.a2, a.a3);
}

void Append(Bytes& into, const Bytes& more) { into.insert(into.end(), more.begin(), more.end()); }

}  // namespace qv
