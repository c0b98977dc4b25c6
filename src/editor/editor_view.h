#pragma once
// How the editor's procedures tell the windows what changed. Every notice is
// a direct call on the thread that made the change; a window redraws from
// EditorState. The trace lines of the dump transactions come the same way.

#include "link/midi_link.h"

namespace qv {

class EditorView : public TraceSink {
 public:
  // The performance caption and the layer boxes, and the choice of the
  // performance (a selection is always followed by the retrieval that shows it).
  virtual void PerformanceShown() {}
  virtual void PartCaptionChanged(int /*part*/) {}
  // The row of a part's channel list; sent before the row is acted on.
  virtual void ChannelRowChanged(int /*part*/) {}
  virtual void PoolChanged() {}

  // The multi edit panel: when shown, it opens on part `part`.
  virtual void ShowPartIfEditing(int /*part*/) {}
  // Its name box shows the edited part's caption, which the editor took
  // `evenIfHidden` or only while the panel is shown.
  virtual void EditedNameChanged(bool /*evenIfHidden*/) {}
  // It fills itself again from the edited part's stored messages.
  virtual void RefillEditPanel() {}
  // Edit > Multi: the multi edit panel opens on part `part` (4..15).
  virtual void ShowMultiEditPanel(int /*part*/) {}
  // Edit > Effects: the effects panel opens, filled from the performance.
  virtual void ShowEffectsPanel() {}
  // A performance was chosen on the instrument and read back: the effects
  // panel, when shown, fills again.
  virtual void PerformanceSelected() {}
  // The effects panel, or the multi edit panel, closes.
  virtual void HideEffectsPanel() {}
  virtual void HideMultiEditPanel() {}
  // A performance went to the instrument whole, its effects included: a
  // bypass of the effects no longer stands and shows unchecked. Nothing is
  // sent for it.
  virtual void EffectsBypassEnded() {}
};

}  // namespace qv
