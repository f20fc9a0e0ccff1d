// What is being dragged over or dropped on a frame: the text of a text drag
// as one item, or the names of the dropped files one by one (shortcuts
// resolved to their target's short path). An item stays valid until the
// next call or the object's destruction.
#pragma once

#include <objidl.h>

#include <cstdint>

#include "toolkit/base/CCountedObject.h"

class CDropData : public CCountedObject {
 public:
  enum Type : int32_t { kError = -1, kFile = 0, kText = 1 };

  // Asks the data object what it holds; retains it.
  explicit CDropData(IDataObject* dataObject);
  ~CDropData() override;
  CDropData(const CDropData&) = delete;
  CDropData& operator=(const CDropData&) = delete;

  // The first item: its bytes, their count in `size` and its type. Null
  // with type kError when there is none.
  const void* getFirst(int32_t& size, int32_t& type);
  const void* getNext(int32_t& size, int32_t& type);
  int32_t getCount() const { return count_; }

 private:
  const void* nextText(int32_t& size, int32_t& type);
  const void* nextFile(int32_t& size, int32_t& type);

  IDataObject* dataObject_;
  int32_t count_ = 0;
  int32_t index_ = 0;
  bool isText_ = false;
  // The last item handed out, zero-terminated.
  char* item_ = nullptr;
};
