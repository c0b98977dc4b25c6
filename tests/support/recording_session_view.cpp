#include "recording_session_view.h"

namespace qv::test {

void RecordingSessionView::Record(const std::string& call) {
  calls.push_back(call);
  if (onCall) onCall(call);
}

void RecordingSessionView::ClearTrace() {
  Record("ClearTrace");
  traceLines.clear();
}

void RecordingSessionView::AddTraceLine(const std::string& line) { traceLines.push_back(line); }

int RecordingSessionView::PerformanceChannel() { return performanceChannel; }

void RecordingSessionView::ShowPerformance(const std::string& name) {
  Record("ShowPerformance " + name);
  shownNames.push_back(name);
  if (model) shownSwitches.push_back({model->LyrSw[1], model->LyrSw[2], model->LyrSw[3], model->LyrSw[4]});
}

void RecordingSessionView::SetPartChannelRow(int part, int row) {
  Record("SetPartChannelRow " + std::to_string(part) + " " + std::to_string(row));
  if (part >= 0 && part < static_cast<int>(channelRows.size())) channelRows[static_cast<std::size_t>(part)] = row;
}

int RecordingSessionView::PartChannelRow(int part) {
  if (part < 0 || part >= static_cast<int>(channelRows.size())) return 0;
  return channelRows[static_cast<std::size_t>(part)];
}

void RecordingSessionView::ShowPartIfEditing(int part) { Record("ShowPartIfEditing " + std::to_string(part)); }

}  // namespace qv::test
