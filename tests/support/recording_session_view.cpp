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


void RecordingSessionView::PerformanceShown() {
  const std::string name = state ? state->PerformanceCaption : std::string();
  shownNames.push_back(name);
  if (state) {
    const auto& sw = state->Model.LyrSw;
    shownSwitches.push_back({sw[1], sw[2], sw[3], sw[4]});
  }
  Record("ShowPerformance " + name);
}

void RecordingSessionView::PartCaptionChanged(int part) {
  Record("Caption " + std::to_string(part) + " " + (state ? state->Caption(part) : std::string()));
}

void RecordingSessionView::ChannelRowChanged(int part) {
  const int row = state ? state->ChannelRows.at(static_cast<std::size_t>(part - kFirstMultiPart)) : -1;
  Record("ChannelRow " + std::to_string(part) + " " + std::to_string(row));
}

void RecordingSessionView::PoolChanged() { Record("Pool"); }

}  // namespace qv::test
