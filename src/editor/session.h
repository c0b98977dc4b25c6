#pragma once
// The editor's procedures: every change to the EditorState that the windows
// or a file step make goes through one call here, which stores, sends to the
// instrument where the change calls for it, and tells the view.
//  - the performance: selection, retrieval and the performance MIDI channel;
//  - the multi parts: captions, channel rows, initialisation, retrieval;
//  - the Layer Pool: its rows, slots and copies into the parts;
//  - the audition notes;
//  - the edit panels: the multi part parameters, switches and voice, the
//    effect types, sends, bypass and reset, and which panel is shown.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor_state.h"
#include "editor/editor_view.h"
#include "instrument/multi_params.h"
#include "link/midi_link.h"

namespace qv {

class Session {
 public:
  Session(EditorState& state, MidiLink& link, EditorView& view);

  const EditorState& State() const { return state_; }

  const DataModel& Model() const { return state_.Model; }

  // One user command: within it each MIDI error box is shown once. Scopes
  // nest; the outermost one starts and ends the command.
  class CommandScope {
   public:
    explicit CommandScope(Session& session) : scope_(session.link_) {}

   private:
    MidiLink::CommandScope scope_;
  };

  // ---- Performance (performance.cpp) --------------------------------------
  // The preferences' performance channel (0..15; others count as 0): kept,
  // nothing sent.
  void SetPerfChannel(int channel) { state_.PerfChannel = channel >= 0 && channel <= 15 ? channel : 0; }
  int PerfChannel() const { return state_.PerfChannel; }
  void SendPerfMidiChannelZero();
  void SendPerfMidiChannel();
  void PutPerfChannelInCom0();
  void ChngPrfMidiChan();
  // The performance panel's kind (preset or user) and bank: kept, nothing
  // sent. Choosing a kind lists its programs again with none chosen; choosing
  // a bank does so only for the presets (the user programs are the numbers
  // 1 .. 128 in both banks, and their choice stays).
  void ChoosePerformanceKind(bool user);
  void ChoosePerformanceBank(bool bank2);
  // Selects program 0..127 (others: 0) of the bank on the instrument, then
  // retrieves it and tells the effects panel. The choice is kept first; the
  // retrieval shows it with the performance.
  void SelectPerformance(bool user, bool bank2, int program);
  // The eight performance blocks into the performance record, then the name
  // and layers shown.
  void RtrvPerformance();
  // A performance from a file: it becomes the performance, takes the
  // performance channel in Com0 and goes to the instrument (Com0 .. Com3,
  // then the layers); its name and layers are shown and a bypass of its
  // effects ends. Each block of it never filled leaves the performance's own
  // block as it is and unsent; one with no block filled changes nothing.
  void PutPerformance(const PerformanceRecord& record);
  // The performance name as eight characters of Com1.
  std::string PerformanceName() const;
  // The performance caption, and the layer boxes from LyrSw: a layer with a
  // switch of 1 shows the name and its letter, the others 9 blanks, disabled.
  void ShowPerformance(const std::string& name);

  // ---- Multi parts -----------------------------------------------------------
  // Parts outside 4..15 are left alone; a caption as it stands tells nobody.
  void SetPartCaption(int part, const std::string& caption);
  // The channel list's rule: the row (outside 0..15: none) is shown; while
  // Busy is clear the channel goes into byte 13 of block 0 and to the
  // instrument.
  void SetChannelRow(int part, int row);
  void InitMultiPart(int part);  // part index 4..15; others get the blocks only
  // Initialize > Multi: the part, its default caption, the edit panel's name.
  void InitMlt(int part);
  void InitMltall();
  void RtrvMultiPart(int part);   // part index 4..15
  void RtrvAllMultis();           // 60 transactions, part by part

  // ---- Edit panels (edit_panels.cpp) --------------------------------------
  // Edit > Multi: the multi edit panel opens on part 4..15 (others do
  // nothing). The part's caption takes the name rule and the switches follow
  // its stored bytes (ShowEditSwitches, which may send), then the panel fills.
  void EditMult(int part);
  // Edit > Effects: the effects panel opens; EffOrig := Com2. Sends nothing.
  void OpenEffectsPanel();
  void HideEffectsPanel();
  void HideMultiEditPanel();
  // The effects of a performance just sent stand: the bypass ends, unsent.
  void EndEffectsBypass();
  // The part the multi edit panel shows (4..15; others are ignored).
  void SetEditPart(int part);
  // The multi edit panel's switches follow the edited part's stored bytes:
  // each one whose shown state changes stores and sends its value, in the
  // order portamento (08 pp 67), key assign (06), mono/poly (05), part mode
  // (07). A stored value that names no state shows none and sends nothing.
  void ShowEditSwitches();
  // A switch set by the user: shown, stored in the edited part and sent.
  void SetEditSwitch(EditSwitch which, int value);
  // The voice of part 4..15: bank MSB, LSB and program, each 0..127, stored
  // and sent in one message; anything else does nothing.
  void SetVoice(int part, int msb, int lsb, int prg);
  // Parameter `param` at slider position `position` (clamped to its
  // range), stored in the edited part and sent as one XG parameter change.
  // Nothing happens before the panel was opened.
  void SetMultiParam(PartParam param, int position);
  // The name typed for the edited part: its caption by the name rule.
  void SetEditedName(const std::string& name);
  // The type of `effect` takes row `row` of its table: stored in Com2 and
  // sent; nothing while Busy is set.
  void SetEffectType(Effect effect, int row);
  // An effect send takes level 0..127 (clamped): stored and sent.
  void SetEffectSend(EffectSend send, int level);
  // Bypass on: EffSave := Com2, and the instrument goes to no effect. Off:
  // the block in EffSave goes back into Com2 and to the instrument whole.
  void SetEffectsBypass(bool on);
  // Reset: the bypass ends, the block in EffOrig goes back and the panel
  // fills again.
  void ResetEffects();

