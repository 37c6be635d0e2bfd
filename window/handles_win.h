#pragma once

// Move-only owners of window and GDI handles.

#include <windows.h>

#include <utility>

namespace taliven {

template <typename Handle, void (*release)(Handle) noexcept> class UniqueHandle {
  public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    [[nodiscard]] Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    void reset(Handle handle = nullptr) noexcept {
        if (handle_ != nullptr) {
            release(handle_);
        }
        handle_ = handle;
    }
    // For a window the system has already destroyed.
    [[nodiscard]] Handle release_ownership() noexcept { return std::exchange(handle_, nullptr); }

  private:
    Handle handle_ = nullptr;
};

inline void destroyWindow(HWND window) noexcept {
    DestroyWindow(window);
}
inline void deleteBrush(HBRUSH brush) noexcept {
    DeleteObject(brush);
}
inline void deleteFont(HFONT font) noexcept {
    DeleteObject(font);
}
inline void deleteBitmap(HBITMAP bitmap) noexcept {
    DeleteObject(bitmap);
}
inline void destroyIcon(HICON icon) noexcept {
    DestroyIcon(icon);
}
inline void deleteDc(HDC dc) noexcept {
    DeleteDC(dc);
}
inline void unhook(HHOOK hook) noexcept {
    UnhookWindowsHookEx(hook);
}

// Only top-level windows: a child window belongs to its parent, which
// destroys it.
using UniqueWindow = UniqueHandle<HWND, destroyWindow>;
using UniqueBrush = UniqueHandle<HBRUSH, deleteBrush>;
using UniqueFont = UniqueHandle<HFONT, deleteFont>;
using UniqueBitmap = UniqueHandle<HBITMAP, deleteBitmap>;
using UniqueIcon = UniqueHandle<HICON, destroyIcon>;
using UniqueMemoryDc = UniqueHandle<HDC, deleteDc>;
using UniqueHook = UniqueHandle<HHOOK, unhook>;

} // namespace taliven
