#pragma once
// Names in the file dialogs: the name a dialog proposes, the extension a
// save adds to a name typed without it, and whether two paths lead to one
// file. Filters are pairs of a description and a pattern, separated by "|".

#include <string>

namespace qv {

// The extension (without its dot: "qvw") that pair `index` of `filter`
// names (0 = the first pair); empty when that pair shows every file ("*.*"),
// names several patterns, or is missing.
std::string FilterExtension(const std::string& filter, int index);

// The name a save writes when `typed` is chosen with a pair that names
// `extension` (without its dot): `typed` with ".extension" added unless its
// file name already ends with it, in letters of either case, as the program
// matches extensions everywhere. A dot in the name does not count as an
// extension: "live set 2.1" becomes "live set 2.1.qvw". A name ending in a
// dot takes the extension alone. An empty extension ("All Files") leaves the
// name as typed.
std::string WithExtension(const std::string& typed, const std::string& extension);

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
