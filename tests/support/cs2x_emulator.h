#pragma once
// An emulated CS2x on the far side of a FakeMidiBackend: it holds a
// performance (Com0..Com3, Lyr1..Lyr4) and the XG multi parts 0..15, answers
// dump requests with correct bulk dumps from its own thread, applies
// parameter changes and bulk dumps it receives, changes performance on a
// performance selection, and records every message it receives.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fake_midi_backend.h"
#include "instrument/bytes.h"

namespace qv::test {

class Cs2xEmulator {
 public:
  explicit Cs2xEmulator(FakeMidiBackend& backend);
  ~Cs2xEmulator();
  Cs2xEmulator(const Cs2xEmulator&) = delete;
  Cs2xEmulator& operator=(const Cs2xEmulator&) = delete;

  // Behaviour, set before the messages it should affect (the emulator's
  // thread reads it while the test runs).
  std::atomic<bool> silent{false};               // answers no request
  std::atomic<std::chrono::microseconds> replyDelay{std::chrono::microseconds(0)};
  std::atomic<bool> foreignBeforeReply{false};   // a foreign SysEx precedes each reply
  std::atomic<bool> corruptChecksum{false};      // replies carry a wrong checksum
  std::atomic<bool> shortReplies{false};         // replies lose their last five data bytes
  std::atomic<int> wireMicrosPerByte{0};         // 320 simulates MIDI at 31250 baud, both ways

  // Simulates the wire at 31250 baud in both directions.
  void SimulateWire();

  // The instrument's memory, by model (0x63 or 0x4C) and address.
  Byte Param(Byte model, Byte a1, Byte a2, Byte a3) const;
  void SetParam(Byte model, Byte a1, Byte a2, Byte a3, Byte value);
  void SetPerformanceName(const std::string& name);  // 8 characters
  std::string PerformanceName() const;
  void SetLayerSwitch(int layer, Byte value);
  // The bulk dump the emulator would send for a block.
  Bytes BulkDump(Byte model, Byte a1, Byte a2, Byte a3) const;

  // Last performance selection (bank LSB, program), 0xFF before any.
  std::atomic<Byte> selectedBankLsb{0xFF}, selectedProgram{0xFF};

  // Every message received, in order. Waits for queued messages first.
  std::vector<Bytes> Received();
  void ClearReceived();
  // Waits until every message sent so far has been handled.
  void WaitIdle();

 private:
  struct Block {
    Byte model, a1, a2, a3;
    std::vector<Byte> data;
  };
  Block* Find(Byte model, Byte a1, Byte a2, Byte a3, int* offset);
  const Block* Find(Byte model, Byte a1, Byte a2, Byte a3, int* offset) const;
  void Run();
  void Handle(const Bytes& m);
  void Reply(const Bytes& m);
  void LoadPerformance(Byte bankLsb, Byte program);

  FakeMidiBackend& backend_;
  std::vector<Block> blocks_;
  mutable std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::deque<Bytes> queue_;
  std::vector<Bytes> received_;
  bool busy_ = false, stop_ = false;
  std::thread thread_;
};

}  // namespace qv::test
