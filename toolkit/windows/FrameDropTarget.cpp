#include "toolkit/windows/FrameDropTarget.h"

#include <atomic>

#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/windows/CDropData.h"

namespace {

// One drag at a time: the system runs a single drag-and-drop loop.
CDropData* gCurrentDrag = nullptr;

void forgetCurrentDrag() {
  if (gCurrentDrag) gCurrentDrag->release();
  gCurrentDrag = nullptr;
}

std::atomic<int> gLiveTargets{0};

class FrameDropTarget : public IDropTarget {
 public:
  explicit FrameDropTarget(CFrame* frame) : frame_(frame) { ++gLiveTargets; }
  virtual ~FrameDropTarget() { --gLiveTargets; }

  // The frame's window revoked the target: a drag loop that still holds it
  // reaches no frame any more.
  void detach() { frame_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(id, IID_IDropTarget) || IsEqualIID(id, IID_IUnknown)) {
      *object = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    if (!data || !frame_) {
      setEffect(effect, DROPEFFECT_NONE);
      return S_OK;
    }
    forgetCurrentDrag();
    gCurrentDrag = new CDropData(data);
    tell([](CFrame& frame, CDrawContext* context, CDropData* drag, const CPoint& where) {
      frame.onDragEnter(context, drag, where);
    });
    setEffect(effect, DROPEFFECT_MOVE);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    if (gCurrentDrag && frame_) {
      tell([](CFrame& frame, CDrawContext* context, CDropData* drag, const CPoint& where) {
        frame.onDragMove(context, drag, where);
      });
    }
    setEffect(effect, DROPEFFECT_MOVE);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE DragLeave() override {
    if (gCurrentDrag && frame_) {
      tell([](CFrame& frame, CDrawContext* context, CDropData* drag, const CPoint& where) {
        frame.onDragLeave(context, drag, where);
      });
    }
    forgetCurrentDrag();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override {
    if (gCurrentDrag && frame_) {
      tell([](CFrame& frame, CDrawContext* context, CDropData* drag, const CPoint& where) {
        frame.onDrop(context, drag, where);
      });
    }
    forgetCurrentDrag();
    return S_OK;
  }

 private:
  static void setEffect(DWORD* effect, DWORD value) {
    if (effect) *effect = value;
  }

  // Hands the current drag to the frame at the pointer, in a context of its
  // own made for the call.
  // The frame is retained for the call: a view that closes the editor from
  // its drop handler does not free the frame under it.
  template <typename Call>
  void tell(Call call) {
    CFrame* frame = frame_;
    frame->retain();
    CDrawContext* context = frame->createFrameContext();
    CPoint where;
    frame->getMouseLocation(context, where);
    call(*frame, context, gCurrentDrag, where);
    context->release();
    frame->release();
  }

  CFrame* frame_;
  ULONG references_ = 0;
};

}  // namespace

IDropTarget* newFrameDropTarget(CFrame* frame) { return new FrameDropTarget(frame); }

void detachFrameDropTarget(IDropTarget* target) {
  if (target) static_cast<FrameDropTarget*>(target)->detach();
}

int liveFrameDropTargets() { return gLiveTargets.load(); }

CDropData* currentDropData() { return gCurrentDrag; }
