#include "files/file_io.h"

#include <cerrno>
#include <cstring>

#include <atomic>

#if defined(_WIN32)
#include <process.h>

#include <filesystem>
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qv {

std::string FailedSaveText(const std::string& path, const std::string& reason) {
  std::string text = "The file \"" + path + "\" could not be saved.";
  if (!reason.empty()) text += "\n\n" + reason;
  return text;
}

std::string FailedLoadText(const std::string& path, const std::string& reason) {
  std::string text = "The file \"" + path + "\" could not be loaded.";
  if (!reason.empty()) text += "\n\n" + reason;
  return text;
}

namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

constexpr const char* kNotRegularFile = "It is not a regular file.";

FileWriteResult WriteFailed(std::string reason) { return {false, std::move(reason)}; }

// `got` bytes were read into `buffer` (limit + 1 long): one more than the
// limit tells a longer file.
FileReadResult ReadDone(Bytes buffer, std::size_t got, std::size_t limit) {
  FileReadResult result;
  result.longer = got > limit;
  buffer.resize(result.longer ? limit : got);
  result.bytes = std::move(buffer);
  result.ok = true;
  return result;
}

}  // namespace

#if defined(_WIN32)

FileReadResult ReadRegularFile(const std::string& path, std::size_t limit) {
  FileReadResult result;
  const std::filesystem::path name(std::u8string(path.begin(), path.end()));
  std::error_code error;
  if (!std::filesystem::is_regular_file(name, error)) {
    result.reason = std::filesystem::is_directory(name, error) ? "It is a folder." : "It is not a regular file.";
    return result;
  }
  std::ifstream file(name, std::ios::binary);
  if (!file) {
    result.reason = ErrnoText(errno);
    return result;
  }
  Bytes buffer(limit + 1);
  file.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
  if (file.bad()) {
    result.reason = ErrnoText(errno);
    return result;
  }
  const auto got = static_cast<std::size_t>(file.gcount());
  return ReadDone(std::move(buffer), got, limit);
}

FileWriteResult WriteFileSafely(const std::string& path, const Bytes& bytes) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path target(std::u8string(path.begin(), path.end()));
  if (fs::is_symlink(target, error)) target = fs::weakly_canonical(target, error);
  if (error) return WriteFailed(error.message());
  if (fs::exists(target, error)) {
    if (!fs::is_regular_file(target, error)) return WriteFailed(kNotRegularFile);
    // A read-only file is refused, as the system refuses writing to it.
    if ((fs::status(target, error).permissions() & fs::perms::owner_write) == fs::perms::none)
      return WriteFailed(ErrnoText(EACCES));
  }

  // A short name beside the file, so that any name that fits its folder can
  // be saved.
  static std::atomic<unsigned> counter{0};
  fs::path temp;
  do {
    temp = target.parent_path() / (".qv-save-" + std::to_string(::_getpid()) + "-" + std::to_string(counter++));
  } while (fs::exists(temp, error));
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    if (!file) return WriteFailed(ErrnoText(errno));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.flush();
    file.close();
    if (!file) {
      const std::string reason = ErrnoText(errno);
      fs::remove(temp, error);
      return WriteFailed(reason);
    }
  }
  fs::rename(temp, target, error);
  if (error) {
    const std::string reason = error.message();
    fs::remove(temp, error);
    return WriteFailed(reason);
  }
  return {true, {}};
}

#else

FileReadResult ReadRegularFile(const std::string& path, std::size_t limit) {
  FileReadResult result;
  // Opened without waiting, so that a FIFO without a writer cannot hold the
  // program; its type is then checked on the open file itself.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    result.reason = ErrnoText(errno);
    return result;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    result.reason = S_ISDIR(info.st_mode) ? "It is a folder." : "It is not a regular file.";
    ::close(fd);
    return result;
  }
  // The file stays non-blocking: a regular file whose reads would wait (a
  // kernel file such as /proc/kmsg) fails at once instead.

  // One byte more than the limit tells a longer file.
  Bytes buffer(limit + 1);
  std::size_t got = 0;
  while (got < buffer.size()) {
    const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.reason = ErrnoText(errno);
      ::close(fd);
      return result;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return ReadDone(std::move(buffer), got, limit);
}

