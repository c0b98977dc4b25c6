#pragma once
// The program's six kinds of file, one row each: the extension, the filters
// of the Load and Save menus' dialogs, the wrong-type box, the load aid's row
// and the lengths a file of the kind may have, which the loads test.

#include <array>
#include <cstddef>
#include <string>

namespace qv {

enum class FileKind { kSingleMulti, kAllMultis, kPerformance, kSetup, kLayerPool, kWorkspace };
inline constexpr int kFileKindCount = 6;

struct FileKindRow {
  FileKind kind;
  const char* extension;    // ".qvs"
  const char* openFilter;   // the Load menu's dialog: pairs of a description and a pattern
  const char* saveFilter;   // the Save menu's dialog
  const char* loadAidRow;   // the load aid's row; nullptr where the load aid does not offer the kind
  // The lengths a file of the kind may have, least and most. Each kind has
  // exactly the length of its record (files/records.h) but the all-multis
  // file: from one whole part up to 18200 bytes.
  std::size_t leastBytes;
  std::size_t mostBytes;
};

// The rows in the order of FileKind.
extern const std::array<FileKindRow, kFileKindCount> kFileKinds;
// The load aid's rows, in the order it lists them.
inline constexpr std::array<FileKind, 5> kLoadAidKinds = {FileKind::kWorkspace, FileKind::kSetup,
                                                          FileKind::kPerformance, FileKind::kLayerPool,
                                                          FileKind::kAllMultis};

// Every file, then the performance files, SysEx files and Layer Pools: the
// open dialog of Debug > "Write sysex", and the save dialog of a single multi
// after its own pair.
inline constexpr const char* kAnyFileFilter =
    "All Files (*.*)|*.*|Quorvane Files(*.qvx)|*.qvx|Sys-Ex Files (*.syx)|*.syx|Layer Pools (*.qvp)|*.qvp";

// The row of a kind; nullptr for a value that names none.
const FileKindRow* FileKindOf(FileKind kind);
// "*" and the extension: the pattern of the kind's files.
std::string FilePattern(FileKind kind);
// "Sorry, You have chosen a file of the wrong type. Please choose a file
// with the extension " and the kind's extension.
std::string WrongTypeText(FileKind kind);

}  // namespace qv
