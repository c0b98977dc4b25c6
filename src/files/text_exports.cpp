#include "files/text_exports.h"

#include <algorithm>
#include <cstdio>

#include "editor/editor_state.h"
#include "files/records.h"

namespace qv {

namespace {

std::string Tabs(int n) { return std::string(static_cast<std::size_t>(n), '\t'); }

void PutLine(Bytes& out, const std::string& text) {
  out.push_back('"');
  out.insert(out.end(), text.begin(), text.end());
  out.push_back('"');
  out.push_back('\r');
  out.push_back('\n');
}

// A name as its button shows it: at most its first 10 characters.
std::string First10(const std::string& caption) {
  return ShownName(caption.substr(0, std::min<std::size_t>(caption.size(), 10)));
}

// Right-aligned in three places: "  1", " 10".
std::string Channel3(int channel) {
  char text[16];
  std::snprintf(text, sizeof text, "%3d", channel);
  return text;
}

}  // namespace

Bytes BuildWorkspaceText(const WorkspaceTextInput& in) {
  Bytes out;
  PutLine(out, Tabs(1) + " Workspace Description Text" + Tabs(10));
  PutLine(out, Tabs(17));
  PutLine(out, Tabs(1) + Utf8ToLatin1(in.path) + Tabs(10));
  PutLine(out, Tabs(13));
  PutLine(out, Tabs(13));
  PutLine(out, Tabs(1) + "Performance:" + Tabs(14));
  PutLine(out, Tabs(3) + "Midi Channel" + Tabs(1) + Channel3(in.performanceChannel) + Tabs(1) + First10(in.performanceCaption) + Tabs(6));
  PutLine(out, Tabs(13));
  PutLine(out, Tabs(1) + "Multi Parts:" + Tabs(14));
  for (std::size_t e = 0; e < 12; ++e)
    PutLine(out, Tabs(3) + "Midi Channel" + Tabs(1) + " " + std::to_string(in.channelRows[e] + 1) + Tabs(1) +
                     First10(in.multiCaptions[e]) + Tabs(10));
  PutLine(out, Tabs(13));
  PutLine(out, Tabs(13));
  PutLine(out, Tabs(13));
  PutLine(out, Tabs(1) + "Layer Pool:" + Tabs(14));
  PutLine(out, Tabs(13));
  for (const std::string& row : in.poolRows) PutLine(out, Tabs(3) + ShownName(row) + Tabs(10));
  return out;
}

Bytes BuildSysExTextDump(const Bytes& input) {
  Bytes out;
  const std::size_t n = std::min(input.size(), kSysExDumpLimit);
  for (std::size_t k = 0; k < n; ++k) {
    const unsigned b = input[k];
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "Sys Ex    %zX   %zu    %u  %X  ", k, k, b, b);
    std::string text = numbers;
    text += static_cast<char>(b);
    PutLine(out, text);
    if (b == 0xF7) PutLine(out, " ");
  }
  return out;
}

}  // namespace qv
