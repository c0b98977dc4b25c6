#pragma once
// Reading and writing the records of the program's own files, with the
// length test that tells a file's kind.

#include <cstddef>
#include <string>
#include <type_traits>

#include "files/file_io.h"
#include "files/file_kinds.h"
#include "files/records.h"

namespace qv {

// The kind of file each record is read from and written to.
template <typename Record>
constexpr FileKind KindOfRecord() {
  static_assert(kIsFileRecord<Record>);
  if constexpr (std::is_same_v<Record, PartRecord>) return FileKind::kSingleMulti;
  else if constexpr (std::is_same_v<Record, AllMultisRecord>) return FileKind::kAllMultis;
  else if constexpr (std::is_same_v<Record, PerformanceRecord>) return FileKind::kPerformance;
  else if constexpr (std::is_same_v<Record, SetupRecord>) return FileKind::kSetup;
  else if constexpr (std::is_same_v<Record, LayerPoolRecord>) return FileKind::kLayerPool;
  else return FileKind::kWorkspace;
}

enum class RecordFileStatus {
  kCannotOpen,   // no regular file, or it could not be opened or read
  kWrongLength,  // the length test failed: nothing of the file is used
  kRead,
};

template <typename Record>
struct RecordFileRead {
  RecordFileStatus status = RecordFileStatus::kCannotOpen;
  Record record{};            // cleared to zero, then filled from the file's start
  std::size_t bytesRead = 0;  // the file's length when it was read
  std::string reason;         // kCannotOpen: the system's reason
};

// Reads the file whole and tests its length, by the bytes actually read,
// against the lengths the file kinds' table gives its kind.
template <typename Record>
RecordFileRead<Record> ReadRecordFile(const std::string& path) {
  const FileKindRow& kind = *FileKindOf(KindOfRecord<Record>());
  RecordFileRead<Record> result;
  const FileReadResult read = ReadRegularFile(path, kind.mostBytes);
  if (!read) {
    result.reason = read.reason;
    return result;
  }
  result.bytesRead = read.bytes.size();
  if (read.longer || read.bytes.size() < kind.leastBytes) {
    result.status = RecordFileStatus::kWrongLength;
    return result;
  }
  result.record = RecordFromBytes<Record>(read.bytes);
  result.status = RecordFileStatus::kRead;
  return result;
}

// Writes the record's bytes through WriteFileSafely.
template <typename Record>
FileWriteResult WriteRecordFile(const std::string& path, const Record& record) {
  return WriteFileSafely(path, RecordBytes(record));
}

}  // namespace qv
