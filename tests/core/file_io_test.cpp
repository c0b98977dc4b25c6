// The one safe writer and the reader of regular files.

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "files/file_io.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::NewTempFolder("qv_io_");
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static Bytes Pattern(std::size_t n, Byte seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<Byte>(seed + i * 13);
    return b;
  }
  static void Put(const std::string& path, const Bytes& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  static Bytes Get(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }
  std::vector<std::string> Names() const { return NamesIn(dir_); }
  static std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path dir_;
};

TEST_F(FileIo, WriterLeavesExactlyTheNewBytesAndNoTemporaryFile) {
  const std::string path = Path("ws.qvw");
  ASSERT_TRUE(WriteFileSafely(path, Pattern(27850, 1)));
  EXPECT_EQ(Get(path), Pattern(27850, 1));

  // Over a longer file (a workspace saved over by a single multi).
  const FileWriteResult shorter = WriteFileSafely(path, Pattern(192, 9));
  EXPECT_TRUE(shorter.ok);
  EXPECT_TRUE(shorter.reason.empty());
  EXPECT_EQ(Get(path), Pattern(192, 9));

  ASSERT_TRUE(WriteFileSafely(Path("empty"), Bytes{}));
  EXPECT_EQ(fs::file_size(Path("empty")), 0u);
  EXPECT_EQ(Names().size(), 2u);

  // A name without extension is written as given.
  ASSERT_TRUE(WriteFileSafely(Path("pool"), Pattern(10, 3)));
  EXPECT_TRUE(fs::is_regular_file(Path("pool")));
}

TEST_F(FileIo, WriteThatFailsHalfWayLeavesTheOldFileWhole) {
  const std::string path = Path("setup.qvf");
  const Bytes old = Pattern(2952, 5);
  Put(path, old);

  // The system refuses to let any file grow past 4096 bytes: the write of
  // 27850 bytes stops part of the way.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const FileWriteResult result = WriteFileSafely(path, Pattern(27850, 7));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);

  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_EQ(Get(path), old);
  EXPECT_EQ(Names(), std::vector<std::string>{"setup.qvf"});
}

TEST_F(FileIo, WriterGivesTheReasonWhenItCannotWrite) {
  const FileWriteResult noFolder = WriteFileSafely(Path("missing/ws.qvw"), Pattern(10, 0));
  EXPECT_FALSE(noFolder);
  EXPECT_FALSE(noFolder.reason.empty());

  fs::create_directories(Path("folder"));
  const FileWriteResult overFolder = WriteFileSafely(Path("folder"), Pattern(10, 0));
  EXPECT_FALSE(overFolder);
  EXPECT_FALSE(overFolder.reason.empty());
  EXPECT_TRUE(fs::is_directory(Path("folder")));
  EXPECT_EQ(Names(), std::vector<std::string>{"folder"});
}

