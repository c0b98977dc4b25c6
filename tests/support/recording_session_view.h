#pragma once
// A SessionView that records what the session shows and asks, in order, and
// answers the channel rows from plain fields.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "instrument/session.h"

namespace qv::test {

class RecordingSessionView : public SessionView {
 public:
  // When set, ShowPerformance also records the layer switches the model
  // holds at that moment.
  const DataModel* model = nullptr;

  int performanceChannel = 0;          // row of the performance channel list
  std::array<int, 16> channelRows{};   // row of each part's channel list

  // Every call as a line: "ClearTrace", "ShowPerformance <name>",
  // "SetPartChannelRow <part> <row>", "ShowPartIfEditing <part>".
  std::vector<std::string> calls;
  std::vector<std::string> traceLines;
  std::vector<std::string> shownNames;
  std::vector<std::array<int, 4>> shownSwitches;  // LyrSw 1..4 at each ShowPerformance
  // Runs after each recorded call, e.g. to note how much was sent by then.
  std::function<void(const std::string&)> onCall;

  void ClearTrace() override;
  void AddTraceLine(const std::string& line) override;
  int PerformanceChannel() override;
  void ShowPerformance(const std::string& name) override;
  void SetPartChannelRow(int part, int row) override;
  int PartChannelRow(int part) override;
  void ShowPartIfEditing(int part) override;

 private:
  void Record(const std::string& call);
};

}  // namespace qv::test