  // ---- Layer Pool (layer_pool.cpp) -----------------------------------------
  // The one way a multi part's blocks reach a part: part index 4..15 (others
  // do nothing) takes the five blocks with its own part number in each and,
  // when `channel` is given, that receive channel in block 0 (else the
  // blocks' own); each block leaves as it is stored. A block never filled
  // leaves the part's own block as it is and sends nothing.
  void PutPart(int part, const MultiBlocks& blocks, std::optional<Byte> channel);
  int LowestFreePoolSlot() const;  // -1 when every slot is in use
  // Out-of-range slots (outside 0..127) and parts (outside 4..15) do nothing.
  void SavePoolSlot(int slot);
  void LdMultToDef(int part);
  void SndPoolToMult(int part, int slot);
  // A layer (1..4) or a multi part (4..15) becomes a new pool row in the
  // lowest free slot; false (after the box) when the pool is full. Each first
  // makes the default part again, also for a layer or part it does not take.
  bool StoreLayerInPool(int layer);
  bool StorePartInPool(int part);
  // The row selected in the pool list (outside the rows: none). The list
  // selects it itself, so nothing is told.
  void SelectPoolRow(int row);
  // Asks, then deletes the row and frees its slot. The selected row stays on
  // its entry; when it is the row deleted, the selection passes to the row
  // that takes its place, or to the new last row.
  void DeletePoolRow(int row);
  void ClearPool();
  // Replaces the rows; a slot is then in use exactly when a row holds it.
  // The selection keeps its place while the list is long enough, else it
  // goes to the new last row.
  void SetPoolRows(std::vector<PoolRow> rows);
  // The pool record as a file holds it (entries, row names and slots, count).
  void SetPoolRecord(const LayerPoolRecord& record) { model_.LayerPool = record; }
  // Pool row `row` goes into part `part`, which takes its name and keeps its
  // channel; the multi edit panel follows. An entry never filled changes
  // nothing and sends nothing.
  void SendPoolRowToPart(int part, int row);

  // ---- Audition and the Midi menu (audition.cpp) ---------------------------
  // The rows of the note and velocity lists (0..127) and the check mark that
  // lets an audition set the transmit channel.
  void SetNoteRow(int row) { state_.NoteRow = row; }
  void SetVelocityRow(int row) { state_.VelocityRow = row; }
  void SetTransmitChannelAssigned(bool on) { state_.TransmitChannelAssigned = on; }
  // The Local Off and Arpeggiator Off check marks: each is kept, then sends
  // its value.
  void SetLocalOff(bool on);
  void SetArpOff(bool on);
  void AuditionPerformance(bool down);
  void AuditionLayer(int layer, bool down);  // 1..4
  void AuditionPart(int part, bool down);    // 4..15
  // All Notes Off on every channel, then the audition note's Note Off on
  // every channel.
  void StopAudition();
  // Midi > All Notes Off: StopAudition, with MIDI thru cut for a second
  // (not while a device is known gone: then nothing waits).
  void AllNtsOff();

  // ---- Developer controls and exit -------------------------------------------
  // A message built from the developer boxes, sent as it is.
  void SendRaw(const Bytes& message);
  // The developer's parameter request: the trace is cleared and then lists
  // the answer.
  void RequestParm(const Bytes& request);
  // At exit: MIDI thru is cut and each device that is open is stopped and
  // closed. Every box is shown and the next step still runs.
  void CloseDevices();

 private:
  int NoteRow() const;
  int VelocityRow() const;
  void SendTransmitChannel(int channel);
  bool TakeSlot(int& slot);
  // The work an edit panel calls for, with the notices it follows
  // (edit_panels.cpp): a shown panel opens on `part`; the edited caption is
  // taken `evenIfHidden` or only while the panel is shown.
  void ShowPartIfEditing(int part);
  void EditedNameChanged(bool evenIfHidden);
  void RefillEditPanel();
  void PerformanceSelected();
  void TakeEditedCaption();
  void RestoreEffectBlock(const std::array<Byte, kEffectBytes>& source);
  // LyrSw from byte 31 of each stored layer.
  void TakeLayerSwitches();

  EditorState& state_;
  DataModel& model_;
  MidiLink& link_;
  EditorView& view_;
};

}  // namespace qv
