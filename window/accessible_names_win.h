#pragma once

#include <windows.h>

#include <utility>
#include <vector>

struct IAccPropServices;

namespace taliven {

// Names controls for screen readers. A scroll bar shows no text, and only the
// first slider follows a caption label in Z order, so neither name can be
// inferred reliably; a Dynamic Annotation states it outright. Best effort:
// where the service is missing the controls keep their window text, which
// assistive technology also reads.
class AccessibleNames {
  public:
    AccessibleNames() noexcept;
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;
    AccessibleNames(AccessibleNames&&) = delete;
    AccessibleNames& operator=(AccessibleNames&&) = delete;
    ~AccessibleNames();

    void name(HWND control, const wchar_t* accessibleName) noexcept;
    // Removes the annotations; call while the controls still exist.
    void clear() noexcept;

  private:
    bool comStarted_ = false;
    IAccPropServices* services_ = nullptr;
    std::vector<HWND> named_;
};

} // namespace taliven
