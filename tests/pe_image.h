#pragma once

// A reader for the parts of a 32-bit PE file the release checks look at:
// headers, sections, imports and resources (version record included).

#include "tests/byte_reader.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace taliven::testing {

struct PeSection {
    std::string name;
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawOffset;
    std::uint32_t rawSize;
    std::uint32_t characteristics;
};

class PeImage {
  public:
    explicit PeImage(Bytes bytes);

    [[nodiscard]] std::uint32_t coff(std::size_t field, int width) const;     // COFF header field
    [[nodiscard]] std::uint32_t optional(std::size_t field, int width) const; // optional header
    [[nodiscard]] std::uint32_t directorySize(int index) const;
    [[nodiscard]] const std::vector<PeSection>& sections() const { return sections_; }
    // DLL name -> the functions imported from it by name.
    [[nodiscard]] std::map<std::string, std::vector<std::string>> imports() const;
    // Resource ids of a type, in directory order (named entries first).
    [[nodiscard]] std::vector<std::uint32_t> resourceIds(std::uint32_t type, bool& anyNamed) const;
    [[nodiscard]] Bytes resource(std::uint32_t type, std::uint32_t id) const;

  private:
    [[nodiscard]] std::size_t offsetOf(std::uint32_t rva) const;
    [[nodiscard]] std::size_t resourceEntry(std::size_t directory, std::uint32_t id) const;

    Bytes bytes_;
    std::size_t peHeader_ = 0;
    std::vector<PeSection> sections_;
};

// The StringFileInfo texts and fixed fields of a version resource.
struct VersionRecord {
    std::uint32_t signature = 0;
    std::uint32_t fileVersionMs = 0;
    std::uint32_t fileVersionLs = 0;
    std::uint32_t productVersionMs = 0;
    std::uint32_t productVersionLs = 0;
    std::uint32_t flagsMask = 0;
    std::uint32_t flags = 0;
    std::uint32_t fileOs = 0;
    std::uint32_t fileType = 0;
    std::map<std::string, std::string> strings; // "040904B0/FileVersion" -> "1.00.0001"
    std::vector<std::uint32_t> translations;    // language | code page << 16
};

[[nodiscard]] VersionRecord parseVersion(const Bytes& resource);

} // namespace taliven::testing
