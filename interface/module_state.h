// Makes the plug-in's own resources current for the duration of one export
// call and restores the caller's on every return path.
#pragma once

namespace quorle {

class ModuleStateScope {
  public:
    ModuleStateScope();
    ~ModuleStateScope();
    ModuleStateScope(const ModuleStateScope&) = delete;
    ModuleStateScope& operator=(const ModuleStateScope&) = delete;

  private:
    void* previous_;
};

// The resource module of the current call (the plug-in itself unless the
// options editor has made its resource library current).
void* CurrentResourceModule();
void SetCurrentResourceModule(void* module);

} // namespace quorle
