#pragma once
// The procedures that work on the instrument as a whole: the performance
// retrieval and performance MIDI channel, the multi part initialisation and
// retrieval, and the pool's copies into the parts. The windows implement
// SessionView; everything else is plain data and messages.

#include <string>

#include "instrument/data_model.h"
#include "link/midi_link.h"

namespace qv {

class SessionView : public TraceSink {
 public:
  // Selected row (0..15) of the preferences' performance channel list.
  virtual int PerformanceChannel() = 0;
  // Shows the performance name (Com1 bytes 9..16) and the layers from LyrSw.
  virtual void ShowPerformance(const std::string& name) = 0;
  // Selects `row` in the channel list of multi part `part` (4..15); its
  // handler runs as for a choice by the user.
  virtual void SetPartChannelRow(int part, int row) = 0;
  // Selected row (0..15) of the channel list of part `part`.
  virtual int PartChannelRow(int part) = 0;
  // When the multi edit panel is shown, shows part `part` on it.
  virtual void ShowPartIfEditing(int part) = 0;
};

class Session {
 public:
  Session(DataModel& model, MidiLink& link, SessionView& view);

  DataModel& Model() { return model_; }
  MidiLink& Link() { return link_; }

  // Performance MIDI channel.
  void SendPerfMidiChannelZero();
  void SendPerfMidiChannel();
  void PutPerfChannelInCom0();
  void ChngPrfMidiChan();
  // The eight performance blocks into the performance record, then the name
  // and layers shown.
  void RtrvPerformance();
  // The performance name as eight characters of Com1.
  std::string PerformanceName() const;

  // Multi parts.
  void InitMultiPart(int part);    // part index 4..15
  void RtrvMultiPart(int multi);   // multi number 5..16
  void RtrvAllMultis();            // 60 transactions, part by part

  // Layer Pool.
  int LowestFreePoolSlot() const;  // -1 when every slot is in use
  // Out-of-range slots (outside 0..127) and parts (outside 4..15) do nothing.
  void SavePoolSlot(int slot);
  void LdMultToDef(int part);
  void SndPoolToMult(int part, int slot);

 private:
  DataModel& model_;
  MidiLink& link_;
  SessionView& view_;
};

}  // namespace qv
