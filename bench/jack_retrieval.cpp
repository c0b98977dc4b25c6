// The same 68-block retrieval over real JACK ports: the program's RtMidi
// backend on one side, the emulated CS2x as a JACK client on the other.
// Informational: the JACK period, not the wire, sets its pace.

#include "jack_retrieval.h"

#include <jack/jack.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <cstdio>
#include <string>

#include "instrument/messages.h"
#include "jack_ports.h"
#include "link/midi_link.h"
#include "link/rtmidi_backend.h"
#include "scripted_prompts.h"

namespace {

class NoTrace : public qv::TraceSink {
 public:
  void ClearTrace() override {}
  void AddTraceLine(const std::string&) override {}
};

// The server's period in milliseconds, or 0.
double PeriodMs() {
  jack_client_t* client = jack_client_open(("period probe-" + std::to_string(::getpid())).c_str(), JackNoStartServer, nullptr);
  if (!client) return 0;
  const double ms = 1000.0 * jack_get_buffer_size(client) / jack_get_sample_rate(client);
  jack_client_close(client);
  return ms;
}

}  // namespace

int RunJackRetrieval() {
  using namespace qv;
  if (!RtMidiBackend::JackServerRunning()) {
    std::printf("retrieval over jack: skipped, no JACK server is running\n");
    return 0;
  }
  test::JackCs2x cs2x(test::UniqueClientName("CS2x"));
  RtMidiBackend backend(MidiApi::Jack, test::UniqueClientName("Quorvane"));
  test::ScriptedPrompts prompts;
  DataModel model;
  NoTrace trace;
  MidiLink link(backend, prompts, SystemClock(), model, trace);
  link.MidiOutDev = test::OutputDevice(backend, cs2x.InPort());
  link.MidiInDev = test::InputDevice(backend, cs2x.OutPort());
  if (!cs2x.Ready() || link.OpenOutput() || link.OpenInput() || link.ConnectThru() || link.StartInput()) {
    std::fprintf(stderr, "retrieval over jack: could not open the ports\n");
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  for (PerfBlock block : kRetrievalOrder) link.RtrvDump(DumpRequest::ForPerformance(block));
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    for (int block = 0; block < kMultiBlocks; ++block) link.RtrvDump(DumpRequest::ForMultiPart(part, block));
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

  int missing = 0;
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    for (int block = 0; block < kMultiBlocks; ++block) {
      const Address a = MultiBlockAddress(block, part);
      const Bytes expected = cs2x.Instrument().BulkDump(kModelXg, a.a1, a.a2, a.a3);
      const Byte* stored = model.PartBlk.Block(block, part);
      missing += Bytes(stored, stored + expected.size()) != expected;
    }
  std::printf("retrieval over jack: %.0f ms for 68 blocks (%.2f ms period)\n", ms, PeriodMs());
  if (missing) std::printf("retrieval over jack: %d multi blocks missing\n", missing);
  return missing == 0 && prompts.Messages().empty() ? 0 : 1;
}

// The instrument's clients close; then Retrieve > All Multis, one command of
// 60 transactions, must end at once with one box.
int RunJackGone() {
  using namespace qv;
  if (!RtMidiBackend::JackServerRunning()) {
    std::printf("gone: skipped, no JACK server is running\n");
    return 0;
  }
  auto cs2x = std::make_unique<test::JackCs2x>(test::UniqueClientName("CS2x-gone"));
  RtMidiBackend backend(MidiApi::Jack, test::UniqueClientName("Quorvane-gone"));
  test::ScriptedPrompts prompts;
  DataModel model;
  NoTrace trace;
  MidiLink link(backend, prompts, SystemClock(), model, trace);
  link.MidiOutDev = test::OutputDevice(backend, cs2x->InPort());
  link.MidiInDev = test::InputDevice(backend, cs2x->OutPort());
  if (!cs2x->Ready() || link.OpenOutput() || link.OpenInput() || link.ConnectThru() || link.StartInput()) {
    std::fprintf(stderr, "gone: could not open the ports\n");
    return 1;
  }
  cs2x.reset();
  const auto start = std::chrono::steady_clock::now();
  {
    MidiLink::CommandScope command(link);
    for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
      for (int block = 0; block < kMultiBlocks; ++block) link.RtrvDump(DumpRequest::ForMultiPart(part, block));
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("gone: %.0f ms for Retrieve All Multis after the instrument went away\n", ms);
  return ms < 1000 && prompts.Messages().size() == 1 ? 0 : 1;
}

