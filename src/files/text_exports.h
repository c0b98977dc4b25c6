#pragma once
// The two text files the program writes for people to read: the workspace
// listing and the byte-by-byte dump of any file. Both are one byte per
// character (Latin-1), every line enclosed in double quotes and ended by
// CR LF, with nothing inside a line escaped.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "instrument/bytes.h"

namespace qv {

// What the workspace listing shows, as the main window holds it. Captions
// and pool rows are Latin-1 bytes; the path is UTF-8.
struct WorkspaceTextInput {
  std::string path;                         // the listing's own file, full path
  std::string performanceCaption;           // the performance button's caption
  int performanceChannel = 1;               // 1..16, the performance channel in force
  std::array<int, 12> channelRows{};        // M5..M16, 0..15 = channel 1..16
  std::array<std::string, 12> multiCaptions;  // M5..M16 buttons' captions
  std::vector<std::string> poolRows;        // the Layer Pool list, top row first
};

// The listing: 26 lines, and one more for each pool row. A character of the
// path outside Latin-1 is written as "?".
Bytes BuildWorkspaceText(const WorkspaceTextInput& input);

// The largest input the dump lists; longer inputs are listed this far.
inline constexpr std::size_t kSysExDumpLimit = 42001;

// One line per byte: "Sys Ex  ", position in hex and decimal, value in
// decimal and hex and as the byte itself; a line holding one blank after
// every F7.
Bytes BuildSysExTextDump(const Bytes& input);

}  // namespace qv
