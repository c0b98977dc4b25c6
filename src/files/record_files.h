#pragma once
// Reading and writing the records of the program's own files, with the
// length test that tells a file's kind.

#include <cstddef>
#include <string>

#include "files/file_io.h"
#include "files/records.h"

namespace qv {

// Lengths a file of each kind may have. An all-multis file may be shorter
// than its record, down to one whole part, or longer, up to 18200 bytes;
// every other kind has exactly the length of its record.
template <typename Record>
constexpr std::size_t kLeastFileLength = sizeof(Record);
template <>
inline constexpr std::size_t kLeastFileLength<AllMultisRecord> = kPartRecordBytes;
template <typename Record>
constexpr std::size_t kMostFileLength = sizeof(Record);
template <>
inline constexpr std::size_t kMostFileLength<AllMultisRecord> = kAllMultisFileLimit;

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

// Reads the file whole and tests its length by the bytes actually read.
template <typename Record>
RecordFileRead<Record> ReadRecordFile(const std::string& path) {
  RecordFileRead<Record> result;
  const FileReadResult read = ReadRegularFile(path, kMostFileLength<Record>);
  if (!read) {
    result.reason = read.reason;
    return result;
  }
  result.bytesRead = read.bytes.size();
  if (read.longer || read.bytes.size() < kLeastFileLength<Record>) {
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
