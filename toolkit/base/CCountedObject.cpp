#include "toolkit/base/CCountedObject.h"

void CCountedObject::release() {
  if (--nbReference_ == 0) delete this;
}

void CCountedObject::retain() { ++nbReference_; }
