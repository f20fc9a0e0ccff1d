// A small host for driving a plug-in's editor as a person would: it loads
// the library through its entry point, opens the editor in a top-level
// window, calls the editor's idle on a timer, records the host callbacks,
// and takes commands from a file that a test script appends to.
//
//   EditorTestHost PLUGIN.dll COMMANDS.txt LOG.txt
//
// Commands: "params" (logs "params V0 V1 ..."), "set INDEX VALUE",
// "knobmode MODE", "mark TEXT" (logs "mark TEXT"), "reopen" (closes and
// opens the editor again), "quit". They act on the current instance, the
// first one unless "use N" chose another. "instance [PATH]" creates one
// more instance of the plug-in with its editor in a window of its own
// (titled "Ulmar test host N", N counted from 2) and makes it the current
// one; with PATH the instance comes from that copy of the library, loaded
// for it alone and freed right after its effClose. "close" closes the
// current instance's editor, window and effect; "closeonidle" has the
// current instance close so from inside its next idle callback (the editor
// calls it while a control tracks the mouse or a dialog is up), logging
// "closed in idle N". "swapbuttons 0|1" swaps the mouse buttons as a
// left-handed user does (the editor reads it when it opens); "press X Y"
// and "rpress X Y" post the left or right button's press to the current
// editor's window at X,Y, as Windows sends a left-handed user's clicks,
// which Wine does not swap.
// "chunk" logs "chunk SIZE HASH PATH" for the state the plug-in saves:
// HASH the FNV-1a hash (64 bits, hexadecimal) of its 32768 samples, PATH
// the bytes of its path field up to the first zero, in hexadecimal.
// "chars TEXT" sends the UTF-8 TEXT, one UTF-16 unit at a time, as the
// characters a keyboard layout would produce (WM_CHAR) to the window with
// the keyboard focus, such as the file dialog's name field: xdotool types
// characters outside the X keymap by remapping a key for a moment, which a
// busy Wine can read after the mapping is gone.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "tests/editorhost/CommandFile.h"
#include "tests/editorhost/HostCallbackLog.h"
#include "tests/editorhost/HostLog.h"
#include "tools/loader/PluginModule.h"

namespace {

constexpr const char* kWindowTitle = "Ulmar test host";
constexpr const char* kWindowClass = "UlmarTestHostWindow";
constexpr UINT_PTR kIdleTimer = 1;
constexpr UINT kIdleMilliseconds = 30;
// The status of a run that ended in an unhandled exception.
constexpr int kCrashStatus = 70;

constexpr int kMaxInstances = 4;
// Where the windows of later instances stand, side by side on the screen.
constexpr int kWindowLeft = 200;
constexpr int kWindowTop = 360;
constexpr int kWindowStep = 360;

// One plug-in instance and the top-level window its editor sits in; the
// first instance's window runs the idle timer and ends the process.
struct Instance {
  AEffect* effect = nullptr;
  HWND window = nullptr;
  // The instance's own copy of the library, if it has one.
  std::unique_ptr<PluginModule> library;
};

HostLog* gLog = nullptr;
PluginModule::EntryPoint gEntry = nullptr;
Instance gInstances[kMaxInstances];
int gCurrent = 0;
CommandFile* gCommands = nullptr;
// The effect whose next idle callback closes its instance.
AEffect* gCloseOnIdle = nullptr;
void closeInstance(Instance& instance);

VstIntPtr dispatchTo(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
  return dispatchTo(gInstances[gCurrent].effect, opcode, index, value, ptr, opt);
}

Instance* instanceOf(HWND window) {
  for (Instance& instance : gInstances) {
    if (instance.window == window) return &instance;
  }
  return nullptr;
}

VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
  const VstIntPtr answer = answerHostCallback(*gLog, opcode, index, opt);
  if (opcode == audioMasterIdle && effect && effect == gCloseOnIdle) {
    gCloseOnIdle = nullptr;
    for (int i = 0; i < kMaxInstances; ++i) {
      if (gInstances[i].effect != effect) continue;
      // Window, editor, effect and library go inside the callback, while
      // the editor's loop that called it is still on the stack.
      closeInstance(gInstances[i]);
      gLog->line("closed in idle %d", i + 1);
    }
  }
  return answer;
}

LONG WINAPI onCrash(EXCEPTION_POINTERS* exception) {
  const DWORD code = exception && exception->ExceptionRecord ? exception->ExceptionRecord->ExceptionCode : 0;
  if (gLog) gLog->line("crash 0x%08lx", static_cast<unsigned long>(code));
  ExitProcess(kCrashStatus);
}

RECT screenRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

