// A file written under a temporary name in its destination folder and
// renamed over the destination only when complete, so that a failure or an
// interruption never leaves a partial file under the final name.
#pragma once

#include <string>
#include <vector>

class PendingFile {
 public:
  // Creates the temporary file; throws RenderError when the folder cannot
  // be written.
  explicit PendingFile(std::string destination);
  // Removes the temporary file unless commit() succeeded.
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  const std::string& temporaryPath() const { return temporaryPath_; }
  const std::string& destination() const { return destination_; }
  // The open descriptor, handed over: the caller closes it from now on.
  int releaseDescriptor();
  // Writes all of `bytes` through the descriptor still held, never by
  // name: another program in a shared folder could have put something else
  // there meanwhile. Throws RenderError.
  void write(const std::vector<unsigned char>& bytes);
  // Closes the descriptor still held (a failed close is a failed write)
  // and renames the temporary file to the destination; throws RenderError.
  void commit();

 private:
  std::string destination_;
  std::string temporaryPath_;
  int descriptor_ = -1;
  bool committed_ = false;
};
