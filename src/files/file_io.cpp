#include "files/file_io.h"

#include <QSaveFile>
#include <QString>
#include <cerrno>
#include <cstring>

#if defined(_WIN32)
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

FileWriteResult WriteFileSafely(const std::string& path, const Bytes& bytes) {
  FileWriteResult result;
  QSaveFile saveFile(QString::fromStdString(path));
  if (!saveFile.open(QIODevice::WriteOnly)) {
    result.reason = saveFile.errorString().toStdString();
    return result;
  }
  const auto size = static_cast<qint64>(bytes.size());
  const qint64 written = bytes.empty() ? 0 : saveFile.write(reinterpret_cast<const char*>(bytes.data()), size);
  if (written != size) {
    result.reason = saveFile.errorString().toStdString();
    if (result.reason.empty() || saveFile.error() == QFileDevice::NoError)
      result.reason = "Only " + std::to_string(written < 0 ? 0 : written) + " of " + std::to_string(size) +
                      " bytes could be written.";
    saveFile.cancelWriting();
    return result;
  }
  if (!saveFile.commit()) {
    result.reason = saveFile.errorString().toStdString();
    return result;
  }
  result.ok = true;
  return result;
}

namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

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

#endif

}  // namespace qv