namespace {

constexpr const char* kOtherOwner = "It belongs to another user and stays as it is.";

// The folder that holds `target`, ending in its slash; empty for a bare name.
std::string FolderOf(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  return slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
}

// A short name beside `target` that no other save uses at once, so that any
// name that fits its folder can be saved. One that does exist all the same
// is passed over (the file is created exclusively).
std::string TemporaryName(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  return FolderOf(target) + ".qv-save-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// The file a save replaces: `path`, or where its symbolic links lead, so
// that a link stays a link. A name that does not exist yet (also the end of
// a link that leads nowhere) is the file to create.
bool FollowLinks(std::string& target, std::string& reason) {
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
      if (errno == ENOENT) return true;
      reason = ErrnoText(errno);
      return false;
    }
    if (!S_ISLNK(info.st_mode)) return true;
    std::string next(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(target.c_str(), next.data(), next.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= next.size()) {
      reason = ErrnoText(n < 0 ? errno : n == 0 ? ENOENT : ENAMETOOLONG);
      return false;
    }
    next.resize(static_cast<std::size_t>(n));
    // A relative link leads from the folder that holds it.
    target = next.front() == '/' ? next : FolderOf(target) + next;
  }
  reason = ErrnoText(ELOOP);
  return false;
}

bool WriteAll(int fd, const Bytes& bytes, std::string& reason) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      reason = ErrnoText(n < 0 ? errno : ENOSPC);
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Best effort: the rename itself reaches the disk.
void SyncFolderOf(const std::string& target) {
  const std::string folder = FolderOf(target);
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The new file `fd` takes the owner, group and mode of the `old` one. The
// owner must be kept: another user's file, even one the user may write
// through its group, is never handed to the user who saves it. The group is
// kept where the system allows (a user can give a file only a group of
// their own); the mode is set last, as a change of owner clears its
// set-user and set-group bits.
bool KeepProtection(int fd, const struct stat& old, std::string& reason) {
  struct stat now {};
  if (::fstat(fd, &now) != 0) {
    reason = ErrnoText(errno);
    return false;
  }
  if (now.st_uid != old.st_uid) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      reason = kOtherOwner;
      return false;
    }
  }
  mode_t mode = old.st_mode & 07777;
  // Where the group cannot be kept (the user's own file in a group they are
  // not in), the file takes the user's group, and that group gets none of
  // the old group's rights.
  if (now.st_uid == old.st_uid && now.st_gid != old.st_gid &&
      ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
    mode &= ~static_cast<mode_t>(S_IRWXG | S_ISGID);
  (void)::fchmod(fd, mode);
  return true;
}

}  // namespace

FileWriteResult WriteFileSafely(const std::string& path, const Bytes& bytes) {
  std::string target = path, reason;
  if (!FollowLinks(target, reason)) return WriteFailed(reason);
  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) return WriteFailed(ErrnoText(errno));
  // Only a regular file is replaced: never a folder, a FIFO, a device or a
  // socket.
  if (exists && !S_ISREG(info.st_mode)) return WriteFailed(kNotRegularFile);
  // A file the user may not write is refused with the system's reason, as a
  // write into it would be; a new name needs only a folder the user may
  // write.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return WriteFailed(ErrnoText(errno));

  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = TemporaryName(target);
    // Private until it has the old file's owner and mode; a new name takes
    // the usual permissions (0666 less the umask, given by open).
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, exists ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return WriteFailed(ErrnoText(errno));

  // The new file keeps the old one's protection, and every byte is written
  // and on the disk, before the old file is replaced; any failure removes
  // the temporary file and leaves the old one as it was.
  bool ok = !exists || KeepProtection(fd, info, reason);
  ok = ok && WriteAll(fd, bytes, reason);
  if (ok && ::fsync(fd) != 0) {
    reason = ErrnoText(errno);
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    reason = ErrnoText(errno);
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    reason = ErrnoText(errno);
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return WriteFailed(reason);
  }
  SyncFolderOf(target);
  return {true, {}};
}

#endif

}  // namespace qv
