#!/usr/bin/python3
"""Checks the shipped exe with pefile: a stripped, hardened, self-contained
32-bit Windows program that resolves no ole32 at start, with a real stack
protector, its manifest, version record, and the committed icon and emblem.
Then makes the release zip and checks it: SHA256SUMS naming it with its
digest, and inside, in order and with nothing of the time or the machine it
was made on, that exe, then README.txt and LICENSE.txt as the sources say,
with Windows line ends. Or builds the exe again from a copy of the sources
in another folder, and requires the same bytes: no time stamps, no paths.

    check_release.py EXE RESOURCES_FOLDER MAKE_DIST VERSION SOURCE_FOLDER SCRATCH_FOLDER
    check_release.py --rebuild EXE SOURCE_FOLDER SCRATCH_FOLDER CMAKE GENERATOR [TOOLCHAIN]
"""

import hashlib
import shutil
import struct
import subprocess
import sys
import zipfile
from pathlib import Path

import pefile

WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll"}
GUARD_SEED = struct.pack("<I", 0xBB40E64E)  # the canary's value before it is seeded


def check(exe: Path, resources: Path):
    pe = pefile.PE(str(exe))
    header, optional = pe.FILE_HEADER, pe.OPTIONAL_HEADER
    assert (header.Machine, optional.Magic, optional.Subsystem) == (0x14C, 0x10B, 2), "not i386 GUI"
    assert header.TimeDateStamp == 0 == header.PointerToSymbolTable, "a time stamp or symbols"
    for flag in ("DYNAMIC_BASE", "NX_COMPAT", "NO_SEH"):
        assert getattr(optional, f"IMAGE_DLLCHARACTERISTICS_{flag}"), flag
    assert not header.IMAGE_FILE_RELOCS_STRIPPED and hasattr(pe, "DIRECTORY_ENTRY_BASERELOC")
    for section in pe.sections:
        name = section.Name.rstrip(b"\0").decode()
        assert not (section.IMAGE_SCN_MEM_EXECUTE and section.IMAGE_SCN_MEM_WRITE), name
        assert not section.IMAGE_SCN_MEM_SHARED and not name.startswith(".debug"), name

    imports = {entry.dll.decode().lower(): {i.name for i in entry.imports}
               for entry in pe.DIRECTORY_ENTRY_IMPORT}
    assert set(imports) <= WINDOWS_DLLS, f"imports {set(imports) - WINDOWS_DLLS}"
    # RtlGenRandom is forwarded to cryptbase, which is no KnownDLL: it is
    # looked up once the DLL search is narrowed, never imported.
    assert not any(b"SystemFunction036" in names for names in imports.values()), "imported"
    assert b"SystemFunction036" in exe.read_bytes(), "the canary is not seeded"

    # Each protected function reads the canary on entry and on return.
    data = next(s for s in pe.sections if GUARD_SEED in s.get_data())
    guard = optional.ImageBase + data.VirtualAddress + data.get_data().index(GUARD_SEED)
    code = b"".join(s.get_data() for s in pe.sections if s.IMAGE_SCN_MEM_EXECUTE)
    uses = code.count(struct.pack("<I", guard))
    assert uses >= 20, f"the stack protector is not compiled in ({uses} uses of the canary)"

    found = {(kind.id, item.id): item.directory.entries[0].data.struct
             for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries for item in kind.directory.entries}

    def resource(kind, ident):
        return pe.get_data(found[kind, ident].OffsetToData, found[kind, ident].Size)

    manifest = resource(24, 1).decode()
    for needed in ("PerMonitorV2", "true/pm", "asInvoker", "Microsoft.Windows.Common-Controls",
                   "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"):
        assert needed in manifest, needed

    fixed = pe.VS_FIXEDFILEINFO[0]
    assert (fixed.FileVersionMS, fixed.FileVersionLS) == (0x10000, 1)
    assert (fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x10000, 1)
    assert (fixed.FileOS, fixed.FileType, fixed.FileFlags & fixed.FileFlagsMask) == (4, 1, 0)
    tables = [table for info in pe.FileInfo[0] for table in getattr(info, "StringTable", [])]
    translations = [value for info in pe.FileInfo[0] for var in getattr(info, "Var", [])
                    for value in var.entry.values()]
    assert [table.LangID.lower() for table in tables] == [b"040904b0"], "not U.S. English, Unicode"
    assert translations == ["0x0409 0x04b0"], translations
    strings = {key.decode(): value.decode() for key, value in tables[0].entries.items()}
    assert strings["FileVersion"] == strings["ProductVersion"] == "1.00.0001", strings
    assert {"CompanyName", "ProductName", "InternalName", "OriginalFilename"} <= set(strings)

    group = resource(14, 1)  # the first icon group: the application icon
    _, _, count, width, height, _, _, _, bits, _, icon_id = struct.unpack_from("<3H4B2HIH", group)
    assert (count, width, height, bits) == (1, 32, 32, 4)
    ico = (resources / "taliven.ico").read_bytes()
    assert resource(3, icon_id) == ico[struct.unpack_from("<I", ico, 18)[0]:], "icon"
    assert resource(2, 2) == (resources / "emblem.bmp").read_bytes()[14:], "emblem"
    print(f"{exe.name}: {exe.stat().st_size} bytes, {uses} uses of the canary")


