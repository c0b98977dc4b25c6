#pragma once
// The live preference values the main window reads: the controls of the
// preferences dialog, which stays loaded for the whole run.

#include <QString>

namespace qv {

class StartupPreferences {
 public:
  virtual ~StartupPreferences() = default;
  virtual int PerfChannelRow() const = 0;        // 0..15
  virtual int MidiInDevRow() const = 0;
  virtual int MidiOutDevRow() const = 0;
  virtual bool RetrieveAtStart(int multi) const = 0;  // multi 5..16
  virtual bool LoadWorkspaceAtStart() const = 0;
  virtual QString WorkspacePath() const = 0;
  virtual int Density() const = 0;               // the MIDI file density slider, 0..7
  virtual void ShowPreferences() = 0;            // File > "Startup Preferences"
};

}  // namespace qv
