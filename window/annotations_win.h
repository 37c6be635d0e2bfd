#pragma once

#include <windows.h>

#include <vector>

struct IAccPropServices;

namespace taliven {

// What screen readers are told beyond the window texts, through Dynamic
// Annotation: the sliders' names and values with their units, the readouts'
// descriptions, and that the resistance is a polite live region.
//
// COM and ole32 are loaded by start(), which the window calls once it has
// painted: nothing of them lies on the way to the first paint. Until then,
// and where the service is missing, every call does nothing and controls
// keep what the system infers from their window texts.
class Annotations {
  public:
    Annotations() noexcept = default;
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;
    Annotations(Annotations&&) = delete;
    Annotations& operator=(Annotations&&) = delete;
    ~Annotations();

    // Loads the annotation service, once.
    void start() noexcept;

    void setName(HWND control, const wchar_t* name) noexcept;
    void setValue(HWND control, const wchar_t* value) noexcept;
    void setDescription(HWND control, const wchar_t* description) noexcept;
    void makePoliteLiveRegion(HWND control) noexcept;
    // Removes every annotation; call while the controls still exist.
    void clear() noexcept;

  private:
    void setText(HWND control, const GUID& property, const wchar_t* text) noexcept;
    void remember(HWND control) noexcept;

    HMODULE ole32_ = nullptr;
    bool comStarted_ = false;
    bool triedToStart_ = false;
    IAccPropServices* services_ = nullptr;
    std::vector<HWND> annotated_;
};

} // namespace taliven
