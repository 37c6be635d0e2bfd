#include "tests/pe_image.h"

#include <stdexcept>

namespace taliven::testing {
namespace {

constexpr std::size_t coffSize = 20;

std::string asciiAt(const Bytes& bytes, std::size_t at) {
    std::string text;
    while (at < bytes.size() && bytes[at] != 0) {
        text.push_back(static_cast<char>(bytes[at++]));
    }
    return text;
}

// A UTF-16 key at `at` (ASCII only here); returns the offset past its null.
std::size_t utf16Key(const Bytes& bytes, std::size_t at, std::string& key) {
    key.clear();
    for (; u16(bytes, at) != 0; at += 2) {
        key.push_back(static_cast<char>(u16(bytes, at)));
    }
    return at + 2;
}

std::size_t align4(std::size_t at) {
    return (at + 3U) & ~std::size_t{3};
}

void parseBlock(const Bytes& bytes, std::size_t at, const std::string& path,
                VersionRecord& record) {
    const std::size_t length = u16(bytes, at);
    const std::size_t valueLength = u16(bytes, at + 2);
    const std::uint32_t type = u16(bytes, at + 4); // 1: text
    std::string key;
    std::size_t value = align4(utf16Key(bytes, at + 6, key));
    const std::string name = path.empty() ? key : path + "/" + key;
    if (key == "VS_VERSION_INFO" && valueLength >= 52) {
        record.signature = u32(bytes, value);
        record.fileVersionMs = u32(bytes, value + 8);
        record.fileVersionLs = u32(bytes, value + 12);
        record.productVersionMs = u32(bytes, value + 16);
        record.productVersionLs = u32(bytes, value + 20);
        record.flagsMask = u32(bytes, value + 24);
        record.flags = u32(bytes, value + 28);
        record.fileOs = u32(bytes, value + 32);
        record.fileType = u32(bytes, value + 36);
    } else if (key == "Translation") {
        for (std::size_t k = 0; k + 4 <= valueLength; k += 4) {
            record.translations.push_back(u32(bytes, value + k));
        }
    } else if (type == 1 && valueLength > 0 && path.find("StringFileInfo/") == 0) {
        std::string text;
        utf16Key(bytes, value, text);
        record.strings[name.substr(std::string("StringFileInfo/").size())] = text;
    }
    const std::size_t valueBytes = type == 1 ? valueLength * 2 : valueLength;
    std::size_t child = align4(value + valueBytes);
    const std::string childPath = key == "VS_VERSION_INFO" ? "" : name;
    while (child < at + length) {
        const std::size_t childLength = u16(bytes, child);
        if (childLength == 0) {
            break;
        }
        parseBlock(bytes, child, childPath, record);
        child = align4(child + childLength);
    }
}

} // namespace

PeImage::PeImage(Bytes bytes) : bytes_(std::move(bytes)) {
    if (u16(bytes_, 0) != 0x5A4D) {
        throw std::runtime_error("not an MZ file");
    }
    peHeader_ = u32(bytes_, 0x3C);
    if (u32(bytes_, peHeader_) != 0x00004550) {
        throw std::runtime_error("no PE signature");
    }
    const std::size_t table = peHeader_ + 4 + coffSize + coff(16, 2);
    for (std::uint32_t k = 0; k < coff(2, 2); ++k) {
        const std::size_t at = table + 40 * k;
        std::string name;
        for (std::size_t c = 0; c < 8 && bytes_[at + c] != 0; ++c) {
            name.push_back(static_cast<char>(bytes_[at + c]));
        }
        sections_.push_back({name, u32(bytes_, at + 12), u32(bytes_, at + 8), u32(bytes_, at + 20),
                             u32(bytes_, at + 16), u32(bytes_, at + 36)});
    }
}

std::uint32_t PeImage::coff(std::size_t field, int width) const {
    const std::size_t at = peHeader_ + 4 + field;
    return width == 2 ? u16(bytes_, at) : u32(bytes_, at);
}

std::uint32_t PeImage::optional(std::size_t field, int width) const {
    const std::size_t at = peHeader_ + 4 + coffSize + field;
    return width == 2 ? u16(bytes_, at) : u32(bytes_, at);
}

std::uint32_t PeImage::directorySize(int index) const {
    return optional(96 + 8 * static_cast<std::size_t>(index) + 4, 4);
}

std::size_t PeImage::offsetOf(std::uint32_t rva) const {
    for (const PeSection& section : sections_) {
        if (rva >= section.virtualAddress && rva < section.virtualAddress + section.rawSize) {
            return section.rawOffset + (rva - section.virtualAddress);
        }
    }
    throw std::runtime_error("address outside every section");
}

std::map<std::string, std::vector<std::string>> PeImage::imports() const {
    std::map<std::string, std::vector<std::string>> result;
    const std::uint32_t table = optional(96 + 8 * 1, 4);
    for (std::size_t at = offsetOf(table); u32(bytes_, at + 12) != 0; at += 20) {
        std::vector<std::string>& functions =
            result[asciiAt(bytes_, offsetOf(u32(bytes_, at + 12)))];
        const std::uint32_t thunks = u32(bytes_, at) != 0 ? u32(bytes_, at) : u32(bytes_, at + 16);
        for (std::size_t thunk = offsetOf(thunks); u32(bytes_, thunk) != 0; thunk += 4) {
            const std::uint32_t entry = u32(bytes_, thunk);
            if ((entry & 0x80000000U) == 0) { // by name, not by ordinal
                functions.push_back(asciiAt(bytes_, offsetOf(entry) + 2));
            }
        }
    }
    return result;
}

std::size_t PeImage::resourceEntry(std::size_t directory, std::uint32_t id) const {
    const std::size_t named = u16(bytes_, directory + 12);
    const std::size_t ids = u16(bytes_, directory + 14);
    for (std::size_t k = named; k < named + ids; ++k) {
        const std::size_t entry = directory + 16 + 8 * k;
        if (u32(bytes_, entry) == id) {
            return entry;
        }
    }
    throw std::runtime_error("no such resource");
}

std::vector<std::uint32_t> PeImage::resourceIds(std::uint32_t type, bool& anyNamed) const {
    const std::size_t root = offsetOf(optional(96 + 8 * 2, 4));
    const std::size_t typeDirectory =
        root + (u32(bytes_, resourceEntry(root, type) + 4) & 0x7FFFFFFFU);
    anyNamed = u16(bytes_, typeDirectory + 12) != 0;
    std::vector<std::uint32_t> ids;
    const std::size_t named = u16(bytes_, typeDirectory + 12);
    for (std::size_t k = 0; k < named + u16(bytes_, typeDirectory + 14); ++k) {
        ids.push_back(u32(bytes_, typeDirectory + 16 + 8 * k));
    }
    return ids;
}

Bytes PeImage::resource(std::uint32_t type, std::uint32_t id) const {
    const std::size_t root = offsetOf(optional(96 + 8 * 2, 4));
    const std::size_t byType = root + (u32(bytes_, resourceEntry(root, type) + 4) & 0x7FFFFFFFU);
    const std::size_t byId = root + (u32(bytes_, resourceEntry(byType, id) + 4) & 0x7FFFFFFFU);
    // The first (here: only) language.
    const std::size_t data = root + (u32(bytes_, byId + 16 + 4) & 0x7FFFFFFFU);
    const std::size_t at = offsetOf(u32(bytes_, data));
    const std::size_t size = u32(bytes_, data + 4);
    if (at + size > bytes_.size()) {
        throw std::runtime_error("resource past the end of the file");
    }
    return {bytes_.begin() + static_cast<std::ptrdiff_t>(at),
            bytes_.begin() + static_cast<std::ptrdiff_t>(at + size)};
}

VersionRecord parseVersion(const Bytes& resource) {
    VersionRecord record;
    parseBlock(resource, 0, "", record);
    return record;
}

} // namespace taliven::testing
