// The reference-counted base of views, drawing contexts, bitmaps and drop
// data. A new object holds one reference; the last release destroys it.
#pragma once

#include <cstdint>

class CCountedObject {
 public:
  CCountedObject() = default;
  CCountedObject(const CCountedObject&) = delete;
  CCountedObject& operator=(const CCountedObject&) = delete;
  virtual ~CCountedObject() = default;

  virtual void release();
  virtual void retain();

  int32_t getNbReference() const { return nbReference_; }

 private:
  int32_t nbReference_ = 1;
};
