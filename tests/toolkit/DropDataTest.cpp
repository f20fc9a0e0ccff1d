// Dragged data under Wine, through a real IDataObject made here: text as
// one item, files one by one in order, shortcuts resolved to their target's
// short path by their extension in any case, long names whole, and the
// drop target handing all of it to the frame's views.
#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/views/MouseInput.h"
#include "toolkit/windows/CDropData.h"
#include "toolkit/windows/FrameDropTarget.h"

namespace {

HGLOBAL globalOf(const std::string& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
  GlobalUnlock(memory);
  return memory;
}

// A data object holding byte blocks by clipboard format, handed out as
// fresh global memory that the caller releases.
class TestDataObject : public IDataObject {
 public:
  void put(CLIPFORMAT format, const std::string& bytes) { blocks_[format] = bytes; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    ++requests;
    const auto block = blocks_.find(format->cfFormat);
    if (block == blocks_.end() || !(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT)
      return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = globalOf(block->second);
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return blocks_.count(format->cfFormat) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

  ULONG references = 1;
  int requests = 0;

 private:
  std::map<CLIPFORMAT, std::string> blocks_;
};

// A drop list of 8-bit names, as the shell makes one.
std::string dropListOf(const std::vector<std::string>& names) {
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = FALSE;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
  for (const std::string& name : names) {
    bytes += name;
    bytes += '\0';
  }
  bytes += '\0';
  return bytes;
}

struct Item {
  std::string bytes;
  int32_t size;
  int32_t type;
};

// Every item, in order, until the first null.
std::vector<Item> itemsOf(CDropData& data) {
  std::vector<Item> items;
  int32_t size = 0, type = 0;
  for (auto* item = static_cast<const char*>(data.getFirst(size, type)); item;
       item = static_cast<const char*>(data.getNext(size, type))) {
    items.push_back(Item{std::string(item, static_cast<size_t>(size)), size, type});
    // Every item ends with a zero byte just past its data.
    EXPECT_EQ(item[size], '\0');
  }
  EXPECT_EQ(size, 0);
  EXPECT_EQ(type, CDropData::kError);
  return items;
}

void makeShortcut(const std::string& shortcut, const std::string& target) {
  IShellLinkA* link = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             reinterpret_cast<void**>(&link)),
            S_OK);
  ASSERT_EQ(link->SetPath(target.c_str()), S_OK);
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH);
  EXPECT_EQ(file->Save(wide, TRUE), S_OK);
  file->Release();
  link->Release();
}

std::string shortPathOf(const std::string& path) {
  char buffer[MAX_PATH] = {};
  GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  return buffer;
}

class DropData : public ::testing::Test {
 protected:
  void SetUp() override { OleInitialize(nullptr); }
  void TearDown() override { OleUninitialize(); }
};

TEST_F(DropData, TextIsOneZeroTerminatedItemFilesAreManyInOrderNeitherIsNone) {
  TestDataObject text;
  // Text without its own terminator: the item still ends in a zero byte.
  text.put(CF_TEXT, "dragged words");
  text.put(CF_HDROP, dropListOf({"C:\\ignored.wav"}));
  {
    auto* data = new CDropData(&text);
    EXPECT_EQ(text.references, 2u);  // retained while it lives
    EXPECT_EQ(data->getCount(), 1);
    const auto items = itemsOf(*data);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].type, CDropData::kText);
    EXPECT_EQ(items[0].bytes, "dragged words");
    // Asked again from the start, the same.
    EXPECT_EQ(itemsOf(*data).size(), 1u);
    data->release();
    EXPECT_EQ(text.references, 1u);
  }

  TestDataObject files;
  files.put(CF_HDROP, dropListOf({"C:\\one.wav", "C:\\dir\\two.WAV", "D:\\three"}));
  auto* data = new CDropData(&files);
  EXPECT_EQ(data->getCount(), 3);
  const auto items = itemsOf(*data);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].bytes, "C:\\one.wav");
  EXPECT_EQ(items[1].bytes, "C:\\dir\\two.WAV");
  EXPECT_EQ(items[2].bytes, "D:\\three");
  for (const Item& item : items) {
    EXPECT_EQ(item.type, CDropData::kFile);
    EXPECT_EQ(item.size, static_cast<int32_t>(item.bytes.size()));
  }
  data->release();

  TestDataObject neither;
  neither.put(CF_BITMAP, "pixels");
  data = new CDropData(&neither);
  EXPECT_EQ(data->getCount(), 0);
  int32_t size = 5, type = 5;
  EXPECT_EQ(data->getFirst(size, type), nullptr);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(type, CDropData::kError);
  data->release();
}

TEST_F(DropData, NamesLongerThanThePathBufferArriveWhole) {
  const std::string longName = "C:\\" + std::string(1500, 'n') + ".wav";
  const std::string longShortcut = "C:\\" + std::string(1500, 's') + ".lnk";
  TestDataObject files;
  files.put(CF_HDROP, dropListOf({longName, longShortcut, "C:\\after.wav"}));
  auto* data = new CDropData(&files);
  const auto items = itemsOf(*data);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].bytes, longName);
  // A shortcut that cannot be resolved stays as dropped.
  EXPECT_EQ(items[1].bytes, longShortcut);
  EXPECT_EQ(items[2].bytes, "C:\\after.wav");
  data->release();
}

