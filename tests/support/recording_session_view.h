#pragma once
// An EditorView that records what the session shows and asks, in order.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "editor/editor_view.h"
#include "editor/editor_state.h"

namespace qv::test {

class RecordingSessionView : public EditorView {
 public:
  // The state the notices are about: names and rows are read from it.
  const EditorState* state = nullptr;

  // Every call as a line: "ClearTrace", "ShowPerformance <name>",
  // "ChannelRow <part> <row>", "Caption <part> <caption>", "Pool",
  // "EditedName", "RefillEditPanel", "ShowMultiEditPanel <part>",
  // "ShowEffectsPanel", "PerformanceSelected", "HideEffectsPanel",
  // "HideMultiEditPanel", "EffectsBypassEnded".
  std::vector<std::string> calls;
  std::vector<std::string> traceLines;
  std::vector<std::string> shownNames;
  std::vector<std::array<int, 4>> shownSwitches;  // LyrSw 1..4 at each ShowPerformance
  // Runs after each recorded call, e.g. to note how much was sent by then.
  std::function<void(const std::string&)> onCall;

  void ClearTrace() override;
  void AddTraceLine(const std::string& line) override;
  void PerformanceShown() override;
  void PartCaptionChanged(int part) override;
  void ChannelRowChanged(int part) override;
  void PoolChanged() override;
  void EditedNameChanged() override { Record("EditedName"); }
  void RefillEditPanel() override { Record("RefillEditPanel"); }
  void ShowMultiEditPanel(int part) override { Record("ShowMultiEditPanel " + std::to_string(part)); }
  void ShowEffectsPanel() override { Record("ShowEffectsPanel"); }
  void PerformanceSelected() override { Record("PerformanceSelected"); }
  void HideEffectsPanel() override { Record("HideEffectsPanel"); }
  void HideMultiEditPanel() override { Record("HideMultiEditPanel"); }
  void EffectsBypassEnded() override { Record("EffectsBypassEnded"); }

 private:
  void Record(const std::string& call);
};

}  // namespace qv::test