bool openEditor(const Instance& instance) {
  if (dispatchTo(instance.effect, effEditOpen, 0, 0, instance.window) == 0) {
    gLog->line("error editor did not open");
    return false;
  }
  HWND editor = GetWindow(instance.window, GW_CHILD);
  const RECT outer = screenRectOf(instance.window);
  const RECT inner = editor ? screenRectOf(editor) : outer;
  // Where the editor sits inside the top-level window, and that window on
  // the screen as Windows sees it.
  gLog->line("editor offset %ld %ld size %ld %ld window %ld %ld", inner.left - outer.left, inner.top - outer.top,
             inner.right - inner.left, inner.bottom - inner.top, outer.left, outer.top);
  return true;
}

HWND makeWindow(int number, int width, int height);
bool startInstance(int number, const std::string& library);

// Posts a button press to the current editor's window, at frame
// coordinates.
void postPress(UINT message, int x, int y) {
  HWND editor = GetWindow(gInstances[gCurrent].window, GW_CHILD);
  const WPARAM keys = message == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON;
  if (editor) PostMessageA(editor, message, keys, MAKELPARAM(x, y));
  gLog->line("pressed %d %d", x, y);
}

void closeInstance(Instance& instance) {
  // The window's destruction closes the editor and the effect.
  if (instance.window) DestroyWindow(instance.window);
}

// The saved state's layout: the path field, five parameters, the samples.
constexpr VstIntPtr kChunkSize = 131356;
constexpr std::size_t kPathFieldSize = 260;
constexpr std::size_t kSamplesOffset = 280;
constexpr std::size_t kSamplesSize = 32768 * sizeof(float);

void logChunk() {
  void* data = nullptr;
  const VstIntPtr size = dispatch(effGetChunk, 1, 0, &data);
  if (size < kChunkSize || data == nullptr) {
    gLog->line("chunk %lld none", static_cast<long long>(size));
    return;
  }
  const auto* bytes = static_cast<const unsigned char*>(data);
  unsigned long long hash = 14695981039346656037ull;
  for (std::size_t i = 0; i < kSamplesSize; ++i) hash = (hash ^ bytes[kSamplesOffset + i]) * 1099511628211ull;
  std::string path;
  char hex[3];
  for (std::size_t i = 0; i < kPathFieldSize && bytes[i] != 0; ++i) {
    std::snprintf(hex, sizeof(hex), "%02x", bytes[i]);
    path += hex;
  }
  gLog->line("chunk %lld %016llx %s", static_cast<long long>(size), hash, path.c_str());
}

void sendChars(const std::string& utf8) {
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), length);
  const HWND focus = GetFocus();
  for (const wchar_t unit : text) SendMessageW(focus, WM_CHAR, unit, 1);
  gLog->line("chars %d to %p", length, static_cast<void*>(focus));
}

void runCommand(const std::string& text) {
  std::istringstream words(text);
  std::string command;
  words >> command;
  AEffect* effect = gInstances[gCurrent].effect;
  if (!effect && command != "use" && command != "instance" && command != "mark" && command != "quit") {
    gLog->line("error no instance %d", gCurrent + 1);
  } else if (command == "params") {
    std::string values = "params";
    char number[32];
    for (VstInt32 i = 0; i < effect->numParams; ++i) {
      std::snprintf(number, sizeof(number), " %.6f", static_cast<double>(effect->getParameter(effect, i)));
      values += number;
    }
    gLog->line("%s", values.c_str());
  } else if (command == "set") {
    VstInt32 index = 0;
    float value = 0;
    words >> index >> value;
    effect->setParameter(effect, index, value);
  } else if (command == "use") {
    int number = 1;
    words >> number;
    if (number >= 1 && number <= kMaxInstances) gCurrent = number - 1;
    gLog->line("using %d", gCurrent + 1);
  } else if (command == "instance") {
    int number = 0;
    std::string library;
    words >> library;
    while (number < kMaxInstances && gInstances[number].effect) ++number;
    if (number == kMaxInstances || !startInstance(number, library)) {
      gLog->line("error no new instance");
    } else {
      gCurrent = number;
      gLog->line("instance %d ready", number + 1);
    }
  } else if (command == "close") {
    if (gCurrent == 0) {
      gLog->line("error the first instance closes with quit");
    } else {
      closeInstance(gInstances[gCurrent]);
      gLog->line("instance %d closed", gCurrent + 1);
    }
  } else if (command == "chars") {
    sendChars(text.size() > 6 ? text.substr(6) : std::string());
  } else if (command == "chunk") {
    logChunk();
  } else if (command == "closeonidle") {
    gCloseOnIdle = effect;
    gLog->line("close on idle %d", gCurrent + 1);
  } else if (command == "swapbuttons") {
    int swapped = 0;
    words >> swapped;
    SwapMouseButton(swapped != 0);
    gLog->line("buttons swapped %d", GetSystemMetrics(SM_SWAPBUTTON) != 0 ? 1 : 0);
  } else if (command == "press" || command == "rpress") {
    int x = 0;
    int y = 0;
    words >> x >> y;
    postPress(command == "press" ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, x, y);
  } else if (command == "knobmode") {
    VstInt32 mode = 0;
    words >> mode;
    dispatch(effSetEditKnobMode, 0, mode);
  } else if (command == "mark") {
    gLog->line("mark %s", text.size() > 5 ? text.c_str() + 5 : "");
  } else if (command == "reopen") {
    dispatch(effEditClose);
    openEditor(gInstances[gCurrent]);
  } else if (command == "quit") {
    for (int i = kMaxInstances - 1; i >= 0; --i) closeInstance(gInstances[i]);
  } else if (!command.empty()) {
    gLog->line("error unknown command %s", command.c_str());
  }
}

