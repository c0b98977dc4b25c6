#include "files/file_kinds.h"

#include <string_view>

#include "files/record_files.h"

namespace qv {

constexpr std::array<FileKindRow, kFileKindCount> kFileKinds = {{
    {FileKind::kSingleMulti, ".qvs", "Single Multi (*.qvs)|*.qvs",
     "Single Multi (*.qvs)|*.qvs|All Files (*.*)|*.*|Quorvane Files(*.qvx)|*.qvx|Sys-Ex Files (*.syx)|*.syx|"
     "Layer Pools (*.qvp)|*.qvp",
     nullptr, sizeof(PartRecord), sizeof(PartRecord)},
    {FileKind::kAllMultis, ".qvm", "All Multis (*.qvm)|*.qvm", "All Multis (*.qvm)|*.qvm",
     "All Multis      |*.qvm", sizeof(PartRecord), 18200},
    {FileKind::kPerformance, ".qvx", "Peformance (*.qvx)|*.qvx", "Performance (*.qvx)|*.qvx",
     "Performance   |*.qvx", sizeof(PerformanceRecord), sizeof(PerformanceRecord)},
    {FileKind::kSetup, ".qvf", "Full Setup (*.qvf)|*.qvf", "Quorvane Setup (*.qvf)|*.qvf",
     "Setup                |*.qvf", sizeof(SetupRecord), sizeof(SetupRecord)},
    {FileKind::kLayerPool, ".qvp", "Layer Pool (*.qvp)|*.qvp", "Layer Pool (*.qvp)|*.qvp",
     "Layer Pool        |*.qvp", sizeof(LayerPoolRecord), sizeof(LayerPoolRecord)},
    {FileKind::kWorkspace, ".qvw", "Quorvane WorkSpace (*.qvw)|*.qvw", "Quorvane Workspace (*.qvw)|*.qvw",
     "Workspace     |*.qvw", sizeof(WorkspaceRecord), sizeof(WorkspaceRecord)},
}};

namespace {
static_assert(std::string_view(kFileKinds[0].saveFilter).ends_with(kAnyFileFilter),
              "a single multi is saved under its own pattern or any of the others");
constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < kFileKinds.size(); ++i)
    if (static_cast<std::size_t>(kFileKinds[i].kind) != i) return false;
  return true;
}
static_assert(RowsInOrder(), "FileKindOf indexes the rows by their kind");
// A file the program writes holds its whole record: it passes the length test.
template <typename Record>
constexpr bool TakesItsRecord() {
  const FileKindRow& row = kFileKinds[static_cast<std::size_t>(KindOfRecord<Record>())];
  return row.leastBytes <= sizeof(Record) && sizeof(Record) <= row.mostBytes;
}
static_assert(TakesItsRecord<PartRecord>() && TakesItsRecord<AllMultisRecord>() &&
                  TakesItsRecord<PerformanceRecord>() && TakesItsRecord<SetupRecord>() &&
                  TakesItsRecord<LayerPoolRecord>() && TakesItsRecord<WorkspaceRecord>(),
              "each kind's file may have the length of its record");
}  // namespace

const FileKindRow* FileKindOf(FileKind kind) {
  const auto index = static_cast<std::size_t>(kind);
  return index < kFileKinds.size() ? &kFileKinds[index] : nullptr;
}

std::string FilePattern(FileKind kind) {
  const FileKindRow* row = FileKindOf(kind);
  return row ? std::string("*") + row->extension : std::string();
}

std::string WrongTypeText(FileKind kind) {
  const FileKindRow* row = FileKindOf(kind);
  return std::string("Sorry, You have chosen a file of the wrong type. Please choose a file with the extension ") +
         (row ? row->extension : "");
}

}  // namespace qv
