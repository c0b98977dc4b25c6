#pragma once
// The editor core: the editor state, the MIDI link, the editor's procedures,
// the file steps and the preferences in force, as one object. The program
// builds it beside its windows; tests build it alone. Windows read the state
// and change it only through the procedures.

#include "editor/editor_state.h"
#include "editor/editor_view.h"
#include "editor/session.h"
#include "files/file_steps.h"
#include "files/preferences_record.h"
#include "link/clock.h"
#include "link/midi_backend.h"
#include "link/midi_link.h"
#include "link/prompts.h"

namespace qv {

namespace test {
struct InstrumentData;
}  // namespace test

class EditorCore {
 public:
  EditorCore(MidiBackend& backend, Prompts& prompts, Clock& clock, EditorView& view);
  EditorCore(const EditorCore&) = delete;
  EditorCore& operator=(const EditorCore&) = delete;

  const EditorState& State() const { return state_; }
  Session& Editor() { return session_; }
  FileSteps& Files() { return files_; }

  // ---- Preferences ---------------------------------------------------------
  // The preferences in force, as the preferences dialog handed them over;
  // the performance channel is the editor state's.
  PreferencesRecord Preferences() const;
  // OK in the preferences dialog: the record comes into force; nothing is sent.
  void SetPreferences(const PreferencesRecord& record);
  // When a MIDI device is known gone: the devices of the preferences in
  // force are opened again (one that came back under its name is found
  // again). Otherwise nothing happens.
  void ReopenDevices() { link_.ReopenDevices(preferences_.MidiOutDevIdx, preferences_.MidiInDevIdx); }
  // The performance channel chosen after start-up (row 0..15): kept, then
  // ChngPrfMidiChan records it in Com0 and sends it.
  void ChangePerformanceChannel(int row);

  // ---- Start-up ------------------------------------------------------------
  // The start-up work, with Busy set throughout: the pool slots freed, the
  // parts' channel rows and captions set, the devices opened, the first
  // preset performance selected and retrieved again, the start-up workspace
  // loaded and each part it did not bring retrieved or initialised by its
  // box, the channel rows set from the parts, MIDI thru started and the
  // performance channel sent. The lists of programs and effects do not wait for the devices:
  // they are filled before. False when the output device could not be
  // opened: then nothing is selected, retrieved or sent.
  bool StartupWork();

 private:
  // A test's rig (tests/support/instrument_data.h) prepares the instrument
  // data before it drives the windows.
  friend struct test::InstrumentData;

  bool RunStartup();
  // Loads the start-up workspace; false when it was not loaded.
  bool LoadStartupWorkspace(const std::string& path);

  Prompts& prompts_;
  EditorState state_;
  MidiLink link_;
  Session session_;
  FileSteps files_;
  PreferencesRecord preferences_;  // its PerfChannel is not read: the state holds the channel
};

}  // namespace qv
