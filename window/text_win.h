#pragma once

// UTF-8 (the readout logic's texts) to and from UTF-16 (Windows' texts).

#include <string>
#include <string_view>

namespace taliven {

[[nodiscard]] std::wstring widen(std::string_view utf8);
[[nodiscard]] std::string narrow(std::wstring_view utf16);

} // namespace taliven
