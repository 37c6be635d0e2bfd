// The shipped exe itself, parsed byte by byte: self-contained, hardened,
// stripped, reproducible, and carrying its icon, emblem, manifest and
// version record. Usage: release_tests EXE RESOURCES_FOLDER

#include "tests/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace taliven::testing {
namespace {

std::string exePath;
std::string resourcesDir;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class ReleaseExe : public ::testing::Test {
  protected:
    PeImage exe{readFile(exePath)};
};

TEST_F(ReleaseExe, IsAStrippedHardened32BitWindowsProgram) {
    EXPECT_EQ(exe.coff(0, 2), 0x14CU);     // i386
    EXPECT_EQ(exe.coff(4, 4), 0U);         // no time stamp: builds are reproducible
    EXPECT_EQ(exe.coff(8, 4), 0U);         // no symbol table: stripped
    EXPECT_EQ(exe.optional(0, 2), 0x10BU); // PE32
    EXPECT_EQ(exe.optional(68, 2), 2U);    // the Windows GUI subsystem
    const std::uint32_t dll = exe.optional(70, 2);
    EXPECT_NE(dll & 0x0040U, 0U) << "DYNAMIC_BASE (ASLR)";
    EXPECT_NE(dll & 0x0100U, 0U) << "NX_COMPAT (DEP)";
    EXPECT_NE(dll & 0x0400U, 0U) << "NO_SEH";
    EXPECT_EQ(exe.coff(18, 2) & 0x0001U, 0U) << "relocations stripped: ASLR would be void";
    EXPECT_GT(exe.directorySize(5), 0U) << "no base relocations";
    for (const PeSection& section : exe.sections()) {
        const bool executable = (section.characteristics & 0x20000000U) != 0;
        const bool writable = (section.characteristics & 0x80000000U) != 0;
        EXPECT_FALSE(executable && writable) << section.name;
        EXPECT_EQ(section.characteristics & 0x10000000U, 0U) << section.name << " is shared";
        EXPECT_EQ(section.name.rfind(".debug", 0), std::string::npos) << section.name;
    }
}

TEST_F(ReleaseExe, ImportsNothingButWindowsOwnLibraries) {
    const std::set<std::string> windows = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                           "advapi32.dll", "msvcrt.dll", "ole32.dll"};
    const auto imports = exe.imports();
    for (const auto& [dll, functions] : imports) {
        EXPECT_EQ(windows.count(lower(dll)), 1U) << dll;
    }
    // The stack protector seeds its canary from the system's random source
    // (RtlGenRandom, exported as SystemFunction036).
    bool seeded = false;
    for (const auto& [dll, functions] : imports) {
        seeded = seeded || (lower(dll) == "advapi32.dll" &&
                            std::find(functions.begin(), functions.end(), "SystemFunction036") !=
                                functions.end());
    }
    EXPECT_TRUE(seeded) << "no stack protector runtime";
}

TEST_F(ReleaseExe, CarriesTheIconAsItsFirstIconGroup) {
    bool named = false;
    const auto groups = exe.resourceIds(14, named); // RT_GROUP_ICON
    ASSERT_FALSE(groups.empty());
    EXPECT_FALSE(named); // a named group would come first
    EXPECT_EQ(groups.front(), 1U);
    const Bytes group = exe.resource(14, groups.front());
    ASSERT_EQ(u16(group, 4), 1U); // one image
    EXPECT_EQ(u8(group, 6), 32U);
    EXPECT_EQ(u8(group, 7), 32U);
    EXPECT_EQ(u16(group, 12), 4U);
    const Bytes image = exe.resource(3, u16(group, 18)); // RT_ICON
    const Bytes ico = readFile(resourcesDir + "/taliven.ico");
    const std::size_t offset = u32(ico, 18);
    EXPECT_EQ(image, Bytes(ico.begin() + static_cast<std::ptrdiff_t>(offset), ico.end()));
}

TEST_F(ReleaseExe, CarriesTheEmblemBitmap) {
    const Bytes bitmap = exe.resource(2, 2); // RT_BITMAP: the file without its 14-byte header
    const Bytes bmp = readFile(resourcesDir + "/emblem.bmp");
    EXPECT_EQ(bitmap, Bytes(bmp.begin() + 14, bmp.end()));
}

TEST_F(ReleaseExe, DeclaresItsManifest) {
    const Bytes manifest = exe.resource(24, 1); // RT_MANIFEST, for the process
    const std::string text(manifest.begin(), manifest.end());
    for (const char* needed :
         {"PerMonitorV2", "true/pm", "asInvoker", "Microsoft.Windows.Common-Controls",
          "version=\"6.0.0.0\"", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
          "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        EXPECT_NE(text.find(needed), std::string::npos) << needed;
    }
}

TEST_F(ReleaseExe, CarriesItsVersionRecord) {
    const VersionRecord version = parseVersion(exe.resource(16, 1)); // RT_VERSION
    EXPECT_EQ(version.signature, 0xFEEF04BDU);
    EXPECT_EQ(version.fileVersionMs, 0x00010000U); // 1.0
    EXPECT_EQ(version.fileVersionLs, 0x00000001U); // .0.1
    EXPECT_EQ(version.productVersionMs, 0x00010000U);
    EXPECT_EQ(version.productVersionLs, 0x00000001U);
    EXPECT_EQ(version.flags & version.flagsMask, 0U);
    EXPECT_EQ(version.fileOs, 0x00000004U);   // VOS__WINDOWS32
    EXPECT_EQ(version.fileType, 0x00000001U); // VFT_APP
    EXPECT_EQ(version.translations, std::vector<std::uint32_t>{0x04B00409U});
    const auto text = [&version](const std::string& key) {
        const auto found = version.strings.find("040904B0/" + key);
        return found == version.strings.end() ? std::string("(missing)") : found->second;
    };
    EXPECT_EQ(text("FileVersion"), "1.00.0001");
    EXPECT_EQ(text("ProductVersion"), "1.00.0001");
    EXPECT_EQ(text("ProductName"), "Taliven");
    EXPECT_EQ(text("OriginalFilename"), "Taliven.exe");
    EXPECT_EQ(text("InternalName"), "Taliven");
    EXPECT_NE(text("CompanyName"), "(missing)");
    EXPECT_NE(text("FileDescription"), "(missing)");
}

} // namespace
} // namespace taliven::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: release_tests EXE RESOURCES_FOLDER\n");
        return 2;
    }
    taliven::testing::exePath = argv[1];
    taliven::testing::resourcesDir = argv[2];
    return RUN_ALL_TESTS();
}
