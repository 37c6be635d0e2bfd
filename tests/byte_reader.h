#pragma once

// Little-endian fields out of a file's bytes, for tests that inspect the
// files we ship rather than trust the scripts that made them.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace taliven::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::uint32_t u8(const Bytes& bytes, std::size_t at) {
    if (at >= bytes.size()) {
        throw std::out_of_range("read past the end");
    }
    return bytes[at];
}
inline std::uint32_t u16(const Bytes& bytes, std::size_t at) {
    return u8(bytes, at) | (u8(bytes, at + 1) << 8U);
}
inline std::uint32_t u32(const Bytes& bytes, std::size_t at) {
    return u16(bytes, at) | (u16(bytes, at + 2) << 16U);
}
inline std::int32_t i32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::int32_t>(u32(bytes, at));
}

} // namespace taliven::testing
