// Owning wrappers for the windows and GDI objects the view creates. Each
// wrapper counts itself while it lives, which is how the leak check counts
// handles (Wine's GetGuiResources always answers 0).
#pragma once

#include <utility>

#include "wingui/win_api.h"

namespace quorle::wingui {

struct HandleCounts {
    long windows = 0;
    long gdiObjects = 0;
};

// Live handles held by wrappers now, in this module.
HandleCounts LiveHandles();
void CountWindow(int delta);
void CountGdiObject(int delta);

class Window {
  public:
    Window() = default;
    explicit Window(HWND handle) : handle_(handle) {
        if (handle_ != nullptr) CountWindow(1);
    }
    ~Window() { Reset(); }
    Window(Window&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Window& operator=(Window&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND get() const { return handle_; }
    void Reset() {
        if (handle_ == nullptr) return;
        // A child may already be gone with its parent.
        if (::IsWindow(handle_)) ::DestroyWindow(handle_);
        handle_ = nullptr;
        CountWindow(-1);
    }

  private:
    HWND handle_ = nullptr;
};

class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(HGDIOBJ handle) : handle_(handle) {
        if (handle_ != nullptr) CountGdiObject(1);
    }
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    HGDIOBJ get() const { return handle_; }
    void Reset() {
        if (handle_ == nullptr) return;
        ::DeleteObject(handle_);
        handle_ = nullptr;
        CountGdiObject(-1);
    }

  private:
    HGDIOBJ handle_ = nullptr;
};

} // namespace quorle::wingui
