// The test host on Linux: loads the plug-in through its entry point, opens
// the editor in a top-level X11 window, calls the editor's idle every 30 ms,
// records the host callbacks, and takes the same commands from a file as
// the Windows host, logging the same lines.
//
//   EditorTestHostX11 PLUGIN.so COMMANDS.txt LOG.txt
//
// Commands: "params" (logs "params V0 V1 ..."), "set INDEX VALUE",
// "knobmode MODE", "mark TEXT" (logs "mark TEXT"), "reopen" (closes and
// opens the editor again), "cycle COUNT" (closes and opens it COUNT times,
// logs "cycled COUNT"), "quit". They act on the current instance: the
// first one unless "use N" chose another. "instance [PATH]" creates one
// more instance of the plug-in with its editor in a window of its own
// (titled "Ulmar test host N", N counted from 2) and makes it the current
// one; with PATH the instance comes from that copy of the library, loaded
// for it alone and unloaded right after its effClose. "close" closes the
// current instance's editor, window and effect; "closeonidle" has the
// current instance close so from inside its next idle callback (the editor
// calls it while a control tracks the mouse), logging "closed in idle N".
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "tests/editorhost/CommandFile.h"
#include "tests/editorhost/HostCallbackLog.h"
#include "tests/editorhost/HostLog.h"
#include "tools/loader/PluginModule.h"

namespace {

constexpr const char* kWindowTitle = "Ulmar test host";
constexpr long kIdleNanoseconds = 30L * 1000 * 1000;

HostLog* gLog = nullptr;
bool gQuit = false;
// The effect whose next idle callback closes its instance.
AEffect* gCloseOnIdle = nullptr;
void closeFromIdle(AEffect* effect);

VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
  const VstIntPtr answer = answerHostCallback(*gLog, opcode, index, opt);
  if (opcode == audioMasterIdle && effect && effect == gCloseOnIdle) {
    gCloseOnIdle = nullptr;
    closeFromIdle(effect);
  }
  return answer;
}

void onCrash(int signal) {
  if (gLog) gLog->line("crash signal %d", signal);
  _exit(70);
}

// One plug-in instance with its editor in a top-level window.
class HostedEditor {
 public:
  HostedEditor(Display* display, PluginModule::EntryPoint entry, const char* title, int x, int y,
               std::unique_ptr<PluginModule> ownLibrary = nullptr)
      : display_(display), ownLibrary_(std::move(ownLibrary)) {
    if (ownLibrary_) entry = ownLibrary_->loaded() ? ownLibrary_->entry() : nullptr;
    if (!entry) return;
    effect_ = entry(hostCallback);
    if (!effect_) return;
    dispatch(effOpen);
    ERect* rect = nullptr;
    if (dispatch(effEditGetRect, 0, 0, &rect) == 0 || !rect) {
      gLog->line("error no editor rectangle");
      return;
    }
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    const int screen = DefaultScreen(display);
    window_ =
        XCreateSimpleWindow(display, RootWindow(display, screen), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window_, title);
    XSizeHints hints{};
    hints.flags = PPosition | PMinSize | PMaxSize;
    hints.x = x;
    hints.y = y;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(display, window_, &hints);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window_, &deleteWindow, 1);
    XSelectInput(display, window_, StructureNotifyMask);
    XMapWindow(display, window_);
    // The editor goes into a window that is on the screen.
    XEvent event;
    do XWindowEvent(display, window_, StructureNotifyMask, &event);
    while (event.type != MapNotify);
  }

  ~HostedEditor() {
    if (!effect_) return;
    if (open_) dispatch(effEditClose);
    dispatch(effClose);
    if (window_) XDestroyWindow(display_, window_);
    XFlush(display_);
    // A host that unloads a library as soon as its last instance is closed.
    ownLibrary_.reset();
  }

  bool valid() const { return effect_ && window_; }
  AEffect* effect() const { return effect_; }
  Window window() const { return window_; }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
  }

  bool openEditor() {
    if (dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window_)) == 0) {
      gLog->line("error editor did not open");
      return false;
    }
    open_ = true;
    XSync(display_, False);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display_, window_, &root, &parent, &children, &count);
    const Window editor = count > 0 ? children[0] : 0;
    if (children) XFree(children);
    int offsetX = 0;
    int offsetY = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    if (editor) {
      Window ignored = 0;
      unsigned int border = 0;
      unsigned int depth = 0;
      XGetGeometry(display_, editor, &ignored, &offsetX, &offsetY, &width, &height, &border, &depth);
    }
    int windowX = 0;
    int windowY = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window_, root, 0, 0, &windowX, &windowY, &child);
    gLog->line("editor offset %d %d size %u %u window %d %d", offsetX, offsetY, width, height, windowX, windowY);
    return editor != 0;
  }

  void closeEditor() {
    if (open_) dispatch(effEditClose);
    open_ = false;
  }

  void idle() {
    if (open_) dispatch(effEditIdle);
  }

 private:
  Display* display_;
  AEffect* effect_ = nullptr;
  Window window_ = 0;
  bool open_ = false;
  std::unique_ptr<PluginModule> ownLibrary_;
};

