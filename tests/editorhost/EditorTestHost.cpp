// A small host for driving a plug-in's editor as a person would: it loads
// the library through its entry point, opens the editor in a top-level
// window, calls the editor's idle on a timer, records the host callbacks,
// and takes commands from a file that a test script appends to.
//
//   EditorTestHost PLUGIN.dll COMMANDS.txt LOG.txt
//
// Commands: "params" (logs "params V0 V1 ..."), "set INDEX VALUE",
// "knobmode MODE", "mark TEXT" (logs "mark TEXT"), "reopen" (closes and
// opens the editor again), "quit".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tests/editorhost/CommandFile.h"
#include "tests/editorhost/HostLog.h"
#include "tools/loader/PluginModule.h"

namespace {

constexpr const char* kWindowTitle = "Ulmar test host";
constexpr const char* kWindowClass = "UlmarTestHostWindow";
constexpr UINT_PTR kIdleTimer = 1;
constexpr UINT kIdleMilliseconds = 30;
// The status of a run that ended in an unhandled exception.
constexpr int kCrashStatus = 70;

HostLog* gLog = nullptr;
AEffect* gEffect = nullptr;
HWND gWindow = nullptr;
CommandFile* gCommands = nullptr;

VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
  return gEffect->dispatcher(gEffect, opcode, index, value, ptr, opt);
}

VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterAutomate:
      gLog->line("automate %d %.6f", index, static_cast<double>(opt));
      return 0;
    case audioMasterIdle:
      gLog->line("idle");
      return 0;
    case audioMasterBeginEdit:
      gLog->line("beginEdit %d", index);
      return 1;
    case audioMasterEndEdit:
      gLog->line("endEdit %d", index);
      return 1;
    default:
      return 0;
  }
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

bool openEditor() {
  if (dispatch(effEditOpen, 0, 0, gWindow) == 0) {
    gLog->line("error editor did not open");
    return false;
  }
  HWND editor = GetWindow(gWindow, GW_CHILD);
  const RECT outer = screenRectOf(gWindow);
  const RECT inner = editor ? screenRectOf(editor) : outer;
  // Where the editor sits inside the top-level window, and that window on
  // the screen as Windows sees it.
  gLog->line("editor offset %ld %ld size %ld %ld window %ld %ld", inner.left - outer.left, inner.top - outer.top,
             inner.right - inner.left, inner.bottom - inner.top, outer.left, outer.top);
  return true;
}

void runCommand(const std::string& text) {
  std::istringstream words(text);
  std::string command;
  words >> command;
  if (command == "params") {
    std::string values = "params";
    char number[32];
    for (VstInt32 i = 0; i < gEffect->numParams; ++i) {
      std::snprintf(number, sizeof(number), " %.6f", static_cast<double>(gEffect->getParameter(gEffect, i)));
      values += number;
    }
    gLog->line("%s", values.c_str());
  } else if (command == "set") {
    VstInt32 index = 0;
    float value = 0;
    words >> index >> value;
    gEffect->setParameter(gEffect, index, value);
  } else if (command == "knobmode") {
    VstInt32 mode = 0;
    words >> mode;
    dispatch(effSetEditKnobMode, 0, mode);
  } else if (command == "mark") {
    gLog->line("mark %s", text.size() > 5 ? text.c_str() + 5 : "");
  } else if (command == "reopen") {
    dispatch(effEditClose);
    openEditor();
  } else if (command == "quit") {
    DestroyWindow(gWindow);
  } else if (!command.empty()) {
    gLog->line("error unknown command %s", command.c_str());
  }
}

// Wine sends the wheel to the window with the keyboard focus, Windows to the
// window under the pointer: a wheel message queued for the host's own window
// goes to the child under the pointer instead, as the editor would get it
// on Windows. Answers whether it was passed on.
bool forwardWheel(const MSG& message) {
  if (message.message != WM_MOUSEWHEEL || message.hwnd != gWindow) return false;
  const POINT pointer{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
  HWND target = WindowFromPoint(pointer);
  if (!target || target == gWindow || !IsChild(gWindow, target)) return false;
  SendMessageA(target, WM_MOUSEWHEEL, message.wParam, message.lParam);
  return true;
}

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kIdleTimer && gEffect) {
        dispatch(effEditIdle);
        for (const std::string& line : gCommands->newLines()) runCommand(line);
      }
      return 0;
    case WM_MOUSEWHEEL:
      // What the editor passes on to its parent ends here.
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kIdleTimer);
      dispatch(effEditClose);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND makeWindow(int width, int height) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = hostWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassA(&windowClass)) return nullptr;
  RECT outer{0, 0, width, height};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRect(&outer, style, FALSE);
  return CreateWindowExA(0, kWindowClass, kWindowTitle, style | WS_VISIBLE, 200, 360, outer.right - outer.left,
                         outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
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
  PluginModule::EntryPoint entry = module.loaded() ? module.entry() : nullptr;
  gEffect = entry ? entry(hostCallback) : nullptr;
  if (!gEffect) {
    log.line("error plug-in did not load: %s", module.error().c_str());
    return 3;
  }
  dispatch(effOpen);
  ERect* rect = nullptr;
  if (dispatch(effEditGetRect, 0, 0, &rect) == 0 || !rect) {
    log.line("error no editor rectangle");
    return 4;
  }
  gWindow = makeWindow(rect->right - rect->left, rect->bottom - rect->top);
  if (!gWindow || !openEditor()) return 5;
  SetForegroundWindow(gWindow);
  SetFocus(gWindow);
  SetTimer(gWindow, kIdleTimer, kIdleMilliseconds, nullptr);
  log.line("ready");

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (forwardWheel(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  dispatch(effClose);
  gEffect = nullptr;
  log.line("closed");
  return 0;
}
