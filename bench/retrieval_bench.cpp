// How close a full retrieval comes to the time the MIDI wire itself needs:
// the eight performance blocks and the 60 multi-part blocks are requested
// from the emulated instrument, one transaction each, with the real clock and
// both directions of the wire at 31250 baud (320 us per byte). Prints the
// ratio of the measured time to the wire time as its last line, after the
// same retrieval over real JACK ports.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cs2x_emulator.h"
#include "fake_midi_backend.h"
#include "instrument/messages.h"
#include "jack_retrieval.h"
#include "link/midi_link.h"
#include "scripted_prompts.h"

namespace {

class CountingTrace : public qv::TraceSink {
 public:
  long long lines = 0;  // one per received byte
  void ClearTrace() override {}
  void AddTraceLine(const std::string&) override { ++lines; }
};

constexpr double kMicrosPerByte = 320.0;

}  // namespace

int main() {
  using namespace qv;
  test::FakeMidiBackend backend;
  test::ScriptedPrompts prompts;
  DataModel model;
  CountingTrace trace;
  MidiLink link(backend, prompts, SystemClock(), model, trace);
  if (link.OpenOutput() || link.OpenInput() || link.ConnectThru() || link.StartInput()) {
    std::fprintf(stderr, "could not open the emulated devices\n");
    return 1;
  }
  test::Cs2xEmulator instrument(backend);
  instrument.SimulateWire();
  backend.ClearRecords();

  // Each transaction's time beyond its own wire time, to tell a steady cost
  // of the link from the scheduler's occasional delays.
  std::vector<double> overheadUs;
  auto transaction = [&](const DumpRequest& request) {
    const long long before = trace.lines;
    const auto t0 = std::chrono::steady_clock::now();
    link.RtrvDump(request);
    const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
    overheadUs.push_back(us - static_cast<double>(8 + trace.lines - before) * kMicrosPerByte);
  };
  const auto start = std::chrono::steady_clock::now();
  for (PerfBlock block : kRetrievalOrder) transaction(DumpRequest::ForPerformance(block));
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    for (int block = 0; block < kMultiBlocks; ++block) transaction(DumpRequest::ForMultiPart(part, block));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  std::sort(overheadUs.begin(), overheadUs.end());

  // Every block must have arrived, or the time means nothing.
  int missing = 0;
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    for (int block = 0; block < kMultiBlocks; ++block) {
      const Address a = MultiBlockAddress(block, part);
      const Bytes expected = instrument.BulkDump(kModelXg, a.a1, a.a2, a.a3);
      const Byte* stored = model.PartBlk.Block(block, part);
      missing += Bytes(stored, stored + expected.size()) != expected;
    }
  const Bytes com1 = instrument.BulkDump(kModelCs, 0x60, 0x00, 0x00);
  missing += Bytes(model.Performance.Com1.begin(), model.Performance.Com1.begin() + 63) != com1;

  long long requestBytes = 0;
  const auto sent = backend.Sent();
  for (const Bytes& m : sent) requestBytes += static_cast<long long>(m.size());
  const long long replyBytes = trace.lines;
  const double measuredMs = std::chrono::duration<double, std::milli>(elapsed).count();
  const double wireMs = static_cast<double>(requestBytes + replyBytes) * kMicrosPerByte / 1000.0;
  const double ratio = measuredMs / wireMs;

  std::printf("transactions: %zu, missing blocks: %d, boxes: %zu\n", sent.size(), missing, prompts.Messages().size());
  std::printf("request bytes: %lld, reply bytes: %lld\n", requestBytes, replyBytes);
  std::printf("measured: %.3f ms, wire: %.3f ms\n", measuredMs, wireMs);
  std::printf("overhead per transaction: min %.0f us, median %.0f us, max %.0f us\n", overheadUs.front(),
              overheadUs[overheadUs.size() / 2], overheadUs.back());
  const int jack = RunJackRetrieval() | RunJackGone();
  std::printf("retrieval/wire ratio: %.3f\n", ratio);
  return missing == 0 && prompts.Messages().empty() && jack == 0 ? 0 : 1;
}
