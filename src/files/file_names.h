#pragma once
// Names in the file dialogs: the name a dialog proposes, the extension a
// save adds to a name typed without one, and whether two paths lead to one
// file. Filters are pairs of a description and a pattern, separated by "|".

#include <string>

namespace qv {

// The extension (without its dot: "qvw") that pair `index` of `filter`
// names (0 = the first pair); empty when that pair shows every file ("*.*"),
// names several patterns, or is missing.
std::string FilterExtension(const std::string& filter, int index);

// Where a dialog with `filter` opens after `lastPath` was chosen in any
// dialog: on that file when its extension is the one the filter's first pair
// names, otherwise on its folder alone.
struct DialogStart {
  std::string folder;  // empty before any choice
  std::string file;    // the proposed file, or empty
};
DialogStart StartOfDialog(const std::string& lastPath, const std::string& filter);

// True when both paths lead to one existing file, links followed (the same
// device and inode).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace qv
