// The one safe writer and the reader of regular files.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
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
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
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
