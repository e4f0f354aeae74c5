#include "platform/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace pagora {

namespace {

std::string ErrnoText() { return std::strerror(errno); }

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

class FileDescriptor {
public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { if (fd_ >= 0) ::close(fd_); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  [[nodiscard]] int get() const noexcept { return fd_; }
  int release() noexcept { const int fd = fd_; fd_ = -1; return fd; }

private:
  int fd_;
};

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error, std::size_t maxBytes) {
  // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come;
  // reads block again afterwards so that pipes are read whole.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    error = ErrnoText();
    return false;
  }
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    error = ErrnoText();
    return false;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    error = ErrnoText();
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error = "is a directory";
    return false;
  }
  if (st.st_size > 0 && static_cast<std::size_t>(st.st_size) > maxBytes) {
    error = "file is too large (" + std::to_string(st.st_size) + " bytes; at most " + std::to_string(maxBytes) + ")";
    return false;
  }
  std::string data;
  data.reserve(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0);
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = ErrnoText();
      return false;
    }
    if (n == 0) break;
    if (data.size() + static_cast<std::size_t>(n) > maxBytes) {  // a pipe or a growing file
      error = "file is too large (more than " + std::to_string(maxBytes) + " bytes)";
      return false;
    }
    data.append(buffer, static_cast<std::size_t>(n));
  }
  bytes = std::move(data);
  return true;
}

bool WriteFileAtomically(const std::string& requestedPath, const std::string& bytes, std::string& error) {
  // Saving through a symbolic link replaces the file it points to, not the link.
  std::string path = requestedPath;
  struct stat linkInfo {};
  if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      path = real;
      std::free(real);
    }
  }
  const std::string dir = DirectoryOf(path);
  std::string tmpl = path + ".XXXXXX";
  FileDescriptor fd(::mkostemp(tmpl.data(), O_CLOEXEC));
  if (fd.get() < 0) {
    error = ErrnoText();
    return false;
  }
  const std::string tmpPath = tmpl;
  auto fail = [&](std::string why) {
    ::unlink(tmpPath.c_str());
    error = std::move(why);
    return false;
  };
  // Keep the permissions (and, where allowed, the owner) of the file being replaced; a new
  // file gets the usual ones.
  struct stat st {};
  mode_t mode = 0666;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
    if (::fchown(fd.get(), st.st_uid, st.st_gid) != 0) {
      // Not our file to give away: it becomes ours, with its old permissions.
    }
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  if (::fchmod(fd.get(), mode) != 0) return fail(ErrnoText());
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(ErrnoText());
    }
    written += static_cast<std::size_t>(n);
  }
  if (::fsync(fd.get()) != 0) return fail(ErrnoText());
  if (::close(fd.release()) != 0) return fail(ErrnoText());
  if (::rename(tmpPath.c_str(), path.c_str()) != 0) return fail(ErrnoText());
  // The rename itself must reach the disk too.
  FileDescriptor dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
  return true;
}

}  // namespace pagora