TEST_F(FileIo, OnlyARegularFileIsReplacedAndALinkStays) {
  const std::string notRegular = "It is not a regular file.";
  ASSERT_EQ(mkfifo(Path("pipe.qvw").c_str(), 0600), 0);
  fs::create_directories(Path("folder.qvw"));
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, Path("sock.qvw").c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  std::vector<std::string> targets = {"pipe.qvw", "folder.qvw", "sock.qvw"};
  // A device node of our own (the null device's numbers), where the system
  // lets us make one.
  if (::mknod(Path("dev.qvw").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) targets.push_back("dev.qvw");
  for (const std::string& target : targets) {
    fs::create_symlink(target, Path("link-" + target));
    fs::create_symlink("link-" + target, Path("link2-" + target));
    for (const std::string& name : {target, "link-" + target, "link2-" + target}) {
      const FileWriteResult result = WriteFileSafely(Path(name), Pattern(192, 4));
      EXPECT_FALSE(result.ok) << name;
      EXPECT_EQ(result.reason, notRegular) << name;
      EXPECT_FALSE(fs::is_regular_file(Path(name))) << name;
    }
    EXPECT_TRUE(fs::is_symlink(Path("link-" + target)));
  }
  EXPECT_TRUE(fs::is_fifo(Path("pipe.qvw")));
  EXPECT_TRUE(fs::is_directory(Path("folder.qvw")));
  EXPECT_TRUE(fs::is_empty(Path("folder.qvw")));
  EXPECT_TRUE(fs::is_socket(Path("sock.qvw")));
  if (targets.size() == 4) {
    EXPECT_TRUE(fs::is_character_file(Path("dev.qvw")));
  }
  ::close(sock);
  EXPECT_EQ(Names().size(), 3 * targets.size()) << "a temporary file was left";

  // A link to a regular file, relative or through another link: the links
  // stay and the file they lead to gets the new bytes.
  fs::create_directories(Path("sub"));
  Put(Path("sub/real.qvs"), Pattern(2952, 1));
  fs::create_symlink("sub/real.qvs", Path("link.qvs"));
  fs::create_symlink(Path("link.qvs"), Path("abs-link.qvs"));
  ASSERT_TRUE(WriteFileSafely(Path("link.qvs"), Pattern(192, 2)));
  EXPECT_EQ(Get(Path("sub/real.qvs")), Pattern(192, 2));
  ASSERT_TRUE(WriteFileSafely(Path("abs-link.qvs"), Pattern(456, 3)));
  EXPECT_EQ(Get(Path("sub/real.qvs")), Pattern(456, 3));
  EXPECT_TRUE(fs::is_symlink(Path("link.qvs")));
  EXPECT_TRUE(fs::is_symlink(Path("abs-link.qvs")));
  EXPECT_EQ(NamesIn(Path("sub")), std::vector<std::string>{"real.qvs"});
}

TEST_F(FileIo, AnyNameThatFitsItsFolderSaves) {
  // The longest name the folder takes: the temporary file beside it must
  // not make it too long.
  const long longest = ::pathconf(dir_.c_str(), _PC_NAME_MAX);
  const std::string name = std::string(static_cast<std::size_t>(longest > 0 ? longest : 255) - 4, 'n') + ".qvw";
  const FileWriteResult made = WriteFileSafely(Path(name), Pattern(192, 1));
  EXPECT_TRUE(made.ok) << made.reason;
  const FileWriteResult replaced = WriteFileSafely(Path(name), Pattern(2952, 2));
  EXPECT_TRUE(replaced.ok) << replaced.reason;
  EXPECT_EQ(Get(Path(name)), Pattern(2952, 2));
  EXPECT_EQ(Names(), std::vector<std::string>{name});
}

// A small file system of its own, really full: mounted when the tests run as
// root (as they do in CI), skipped elsewhere.
class FullDisk : public FileIo {
 protected:
  void SetUp() override {
    FileIo::SetUp();
    if (::geteuid() != 0) GTEST_SKIP() << "not root: no small tmpfs can be mounted to fill";
    disk_ = dir_ / "disk";
    fs::create_directory(disk_);
    if (::mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=64k") != 0)
      GTEST_SKIP() << "cannot mount a small tmpfs: " << std::strerror(errno);
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) ::umount2(disk_.c_str(), MNT_DETACH);
    FileIo::TearDown();
  }
  std::string OnDisk(const std::string& name) const { return (disk_ / name).string(); }
  // Fills the disk to its last byte, then frees `spare` bytes of it.
  void Fill(std::size_t spare) {
    const std::string filler = OnDisk("filler");
    {
      std::ofstream f(filler, std::ios::binary | std::ios::app);
      const Bytes chunk(4096, 0x55);
      while (f.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(chunk.size())))
        f.flush();
    }
    const auto size = fs::file_size(filler);
    ASSERT_GE(size, spare);
    fs::resize_file(filler, size - spare);
  }
  fs::path disk_;
  bool mounted_ = false;
};

TEST_F(FullDisk, SavesThatDoNotFitFailAndKeepTheOldFileWhole) {
  const std::string path = OnDisk("setup.qvf");
  const Bytes old = Pattern(2952, 5);
  Put(path, old);
  Fill(0);
  const std::vector<std::string> names = {"filler", "setup.qvf"};
  for (std::size_t size : {1, 192, 2952, 16383, 16385, 27850}) {
    const FileWriteResult result = WriteFileSafely(path, Pattern(size, 7));
    EXPECT_FALSE(result.ok) << size;
    EXPECT_EQ(result.reason, std::strerror(ENOSPC)) << size;
    EXPECT_EQ(Get(path), old) << size;
    EXPECT_FALSE(WriteFileSafely(OnDisk("new.qvw"), Pattern(size, 7))) << size;
    EXPECT_EQ(NamesIn(disk_), names) << size;
  }

  // With two pages free a small file fits and replaces the old one; a large
  // one fails part of the way.
  Fill(8192);
  ASSERT_TRUE(WriteFileSafely(path, Pattern(2952, 8)));
  EXPECT_EQ(Get(path), Pattern(2952, 8));
  EXPECT_FALSE(WriteFileSafely(path, Pattern(27850, 9)));
  EXPECT_EQ(Get(path), Pattern(2952, 8));
  EXPECT_EQ(NamesIn(disk_), names);
}