void logParams(AEffect* effect, const char* label) {
  std::string values = label;
  char number[32];
  for (VstInt32 i = 0; i < effect->numParams; ++i) {
    std::snprintf(number, sizeof(number), " %.6f", static_cast<double>(effect->getParameter(effect, i)));
    values += number;
  }
  gLog->line("%s", values.c_str());
}

constexpr int kMaxInstances = 4;

struct Host {
  Display* display;
  PluginModule::EntryPoint entry;
  std::unique_ptr<HostedEditor> instances[kMaxInstances];
  int current = 0;
};
Host* gHost = nullptr;

void closeFromIdle(AEffect* effect) {
  for (int i = 0; i < kMaxInstances; ++i) {
    if (gHost->instances[i] && gHost->instances[i]->effect() == effect) {
      // Editor, effect, window and library go inside the callback, while
      // the editor's loop that called it is still on the stack.
      gHost->instances[i].reset();
      gLog->line("closed in idle %d", i + 1);
    }
  }
}

bool startInstance(Host& host, int number, const std::string& library = "") {
  char title[64];
  if (number == 0) {
    std::snprintf(title, sizeof(title), "%s", kWindowTitle);
  } else {
    std::snprintf(title, sizeof(title), "%s %d", kWindowTitle, number + 1);
  }
  // Side by side, inside a 1024 x 768 screen.
  const int x = number == 0 ? 200 : 560;
  const int y = number < 2 ? 360 : 40;
  host.instances[number] = std::make_unique<HostedEditor>(
      host.display, host.entry, title, x, y, library.empty() ? nullptr : std::make_unique<PluginModule>(library));
  if (!host.instances[number]->valid() || !host.instances[number]->openEditor()) {
    host.instances[number].reset();
    return false;
  }
  return true;
}

void runCommand(Host& host, const std::string& text) {
  std::istringstream words(text);
  std::string command;
  words >> command;
  HostedEditor* instance = host.instances[host.current].get();
  if (!instance && command != "use" && command != "instance" && command != "mark" && command != "quit") {
    gLog->line("error no instance %d", host.current + 1);
  } else if (command == "params") {
    logParams(instance->effect(), "params");
  } else if (command == "set") {
    VstInt32 index = 0;
    float value = 0;
    words >> index >> value;
    instance->effect()->setParameter(instance->effect(), index, value);
  } else if (command == "use") {
    int number = 1;
    words >> number;
    if (number >= 1 && number <= kMaxInstances) host.current = number - 1;
    gLog->line("using %d", host.current + 1);
  } else if (command == "instance") {
    int number = 0;
    std::string library;
    words >> library;
    while (number < kMaxInstances && host.instances[number]) ++number;
    if (number == kMaxInstances || !startInstance(host, number, library)) {
      gLog->line("error no new instance");
    } else {
      host.current = number;
      gLog->line("instance %d ready", number + 1);
    }
  } else if (command == "close") {
    if (host.current == 0) {
      gLog->line("error the first instance closes with quit");
    } else {
      host.instances[host.current].reset();
      gLog->line("instance %d closed", host.current + 1);
    }
  } else if (command == "closeonidle") {
    gCloseOnIdle = instance->effect();
    gLog->line("close on idle %d", host.current + 1);
  } else if (command == "knobmode") {
    VstInt32 mode = 0;
    words >> mode;
    instance->dispatch(effSetEditKnobMode, 0, mode);
  } else if (command == "mark") {
    gLog->line("mark %s", text.size() > 5 ? text.c_str() + 5 : "");
  } else if (command == "reopen") {
    instance->closeEditor();
    instance->openEditor();
  } else if (command == "cycle") {
    int count = 0;
    words >> count;
    for (int i = 0; i < count; ++i) {
      instance->closeEditor();
      instance->openEditor();
      instance->idle();
    }
    gLog->line("cycled %d", count);
  } else if (command == "quit") {
    gQuit = true;
  } else if (!command.empty()) {
    gLog->line("error unknown command %s", command.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: EditorTestHostX11 PLUGIN COMMANDS LOG\n");
    return 2;
  }
  HostLog log(argv[3]);
  if (!log.isOpen()) return 2;
  gLog = &log;
  signal(SIGSEGV, onCrash);
  signal(SIGABRT, onCrash);
  signal(SIGFPE, onCrash);
  CommandFile commands(argv[2]);

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    log.line("error no X display");
    return 3;
  }
  PluginModule module(argv[1]);
  PluginModule::EntryPoint entry = module.loaded() ? module.entry() : nullptr;
  if (!entry) {
    log.line("error plug-in did not load: %s", module.error().c_str());
    return 3;
  }
  Host host{display, entry, {}, 0};
  gHost = &host;
  if (!startInstance(host, 0)) return 5;
  log.line("pid %d", static_cast<int>(getpid()));
  log.line("ready");

  const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  while (!gQuit) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) gQuit = true;
    }
    for (auto& instance : host.instances)
      if (instance) instance->idle();
    for (const std::string& line : commands.newLines()) runCommand(host, line);
    timespec pause{0, kIdleNanoseconds};
    nanosleep(&pause, nullptr);
  }
  for (int i = kMaxInstances - 1; i >= 0; --i) host.instances[i].reset();
  XCloseDisplay(display);
  log.line("closed");
  return 0;
}
