// A reference to the library this code is in, held by the editor while one
// of its nested loops runs: a host may free the library right after the
// last effClose while the loop's frames are still on the stack.
#pragma once

class ModuleHold {
 public:
  ModuleHold();
  // Lets go of the reference unless kept.
  ~ModuleHold();
  ModuleHold(const ModuleHold&) = delete;
  ModuleHold& operator=(const ModuleHold&) = delete;

  // Keeps the reference for the rest of the process. For a hold whose
  // release may be the library's last while this thread still runs in it:
  // no code of the library may run after its last reference is gone, and
  // once the thread has left, nothing of the library runs again to let go.
  void keepForever() { kept_ = true; }

 private:
  void* module_ = nullptr;
  bool kept_ = false;
};
