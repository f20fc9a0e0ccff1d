#include "toolkit/windows/CDropData.h"

#include <shellapi.h>
#include <windows.h>

#include <cstring>
#include <new>

#include "toolkit/windows/ShortcutTarget.h"

namespace {

// The buffer a resolved shortcut's target must fit in.
constexpr size_t kNameBuffer = 1024;
constexpr UINT kCountFiles = 0xFFFFFFFF;

FORMATETC formatOf(CLIPFORMAT format) {
  FORMATETC request{};
  request.cfFormat = format;
  request.dwAspect = DVASPECT_CONTENT;
  request.lindex = -1;
  request.tymed = TYMED_HGLOBAL;
  return request;
}

bool fetch(IDataObject* data, CLIPFORMAT format, STGMEDIUM& medium) {
  FORMATETC request = formatOf(format);
  medium = STGMEDIUM{};
  return data && SUCCEEDED(data->GetData(&request, &medium)) && medium.tymed == TYMED_HGLOBAL &&
         medium.hGlobal != nullptr;
}

// A zero-terminated copy of `length` bytes; null when out of memory.
char* copyOf(const char* bytes, size_t length) {
  auto* copy = new (std::nothrow) char[length + 1];
  if (!copy) return nullptr;
  std::memcpy(copy, bytes, length);
  copy[length] = '\0';
  return copy;
}

}  // namespace

CDropData::CDropData(IDataObject* dataObject) : dataObject_(dataObject) {
  if (dataObject_) dataObject_->AddRef();
  STGMEDIUM medium;
  if (fetch(dataObject_, CF_TEXT, medium)) {
    isText_ = true;
    count_ = 1;
    ReleaseStgMedium(&medium);
  } else if (fetch(dataObject_, CF_HDROP, medium)) {
    count_ = static_cast<int32_t>(DragQueryFileA(static_cast<HDROP>(medium.hGlobal), kCountFiles, nullptr, 0));
    ReleaseStgMedium(&medium);
  }
}

CDropData::~CDropData() {
  delete[] item_;
  if (dataObject_) dataObject_->Release();
}

const void* CDropData::getFirst(int32_t& size, int32_t& type) {
  index_ = 0;
  return getNext(size, type);
}

const void* CDropData::getNext(int32_t& size, int32_t& type) {
  delete[] item_;
  item_ = nullptr;
  size = 0;
  type = kError;
  if (index_ >= count_) return nullptr;
  return isText_ ? nextText(size, type) : nextFile(size, type);
}

const void* CDropData::nextText(int32_t& size, int32_t& type) {
  STGMEDIUM medium;
  if (index_ != 0 || !fetch(dataObject_, CF_TEXT, medium)) return nullptr;
  ++index_;
  const SIZE_T length = GlobalSize(medium.hGlobal);
  if (const void* bytes = GlobalLock(medium.hGlobal)) {
    // One byte more than the data, zero, so that no reader runs past it.
    item_ = copyOf(static_cast<const char*>(bytes), length);
    GlobalUnlock(medium.hGlobal);
  }
  ReleaseStgMedium(&medium);
  if (!item_) return nullptr;
  size = static_cast<int32_t>(length);
  type = kText;
  return item_;
}

const void* CDropData::nextFile(int32_t& size, int32_t& type) {
  STGMEDIUM medium;
  if (!fetch(dataObject_, CF_HDROP, medium)) return nullptr;
  auto drop = static_cast<HDROP>(medium.hGlobal);
  const auto index = static_cast<UINT>(index_++);
  // The name is taken whole, whatever its length, into a buffer of its size.
  const UINT length = DragQueryFileA(drop, index, nullptr, 0);
  auto* name = length ? new (std::nothrow) char[length + 1] : nullptr;
  const bool named = name && DragQueryFileA(drop, index, name, length + 1) == length;
  ReleaseStgMedium(&medium);
  if (!named) {
    delete[] name;
    return nullptr;
  }
  // A shortcut becomes its target, when the target fits the name buffer;
  // otherwise the name stays as dropped.
  char target[kNameBuffer];
  if (isShortcutName(name) && resolveShortcut(name, target, sizeof(target))) {
    delete[] name;
    item_ = copyOf(target, std::strlen(target));
  } else {
    item_ = name;
  }
  if (!item_) return nullptr;
  size = static_cast<int32_t>(std::strlen(item_));
  type = kFile;
  return item_;
}
