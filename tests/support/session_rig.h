#pragma once
// A session wired to the fake MIDI service with an emulated CS2x on its far
// side, a recording view, scripted boxes and a clock that does not sleep.
// Output and input are open; MIDI thru follows the link's own rules.

#include <chrono>

#include "cs2x_emulator.h"
#include "editor/session.h"
#include "fake_midi_backend.h"
#include "fast_clock.h"
#include "link/midi_link.h"
#include "recording_session_view.h"
#include "scripted_prompts.h"

namespace qv::test {

struct SessionRig {
  FakeMidiBackend backend;
  Cs2xEmulator instrument{backend};
  ScriptedPrompts prompts;
  FastClock clock;
  EditorState state;
  DataModel& model = state.Model;
  RecordingSessionView view;
  MidiLink link{backend, prompts, clock, model, view};
  Session session{state, link, view};

  SessionRig() {
    // An answer from the emulator's thread comes well within this; a silent
    // instrument is made to time out at once (see Silence()).
    clock.realWait = std::chrono::milliseconds(2000);
    view.state = &state;
    link.OpenOutput();
    link.OpenInput();
    link.ConnectThru();
    link.StartInput();
    backend.ClearRecords();
  }

  // The instrument answers nothing and each wait ends at once.
  void Silence() {
    instrument.silent = true;
    clock.realWait = std::chrono::milliseconds(0);
  }

  // Every message that left, once the instrument has handled them.
  std::vector<Bytes> Sent() {
    instrument.WaitIdle();
    return backend.Sent();
  }
};

}  // namespace qv::test
