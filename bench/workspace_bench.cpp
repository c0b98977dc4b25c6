// How close a workspace load and a workspace save come to the time the MIDI
// wire itself needs, against the emulated instrument with the real clock and
// both directions of the wire at 31250 baud (320 us per byte).
//  - load: 60 part blocks, 12 channel messages and 8 performance messages;
//  - save: the performance retrieved again (8 transactions between the two
//    performance channel messages), then the 27850 bytes written.
// Prints "workspace load/wire ratio: R" and, last, "workspace save/wire
// ratio: R".

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cs2x_emulator.h"
#include "editor/session.h"
#include "fake_midi_backend.h"
#include "files/file_steps.h"
#include "link/midi_link.h"
#include "scripted_prompts.h"

namespace {

class CountingView : public qv::EditorView {
 public:
  long long lines = 0;  // one per received byte
  void ClearTrace() override {}
  void AddTraceLine(const std::string&) override { ++lines; }
};

constexpr double kMicrosPerByte = 320.0;

long long SentBytes(const qv::test::FakeMidiBackend& backend) {
  long long n = 0;
  for (const qv::Bytes& m : backend.Sent()) n += static_cast<long long>(m.size());
  return n;
}

}  // namespace

int main() {
  using namespace qv;
  namespace fs = std::filesystem;
  test::FakeMidiBackend backend;
  test::ScriptedPrompts prompts;
  EditorState state;
  CountingView view;
  MidiLink link(backend, prompts, SystemClock(), state.Model, view);
  if (link.OpenOutput() || link.OpenInput() || link.ConnectThru() || link.StartInput()) {
    std::fprintf(stderr, "could not open the emulated devices\n");
    return 1;
  }
  test::Cs2xEmulator instrument(backend);
  Session session(state, link, view);
  FileSteps steps(session);

  // A workspace in use, made before the wire is slowed down.
  session.ClearPool();
  session.RtrvAllMultis();
  session.RtrvPerformance();
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) session.SetChannelRow(part, part);
  for (int k = 0; k < 20; ++k) session.StorePartInPool(kFirstMultiPart + k % 12);
  const fs::path dir = fs::temp_directory_path() / "qv_workspace_bench";
  fs::create_directories(dir);
  const std::string path = (dir / "bench.qvw").string();
  if (!steps.SaveWorkspaceFile(path)) {
    std::fprintf(stderr, "could not write %s\n", path.c_str());
    return 1;
  }
  instrument.SimulateWire();
  instrument.WaitIdle();
  backend.ClearRecords();

  // Load.
  auto t0 = std::chrono::steady_clock::now();
  const LoadResult loaded = steps.LoadWorkspaceFile(path);
  const double loadMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  const std::size_t loadMessages = backend.Sent().size();
  const double loadWireMs = static_cast<double>(SentBytes(backend)) * kMicrosPerByte / 1000.0;
  instrument.WaitIdle();
  backend.ClearRecords();

  // Save.
  const long long linesBefore = view.lines;
  t0 = std::chrono::steady_clock::now();
  const FileWriteResult saved = steps.SaveWorkspaceFile(path);
  const double saveMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  const long long replyBytes = view.lines - linesBefore;
  const double saveWireMs = static_cast<double>(SentBytes(backend) + replyBytes) * kMicrosPerByte / 1000.0;
  fs::remove_all(dir);

  std::printf("load: %zu messages, measured %.3f ms, wire %.3f ms\n", loadMessages, loadMs, loadWireMs);
  std::printf("save: %zu messages, %lld reply bytes, measured %.3f ms, wire %.3f ms\n", backend.Sent().size(),
              replyBytes, saveMs, saveWireMs);
  std::printf("workspace load/wire ratio: %.3f\n", loadMs / loadWireMs);
  std::printf("workspace save/wire ratio: %.3f\n", saveMs / saveWireMs);
  const bool ok = loaded == LoadResult::kLoaded && saved.ok && loadMessages == 80 && prompts.Messages().empty();
  return ok ? 0 : 1;
}
