#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileIO.h"

namespace pagora {
namespace {

namespace fs = std::filesystem;

class FileIO : public testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "pagora-fileio-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    // A test may have made the folder read-only.
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }

  [[nodiscard]] std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream out(PathOf(name), std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good());
  }

  [[nodiscard]] std::string Get(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  [[nodiscard]] std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  [[nodiscard]] mode_t ModeOf(const std::string& name) const {
    struct stat st {};
    EXPECT_EQ(::stat(PathOf(name).c_str(), &st), 0);
    return st.st_mode & 07777;
  }

  fs::path dir_;
};

std::string Pattern(std::size_t size) {
  std::string s(size, '\0');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
  return s;
}

TEST_F(FileIO, ReadsWholeFilesByteForByte) {
  const std::string cases[] = {"", std::string("a\0b\r\n\xFF", 6), Pattern(200000)};
  for (const std::string& content : cases) {
    SCOPED_TRACE(content.size());
    Put("doc", content);
    std::string bytes = "old", error;
    ASSERT_TRUE(ReadFileBytes(PathOf("doc"), bytes, error)) << error;
    EXPECT_EQ(bytes, content);
  }
}

TEST_F(FileIO, ReadFailuresSayWhyAndKeepTheBuffer) {
  ASSERT_EQ(::mkdir(PathOf("folder").c_str(), 0755), 0);
  const std::string paths[] = {PathOf("missing"), PathOf("folder"), PathOf("missing/doc"), ""};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    std::string bytes = "untouched", error;
    EXPECT_FALSE(ReadFileBytes(path, bytes, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(bytes, "untouched");
  }
}

TEST_F(FileIO, ANamedPipeWithoutWriterDoesNotHang) {
  ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0600), 0);
  const std::string path = PathOf("pipe");
  // In a child process, so that a hang ends as a failure instead of stopping the run.
  const auto readIt = [&path] {
    ::alarm(10);
    std::string bytes;
    std::string error;
    const bool ok = ReadFileBytes(path, bytes, error);
    std::exit(ok && bytes.empty() ? 0 : 1);
  };
  EXPECT_EXIT(readIt(), testing::ExitedWithCode(0), "");
}

TEST_F(FileIO, APipeIsReadUntilItsWriterCloses) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  std::thread writer([fd = fds[1]] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the reader waits first
    EXPECT_EQ(::write(fd, "hello", 5), 5);
    ::close(fd);
  });
  std::string bytes, error;
  const bool ok = ReadFileBytes("/proc/self/fd/" + std::to_string(fds[0]), bytes, error);
  writer.join();
  ::close(fds[0]);
  ASSERT_TRUE(ok) << error;
  EXPECT_EQ(bytes, "hello");
}

TEST_F(FileIO, SizeBoundIsInclusive) {
  Put("doc", "0123456789");
  std::string bytes, error;
  EXPECT_TRUE(ReadFileBytes(PathOf("doc"), bytes, error, 10)) << error;
  EXPECT_EQ(bytes, "0123456789");

  bytes = "untouched";
  EXPECT_FALSE(ReadFileBytes(PathOf("doc"), bytes, error, 9));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  EXPECT_EQ(bytes, "untouched");
}

TEST_F(FileIO, OversizedFileIsRefusedBeforeReading) {
  // A sparse file: reading it first would take half a gigabyte of memory.
  Put("huge", "");
  ASSERT_EQ(::truncate(PathOf("huge").c_str(), static_cast<off_t>(kMaxDocumentFileBytes) + 1), 0);
  std::string bytes = "untouched", error;
  EXPECT_FALSE(ReadFileBytes(PathOf("huge"), bytes, error));
  // Refused on its size, which the message names, not after reading up to the bound.
  EXPECT_NE(error.find(std::to_string(kMaxDocumentFileBytes + 1)), std::string::npos) << error;
  EXPECT_EQ(bytes, "untouched");
}

TEST_F(FileIO, FilesWithoutAKnownSizeAreBoundedWhileReading) {
  // Kernel files report size 0 but have content.
  std::string bytes, error;
  ASSERT_TRUE(ReadFileBytes("/proc/self/status", bytes, error)) << error;
  EXPECT_NE(bytes.find("Name:"), std::string::npos);

  bytes = "untouched";
  EXPECT_FALSE(ReadFileBytes("/proc/self/status", bytes, error, 16));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  EXPECT_EQ(bytes, "untouched");
}

TEST_F(FileIO, WriteCreatesANewFileWithTheUsualPermissions) {
  const mode_t old = ::umask(022);
  std::string error;
  const bool ok = WriteFileAtomically(PathOf("new.pgf"), "content", error);
  ::umask(old);
  ASSERT_TRUE(ok) << error;
  EXPECT_EQ(Get("new.pgf"), "content");
  EXPECT_EQ(ModeOf("new.pgf"), 0644u);
  EXPECT_EQ(Names(), std::vector<std::string>{"new.pgf"});
}

TEST_F(FileIO, WriteReplacesAndKeepsThePermissionsOfTheReplacedFile) {
  const mode_t modes[] = {0600, 0640, 0755, 0444};
  for (mode_t mode : modes) {
    SCOPED_TRACE(testing::Message() << std::oct << mode);
    Put("doc", "old content that is longer than the new one");
    ASSERT_EQ(::chmod(PathOf("doc").c_str(), mode), 0);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(PathOf("doc"), "new", error)) << error;
    EXPECT_EQ(Get("doc"), "new");
    EXPECT_EQ(ModeOf("doc"), mode);
    EXPECT_EQ(Names(), std::vector<std::string>{"doc"});
    ASSERT_EQ(::chmod(PathOf("doc").c_str(), 0644), 0);
  }
}

TEST_F(FileIO, WriteThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
  Put("target", "old");
  ASSERT_EQ(::symlink(PathOf("target").c_str(), PathOf("link").c_str()), 0);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(PathOf("link"), "new", error)) << error;
  EXPECT_TRUE(fs::is_symlink(PathOf("link")));
  EXPECT_EQ(Get("target"), "new");
  EXPECT_EQ(Names(), (std::vector<std::string>{"link", "target"}));
}

TEST_F(FileIO, WriteAndReadBackLargeContent) {
  const std::string content = Pattern(3 << 20);
  std::string error, bytes;
  ASSERT_TRUE(WriteFileAtomically(PathOf("big"), content, error)) << error;
  ASSERT_TRUE(ReadFileBytes(PathOf("big"), bytes, error)) << error;
  EXPECT_EQ(bytes, content);
}

TEST_F(FileIO, WriteIntoAMissingFolderFailsCleanly) {
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(PathOf("nowhere/doc"), "x", error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(Names().empty());
}

TEST_F(FileIO, WriteOverAFolderFailsAndLeavesNoTemporaryFile) {
  ASSERT_EQ(::mkdir(PathOf("folder").c_str(), 0755), 0);
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(PathOf("folder"), "x", error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Names(), std::vector<std::string>{"folder"});
  EXPECT_TRUE(fs::is_directory(PathOf("folder")));
}

TEST_F(FileIO, WriteIntoAReadOnlyFolderKeepsTheOldContent) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not apply to root";
  Put("doc", "old");
  ASSERT_EQ(::chmod(dir_.c_str(), 0555), 0);
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(PathOf("doc"), "new", error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Get("doc"), "old");
  EXPECT_EQ(Names(), std::vector<std::string>{"doc"});
}

}  // namespace
}  // namespace pagora
