#pragma once
// Everything the editor holds for the whole run: the instrument data and
// what the main window shows besides it (the performance choice, caption and
// layer boxes, the part captions, the channel rows, the Layer Pool rows and
// its selected row, the audition choices, the Midi menu's check marks and
// the switches the multi edit panel last showed).
// Plain data: the windows draw it, the procedures in Session change it and
// tell the windows through EditorView. Texts are Latin-1, one byte per
// character.

#include <array>
#include <compare>
#include <optional>
#include <string>
#include <vector>

#include "instrument/data_model.h"
#include "instrument/multi_params.h"

namespace qv {

inline constexpr int kMultiPartCount = kLastMultiPart - kFirstMultiPart + 1;  // 12

// One row of the Layer Pool list: the name shown and the slot it holds.
struct PoolRow {
  std::string name;
  int slot = 0;
  auto operator<=>(const PoolRow&) const = default;
};

// A layer's name box beside its audition button.
struct LayerBox {
  std::string text;
  bool enabled = true;
};

// What an option group of the multi edit panel shows for a stored value
// that names none of its states: no button selected.
inline constexpr int kNoSwitchState = -1;

// A multi part's name: the first characters of its caption.
inline constexpr std::size_t kNameLength = 10;

// "Multi Part M5" .. "Multi Part M16" for part index 4..15.
std::string DefaultPartCaption(int part);
// A part's caption for a name: the name padded with blanks and cut to 10
// characters, then " M5" .. " M16" for part index 4..15.
std::string PartCaptionFor(const std::string& name, int part);
// The name in a caption: its first 10 characters.
std::string NameInCaption(const std::string& caption);
// A name or caption as buttons, lists and the workspace listing show it:
// every byte below 20 hex (NUL, CR, LF and the like) a blank. Only what is
// shown changes; the state and the files keep the bytes as they are.
std::string ShownName(std::string text);

// The performance panel's choice: preset or user performances, bank 1 or 2,
// and the program 0..127 of that bank (-1 while none is chosen).
struct PerformanceChoice {
  bool user = false;
  bool bank2 = false;
  int program = -1;
};

// A multi part's voice as its stored bytes hold it.
struct PartVoice {
  int msb, lsb, prg;
};

struct EditorState {
  EditorState();

  DataModel Model;  // PartBlk, Performance, the pool record, Busy, EditPart

  // Captions of the multi buttons and rows (0..15) of the channel lists, by
  // part index 4..15; a row of -1 selects no channel.
  std::array<std::string, kMultiPartCount> Captions;
  std::array<int, kMultiPartCount> ChannelRows;
  std::string& Caption(int part);  // throws std::out_of_range outside 4..15
  const std::string& Caption(int part) const;
  int& ChannelRow(int part);
  int ChannelRow(int part) const;
  // The selected channel 0..15; 0 while no row is selected.
  int PartChannel(int part) const;
  PartVoice Voice(int part) const;  // throws std::out_of_range outside 0..15
  // The slider position of a part's stored parameter, at the nearest end of
  // its range when outside it.
  int MultiParamPosition(int part, PartParam param) const;
  // The row of an effect's type table that Com2's MSB and LSB name; none
  // when no row matches.
  std::optional<int> EffectTypeRow(Effect effect) const;

  PerformanceChoice Choice;
  std::string PerformanceCaption = "Performance";
  std::array<LayerBox, 4> LayerBoxes;  // layers 1..4
  LayerBox& Layer(int layer);          // throws std::out_of_range outside 1..4

  // The Layer Pool list in order. A slot is in use exactly when a row holds it.
  std::vector<PoolRow> PoolRows;
  // The row selected in the list (an index of PoolRows), -1 for none.
  int SelectedPoolRow = -1;

  // The audition note and velocity (rows 0..127 of their lists, -1 before
  // the lists are filled).
  int NoteRow = -1;
  int VelocityRow = -1;
  // The Midi menu's check marks: what was last sent for Local Off and
  // Arpeggiator Off, and whether an audition sets the transmit channel.
  bool LocalOff = false;
  bool ArpOff = false;
  bool TransmitChannelAssigned = false;

  // The performance MIDI channel of the preferences in force, 0..15
  // (channel 1..16): the channel of the performance audition and of the
  // instrument's performance. Set through Session::SetPerfChannel.
  int PerfChannel = 0;

  // What the switches of the multi edit panel last showed: portamento 0 or 1,
  // the option groups the index of their selected button or kNoSwitchState.
  // At first the default part's states.
  std::array<int, kEditSwitches> ShownSwitches{0, 1, 1, 0};

  // ---- The edit panels ----------------------------------------------------
  // Which edit panels are shown, and whether the effects are bypassed (the
  // instrument set to no effect, EffSave holding the settings to return to).
  bool MultiEditShown = false;
  bool EffectsShown = false;
  bool EffectsBypassed = false;
  // The part the multi edit panel edits (4..15 once it was opened), and the
  // flag that holds back the sends of code-made changes; both are kept in
  // the instrument data, where the link reads Busy.
  int EditPart() const { return Model.EditPart; }
  bool Busy() const { return Model.Busy; }
};

}  // namespace qv
