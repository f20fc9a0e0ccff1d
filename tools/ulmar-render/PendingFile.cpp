#include "PendingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "RenderError.h"

namespace {

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

PendingFile::PendingFile(std::string destination) : destination_(std::move(destination)) {
  struct stat existing {};
  if (::stat(destination_.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
    throw RenderError("Cannot write " + destination_ + ": it is a folder");
  }
  // Hidden, in the same folder: the final rename stays on one file system.
  std::string pattern = folderOf(destination_) + "/." + nameOf(destination_) + ".partial-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  descriptor_ = ::mkstemp(buffer.data());
  if (descriptor_ < 0) {
    throw RenderError("Cannot write " + destination_ + ": " + std::strerror(errno));
  }
  temporaryPath_ = buffer.data();
  // mkstemp creates the file for its owner only; the result gets the
  // permissions any new file gets.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(descriptor_, static_cast<mode_t>(0666 & ~mask));
}

PendingFile::~PendingFile() {
  if (descriptor_ >= 0) {
    ::close(descriptor_);
  }
  if (!committed_) {
    ::unlink(temporaryPath_.c_str());
  }
}

int PendingFile::releaseDescriptor() {
  const int descriptor = descriptor_;
  descriptor_ = -1;
  return descriptor;
}

void PendingFile::write(const std::vector<unsigned char>& bytes) {
  std::size_t done = 0;
  while (descriptor_ >= 0 && done < bytes.size()) {
    const ssize_t n = ::write(descriptor_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      throw RenderError("Cannot write " + destination_ + ": " + std::strerror(n < 0 ? errno : EIO));
    }
    done += static_cast<std::size_t>(n);
  }
  if (done < bytes.size()) {
    throw RenderError("Cannot write " + destination_ + ": the file was handed on");
  }
}

void PendingFile::commit() {
  if (descriptor_ >= 0) {
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) {
      throw RenderError("Cannot write " + destination_ + ": " + std::strerror(errno));
    }
  }
  if (std::rename(temporaryPath_.c_str(), destination_.c_str()) != 0) {
    throw RenderError("Cannot write " + destination_ + ": " + std::strerror(errno));
  }
  committed_ = true;
}
