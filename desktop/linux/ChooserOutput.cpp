#include "desktop/linux/ChooserOutput.h"

#include <limits.h>

void ChooserOutput::append(const char* bytes, std::size_t count) {
  if (tooLong_) return;
  // More than PATH_MAX bytes, its terminator's place included, is no path.
  if (text_.size() + count > PATH_MAX) {
    tooLong_ = true;
    text_.clear();
    return;
  }
  text_.append(bytes, count);
}

std::string ChooserOutput::path() const {
  if (tooLong_ || text_.find('\0') != std::string::npos) return {};
  std::size_t end = text_.size();
  while (end > 0 && (text_[end - 1] == '\n' || text_[end - 1] == '\r')) --end;
  return text_.substr(0, end);
}

void ChooserOutput::clear() {
  text_.clear();
  tooLong_ = false;
}