TEST_F(DropData, ShortcutsResolveToTheirTargetsShortPathInAnyCaseButNotLnkTxt) {
  test_support::TempDir dir;
  const std::string folder = test_support::nativePath(dir.path());
  const std::string target = folder + "\\a long target name.wav";
  std::ofstream(dir.path() + "/a long target name.wav") << "RIFF";
  const std::string lower = folder + "\\lower.lnk";
  const std::string upper = folder + "\\UPPER.LNK";
  const std::string notShortcut = folder + "\\other.lnk.txt";
  makeShortcut(lower, target);
  makeShortcut(upper, target);
  makeShortcut(folder + "\\made.lnk", target);
  ASSERT_TRUE(MoveFileA((folder + "\\made.lnk").c_str(), notShortcut.c_str()));
  const std::string expected = shortPathOf(target);
  ASSERT_FALSE(expected.empty());

  TestDataObject files;
  files.put(CF_HDROP, dropListOf({lower, upper, notShortcut}));
  auto* data = new CDropData(&files);
  const auto items = itemsOf(*data);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].bytes, expected);
  EXPECT_EQ(items[1].bytes, expected);
  EXPECT_EQ(items[2].bytes, notShortcut);
  data->release();
}

// Views that record what the frame hands them while a drag runs.
std::vector<std::string> gDragLog;

class DropView : public CView {
 public:
  DropView(const CRect& rect, bool accepts) : CView(rect), accepts_(accepts) {}
  void onDragEnter(CDrawContext*, CDropData* drag, const CPoint&) override {
    gDragLog.push_back(describe("enter", drag));
  }
  void onDragMove(CDrawContext*, CDropData* drag, const CPoint&) override {
    gDragLog.push_back(describe("move", drag));
  }
  void onDragLeave(CDrawContext*, CDropData* drag, const CPoint&) override {
    gDragLog.push_back(describe("leave", drag));
  }
  bool onDrop(CDrawContext*, CDropData* drag, const CPoint&) override {
    int32_t itemSize = 0, type = 0;
    const auto* item = static_cast<const char*>(drag->getFirst(itemSize, type));
    gDragLog.push_back("drop " + std::string(item ? item : "(none)"));
    return accepts_;
  }

 private:
  static std::string describe(const char* what, CDropData* drag) {
    return std::string(what) + (drag == currentDropData() ? " current" : " other");
  }
  bool accepts_;
};

class PointerAt : public MouseInputSource {
 public:
  bool isDown(InputKey) const override { return false; }
  CPoint cursorPosition() const override { return cursor; }
  CPoint windowOrigin(void*) const override { return CPoint(); }
  CPoint cursor;
};

TEST_F(DropData, DropTargetHandsTheDragToTheViewUnderThePointer) {
  PointerAt pointer;
  setMouseInputSource(&pointer);
  gDragLog.clear();
  auto* frame = new CFrame(CRect(0, 0, 200, 100), nullptr, nullptr);
  frame->addView(new DropView(CRect(0, 0, 100, 100), true));
  frame->addView(new DropView(CRect(100, 0, 200, 100), false));
  IDropTarget* target = newFrameDropTarget(frame);
  target->AddRef();
  IUnknown* unknown = nullptr;
  EXPECT_EQ(target->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  unknown->Release();
  IDataObject* asData = nullptr;
  EXPECT_EQ(target->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&asData)), E_NOINTERFACE);

  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->DragEnter(nullptr, 0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_TRUE(gDragLog.empty());

  TestDataObject files;
  files.put(CF_HDROP, dropListOf({"C:\\first.wav", "C:\\second.wav"}));
  pointer.cursor = CPoint(50, 50);
  EXPECT_EQ(target->DragEnter(&files, 0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
  ASSERT_NE(currentDropData(), nullptr);
  pointer.cursor = CPoint(150, 50);
  EXPECT_EQ(target->DragOver(0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
  pointer.cursor = CPoint(60, 50);
  EXPECT_EQ(target->Drop(&files, 0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(currentDropData(), nullptr);
  EXPECT_EQ(gDragLog, (std::vector<std::string>{"enter current", "leave current", "enter current", "leave current",
                                                "enter current", "drop C:\\first.wav", "leave current"}));

  // Leaving forgets the drag and lets the data object go.
  gDragLog.clear();
  EXPECT_EQ(target->DragEnter(&files, 0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(files.references, 2u);
  EXPECT_EQ(target->DragLeave(), S_OK);
  EXPECT_EQ(currentDropData(), nullptr);
  EXPECT_EQ(files.references, 1u);
  EXPECT_EQ(gDragLog, (std::vector<std::string>{"enter current", "leave current"}));

  // A data object with neither format: the view gets no item.
  gDragLog.clear();
  TestDataObject neither;
  neither.put(CF_BITMAP, "pixels");
  target->DragEnter(&neither, 0, POINTL{}, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
  target->Drop(&neither, 0, POINTL{}, &effect);
  EXPECT_EQ(gDragLog, (std::vector<std::string>{"enter current", "drop (none)", "leave current"}));

  target->Release();
  frame->release();
  setMouseInputSource(nullptr);
}

}  // namespace