// Root passes every permission check, so the saves whose permissions count
// run in a child process as the unprivileged user nobody, who is also in one
// shared group; root prepares their files in a folder open to all.
class Protection : public FileIo {
 protected:
  static constexpr uid_t kNobody = 65534;
  static constexpr gid_t kNoGroup = 65534;
  static constexpr uid_t kOther = 4242;   // another user
  static constexpr gid_t kShared = 4243;  // a group of both

  void SetUp() override {
    FileIo::SetUp();
    if (::geteuid() != 0) GTEST_SKIP() << "not root: no files of another user can be prepared";
    ASSERT_EQ(::chmod(dir_.c_str(), 0777), 0);
    if (!AsNobody([] { return std::string("ready"); }))
      GTEST_SKIP() << "the system does not let a child become nobody and reach the folder";
  }
  std::string Prepare(const std::string& name, const Bytes& bytes, uid_t owner, gid_t group, mode_t mode) {
    const std::string path = Path(name);
    Put(path, bytes);
    EXPECT_EQ(::chown(path.c_str(), owner, group), 0);
    EXPECT_EQ(::chmod(path.c_str(), mode), 0);
    return path;
  }
  static void ExpectProtection(const std::string& path, uid_t owner, gid_t group, mode_t mode) {
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, owner) << path;
    EXPECT_EQ(info.st_gid, group) << path;
    EXPECT_EQ(info.st_mode & 07777, mode) << path;
  }
  // Runs `work` in a child process as nobody and hands back the text it
  // returns; none when the child cannot become nobody or reach the folder.
  std::optional<std::string> AsNobody(const std::function<std::string()>& work) const {
    int fds[2];
    if (::pipe(fds) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(fds[0]);
      const gid_t groups[] = {kShared};
      if (::setgroups(1, groups) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
      if (::access(dir_.c_str(), W_OK | X_OK) != 0) ::_exit(3);
      const std::string out = work();
      ::_exit(::write(fds[1], out.data(), out.size()) == static_cast<ssize_t>(out.size()) ? 0 : 4);
    }
    ::close(fds[1]);
    std::string out;
    char chunk[256];
    for (ssize_t n; child > 0 && (n = ::read(fds[0], chunk, sizeof chunk)) > 0;)
      out.append(chunk, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
      return std::nullopt;
    return out;
  }
  FileWriteResult SaveAsNobody(const std::string& path, const Bytes& bytes) const {
    const std::optional<std::string> out = AsNobody([&] {
      const FileWriteResult result = WriteFileSafely(path, bytes);
      return (result.ok ? "1" : "0") + result.reason;
    });
    if (!out || out->empty()) {
      ADD_FAILURE() << "the save as nobody did not finish";
      return {};
    }
    return {out->front() == '1', out->substr(1)};
  }
  // A file prepared so, saved over by nobody: refused with `reason`, and
  // left as it was.
  void ExpectRefusedAndKept(const std::string& name, uid_t owner, gid_t group, mode_t mode, const std::string& reason) {
    const Bytes old = Pattern(2952, 5);
    const std::string path = Prepare(name, old, owner, group, mode);
    const FileWriteResult saved = SaveAsNobody(path, Pattern(192, 6));
    EXPECT_FALSE(saved.ok) << name;
    EXPECT_EQ(saved.reason, reason) << name;
    EXPECT_EQ(Get(path), old) << name;
    ExpectProtection(path, owner, group, mode);
  }
};

TEST_F(Protection, FileTheUserMayNotWriteIsRefusedAndKept) {
  const std::string denied = std::strerror(EACCES);
  ExpectRefusedAndKept("own.qvf", kNobody, kNoGroup, 0444, denied);  // the user's own, read-only
  ExpectRefusedAndKept("theirs.qvf", kOther, kOther, 0644, denied);  // another user's, others only read
  EXPECT_EQ(Names(), (std::vector<std::string>{"own.qvf", "theirs.qvf"}));
}

TEST_F(Protection, AnotherUsersFileTheUserMayWriteIsNotTakenOver) {
  // Writable through its group, in a folder open to all: renaming a new file
  // over it would make it the saver's.
  ExpectRefusedAndKept("shared.qvf", kOther, kShared, 0664, "It belongs to another user and stays as it is.");
  EXPECT_EQ(Names(), std::vector<std::string>{"shared.qvf"});
}

TEST_F(Protection, NewFileKeepsTheOwnerGroupAndMode) {
  // Saved by root: handed back to its owner.
  const std::string theirs = Prepare("theirs.qvw", Pattern(2952, 5), kOther, kShared, 0640);
  ASSERT_TRUE(WriteFileSafely(theirs, Pattern(192, 6)));
  EXPECT_EQ(Get(theirs), Pattern(192, 6));
  ExpectProtection(theirs, kOther, kShared, 0640);

  // The user's own file in a group of theirs other than their first.
  const std::string own = Prepare("own.qvw", Pattern(2952, 5), kNobody, kShared, 0660);
  const FileWriteResult saved = SaveAsNobody(own, Pattern(192, 7));
  EXPECT_TRUE(saved.ok) << saved.reason;
  EXPECT_EQ(Get(own), Pattern(192, 7));
  ExpectProtection(own, kNobody, kShared, 0660);

  // The user's own file in a group not theirs: the user's group gets none
  // of that group's rights.
  const std::string given = Prepare("given.qvw", Pattern(2952, 5), kNobody, kOther, 0664);
  EXPECT_TRUE(SaveAsNobody(given, Pattern(192, 8)).ok);
  ExpectProtection(given, kNobody, kNoGroup, 0604);
  EXPECT_EQ(Names(), (std::vector<std::string>{"given.qvw", "own.qvw", "theirs.qvw"}));
}

TEST_F(FileIo, ReaderTakesAtMostTheLimitAndTellsALongerFile) {
  const std::string path = Path("f");
  Put(path, Pattern(456, 2));

  FileReadResult exact = ReadRegularFile(path, 456);
  ASSERT_TRUE(exact);
  EXPECT_EQ(exact.bytes, Pattern(456, 2));
  EXPECT_FALSE(exact.longer);

  FileReadResult under = ReadRegularFile(path, 455);
  ASSERT_TRUE(under);
  EXPECT_EQ(under.bytes, Pattern(455, 2));
  EXPECT_TRUE(under.longer);

  FileReadResult roomy = ReadRegularFile(path, 18200);
  ASSERT_TRUE(roomy);
  EXPECT_EQ(roomy.bytes.size(), 456u);
  EXPECT_FALSE(roomy.longer);

  Put(path, Bytes{});
  FileReadResult empty = ReadRegularFile(path, 10);
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty.bytes.empty());
  EXPECT_FALSE(empty.longer);
}

TEST_F(FileIo, ReaderOpensOnlyRegularFiles) {
  const FileReadResult missing = ReadRegularFile(Path("missing.qvw"), 27850);
  EXPECT_FALSE(missing);
  EXPECT_FALSE(missing.reason.empty());

  fs::create_directories(Path("folder.qvw"));
  EXPECT_FALSE(ReadRegularFile(Path("folder.qvw"), 27850));

  // A FIFO with no writer: refused at once, never waited on.
  ASSERT_EQ(mkfifo(Path("pipe.qvw").c_str(), 0600), 0);
  const FileReadResult pipe = ReadRegularFile(Path("pipe.qvw"), 27850);
  EXPECT_FALSE(pipe);
  EXPECT_TRUE(pipe.bytes.empty());

  // Devices, an endless one included.
  EXPECT_FALSE(ReadRegularFile("/dev/null", 27850));
  EXPECT_FALSE(ReadRegularFile("/dev/zero", 27850));

  // A link to a regular file is read like the file.
  Put(Path("real"), Pattern(5, 1));
  fs::create_symlink(Path("real"), Path("link"));
  EXPECT_EQ(ReadRegularFile(Path("link"), 10).bytes, Pattern(5, 1));
}

}  // namespace
}  // namespace qv
