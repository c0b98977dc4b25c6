#pragma once
// Reading and writing whole files. Every file the program writes goes
// through WriteFileSafely; every file it reads through ReadRegularFile.
// Paths are UTF-8.

#include <cstddef>
#include <string>

#include "instrument/bytes.h"

namespace qv {

struct FileWriteResult {
  bool ok = false;
  std::string reason;  // the system's reason when the write failed
  explicit operator bool() const { return ok; }
};

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path` only when every byte is written and synced to the disk. On success
// the file holds exactly `bytes`; on any failure (open, write, sync, close,
// rename) an existing file is left as it was and no temporary file remains.
// Only a regular file is replaced: a folder, a FIFO, a device or a socket at
// `path` fails with "It is not a regular file.". A symbolic link stays, and
// the file it leads to gets the bytes.
// The new file keeps the old one's owner, group and mode (the group where
// the system allows). A file the user may not write fails with the system's
// reason ("Permission denied"); another user's file that the user may write
// all the same fails with "It belongs to another user and stays as it is.",
// since the new file could not keep its owner. The temporary name is short,
// so any name that fits its folder can be saved.
FileWriteResult WriteFileSafely(const std::string& path, const Bytes& bytes);

// The box for a failed save: the file's name, then the system's reason.
std::string FailedSaveText(const std::string& path, const std::string& reason);

// The box for a load whose file cannot be read: the file's name, then the
// system's reason.
std::string FailedLoadText(const std::string& path, const std::string& reason);

struct FileReadResult {
  bool ok = false;       // false: no regular file, or it could not be opened or read
  Bytes bytes;           // the first bytes of the file, at most the limit
  bool longer = false;   // the file holds more than the limit
  std::string reason;    // why it could not be read
  explicit operator bool() const { return ok; }
};

// Reads at most `limit` bytes from the start of a regular file, and one more
// to learn whether it is longer. A folder, a FIFO or a device counts as a
// file that cannot be opened and is never read from.
FileReadResult ReadRegularFile(const std::string& path, std::size_t limit);

}  // namespace qv