def check_archive(exe: Path, make_dist, version, source: Path, scratch: Path):
    subprocess.run([sys.executable, make_dist, exe, version, source / "docs/README.txt",
                    source / "LICENSE", scratch], check=True, capture_output=True)
    archive = scratch / f"Taliven-{version}-win32.zip"
    sums = (scratch / "SHA256SUMS").read_text()
    assert sums == f"{hashlib.sha256(archive.read_bytes()).hexdigest()}  {archive.name}\n", sums

    with zipfile.ZipFile(archive) as packed:
        assert packed.namelist() == ["Taliven.exe", "README.txt", "LICENSE.txt"], packed.namelist()
        for member in packed.infolist():  # the same bytes wherever and whenever made
            assert (member.date_time, member.create_system) == ((1980, 1, 1, 0, 0, 0), 0), member
        assert packed.read("Taliven.exe") == exe.read_bytes(), "not the checked exe"
        for name, origin in (("README.txt", "docs/README.txt"), ("LICENSE.txt", "LICENSE")):
            text = packed.read(name)
            assert b"\n" not in text.replace(b"\r\n", b""), f"{name} line ends"
            assert text.decode().replace("\r\n", "\n") == (source / origin).read_text()
    print(f"{archive.name}: {archive.stat().st_size} bytes, SHA-256 {sums.split()[0]}")


def check_rebuild(exe: Path, source: Path, scratch: Path, cmake, generator, toolchain=""):
    shutil.rmtree(scratch, ignore_errors=True)
    copy, build = scratch / "elsewhere/src", scratch / "elsewhere/build"
    shutil.copytree(source, copy, ignore=shutil.ignore_patterns(".git", "build"))
    # The copy's own toolchain file, so that no path of the first build leaks in.
    chain = ["--toolchain", copy / Path(toolchain).relative_to(source)] if toolchain else []
    for step in (["-S", copy, "-B", build, "-G", generator, *chain, "-DCMAKE_BUILD_TYPE=MinSizeRel",
                  "-DTALIVEN_BUILD_TESTS=OFF"], ["--build", build, "--target", "Taliven", "-j2"]):
        subprocess.run([cmake, *step], check=True, capture_output=True)
    assert (build / "window/Taliven.exe").read_bytes() == exe.read_bytes(), "built elsewhere, it differs"
    print(f"{exe.name} rebuilt identically elsewhere ({exe.stat().st_size} bytes)")


if __name__ == "__main__":
    if sys.argv[1] == "--rebuild":
        exe, source, scratch = (Path(arg) for arg in sys.argv[2:5])
        check_rebuild(exe, source, scratch, *sys.argv[5:])
    else:
        make_dist, version = sys.argv[3:5]
        check(Path(sys.argv[1]), Path(sys.argv[2]))
        check_archive(Path(sys.argv[1]), make_dist, version, Path(sys.argv[5]), Path(sys.argv[6]))