// Wine sends the wheel to the window with the keyboard focus, Windows to the
// window under the pointer: a wheel message queued for the host's own window
// goes to the child under the pointer instead, as the editor would get it
// on Windows. Answers whether it was passed on.
bool forwardWheel(const MSG& message) {
  if (message.message != WM_MOUSEWHEEL || !instanceOf(message.hwnd)) return false;
  const POINT pointer{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
  HWND target = WindowFromPoint(pointer);
  if (!target || target == message.hwnd || !IsChild(message.hwnd, target)) return false;
  SendMessageA(target, WM_MOUSEWHEEL, message.wParam, message.lParam);
  return true;
}

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kIdleTimer) {
        for (Instance& instance : gInstances) {
          if (instance.effect) dispatchTo(instance.effect, effEditIdle);
        }
        for (const std::string& line : gCommands->newLines()) runCommand(line);
      }
      return 0;
    case WM_MOUSEWHEEL:
      // What the editor passes on to its parent ends here.
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY: {
      Instance* instance = instanceOf(window);
      if (!instance) return 0;
      if (instance == &gInstances[0]) {
        KillTimer(window, kIdleTimer);
        PostQuitMessage(0);
      }
      dispatchTo(instance->effect, effEditClose);
      // Later instances end with their windows; the first one once the
      // message loop has ended.
      if (instance != &gInstances[0]) {
        dispatchTo(instance->effect, effClose);
        instance->effect = nullptr;
        // A host that frees a library as soon as its last instance is
        // closed.
        instance->library.reset();
      }
      instance->window = nullptr;
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND makeWindow(int number, int width, int height) {
  if (number == 0) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hostWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassA(&windowClass)) return nullptr;
  }
  char title[64];
  if (number == 0) {
    std::snprintf(title, sizeof(title), "%s", kWindowTitle);
  } else {
    std::snprintf(title, sizeof(title), "%s %d", kWindowTitle, number + 1);
  }
  RECT outer{0, 0, width, height};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRect(&outer, style, FALSE);
  return CreateWindowExA(0, kWindowClass, title, style | WS_VISIBLE, kWindowLeft + number * kWindowStep, kWindowTop,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// A new instance from the loaded library, opened, with its editor open in a
// new window.
bool startInstance(int number, const std::string& library) {
  Instance& instance = gInstances[number];
  PluginModule::EntryPoint entry = gEntry;
  if (!library.empty()) {
    instance.library = std::make_unique<PluginModule>(library);
    entry = instance.library->loaded() ? instance.library->entry() : nullptr;
    if (!entry) {
      gLog->line("error no library %s", library.c_str());
      instance.library.reset();
      return false;
    }
  }
  instance.effect = entry(hostCallback);
  if (!instance.effect) {
    gLog->line("error the plug-in made no instance");
    return false;
  }
  dispatchTo(instance.effect, effOpen);
  ERect* rect = nullptr;
  if (dispatchTo(instance.effect, effEditGetRect, 0, 0, &rect) == 0 || !rect) {
    gLog->line("error no editor rectangle");
    return false;
  }
  instance.window = makeWindow(number, rect->right - rect->left, rect->bottom - rect->top);
  if (!instance.window || !openEditor(instance)) return false;
  SetForegroundWindow(instance.window);
  SetFocus(instance.window);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(onCrash);
  if (argc != 4) {
    std::fprintf(stderr, "usage: EditorTestHost PLUGIN COMMANDS LOG\n");
    return 2;
  }
  HostLog log(argv[3]);
  if (!log.isOpen()) return 2;
  gLog = &log;
  CommandFile commands(argv[2]);
  gCommands = &commands;

  PluginModule module(argv[1]);
  gEntry = module.loaded() ? module.entry() : nullptr;
  if (!gEntry) {
    log.line("error plug-in did not load: %s", module.error().c_str());
    return 3;
  }
  if (!startInstance(0, "")) return 4;
  SetTimer(gInstances[0].window, kIdleTimer, kIdleMilliseconds, nullptr);
  log.line("ready");

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (forwardWheel(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  dispatchTo(gInstances[0].effect, effClose);
  gInstances[0].effect = nullptr;
  log.line("closed");
  return 0;
}
