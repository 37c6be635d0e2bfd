#!/usr/bin/python3
"""Checks the shipped exe's file, with pefile: a stripped, hardened,
self-contained 32-bit Windows program that resolves no ole32 at start, with
a real stack protector, a version record, and the committed manifest, icon
and emblem. Then the release `make dist` wrote beside it: SHA256SUMS naming
the zip of the exe's version with its digest, and inside, in order and with
nothing of the time or the machine it was made on, that very exe, then
README.txt and LICENSE.txt as the sources say, with Windows line ends.

    check_exe.py EXE RESOURCES_FOLDER DIST_FOLDER README LICENSE
"""

import hashlib
import struct
import sys
import zipfile
from pathlib import Path

import pefile

WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll"}
GUARD_SEED = struct.pack("<I", 0xBB40E64E)  # the canary's value before it is seeded


def release(exe, resources, dist, readme, licence):
    exe, resources = Path(exe), Path(resources)
    pe = pefile.PE(str(exe))
    header, optional = pe.FILE_HEADER, pe.OPTIONAL_HEADER
    assert (header.Machine, optional.Magic, optional.Subsystem) == (0x14C, 0x10B, 2), "not i386 GUI"
    assert header.TimeDateStamp == 0 == header.PointerToSymbolTable, "a time stamp or symbols"
    assert all(getattr(optional, f"IMAGE_DLLCHARACTERISTICS_{flag}")
               for flag in ("DYNAMIC_BASE", "NX_COMPAT", "NO_SEH")), "not hardened"
    assert not header.IMAGE_FILE_RELOCS_STRIPPED and hasattr(pe, "DIRECTORY_ENTRY_BASERELOC")
    for s in pe.sections:  # no writable code, nothing shared, no debug sections
        assert not ((s.IMAGE_SCN_MEM_EXECUTE and s.IMAGE_SCN_MEM_WRITE) or s.IMAGE_SCN_MEM_SHARED
                    or s.Name.startswith(b".debug")), s.Name

    imports = {entry.dll.decode().lower(): {i.name for i in entry.imports}
               for entry in pe.DIRECTORY_ENTRY_IMPORT}
    assert set(imports) <= WINDOWS_DLLS, f"imports {set(imports) - WINDOWS_DLLS}"
    # RtlGenRandom is forwarded to cryptbase, which is no KnownDLL: it is
    # looked up once the DLL search is narrowed, never imported.
    assert not any(b"SystemFunction036" in names for names in imports.values()), "imported"

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

    # The resources as committed (the sources say what they hold), and a
    # version record that names the program.
    assert resource(24, 1) == (resources / "taliven.manifest").read_bytes(), "manifest"
    assert resource(2, 2) == (resources / "emblem.bmp").read_bytes()[14:], "emblem"
    strings = {k.decode() for info in pe.FileInfo[0] for table in getattr(info, "StringTable", [])
               for k in table.entries}
    assert {"CompanyName", "ProductName", "FileVersion", "OriginalFilename"} <= strings, strings
    group = struct.unpack_from("<3H4B2HIH", resource(14, 1))  # the application icon's
    assert [group[k] for k in (2, 3, 4, 8)] == [1, 32, 32, 4], group  # one image, 32 x 32, 4 bits
    ico = (resources / "taliven.ico").read_bytes()
    image = struct.unpack_from("<I", ico, 18)[0]
    assert resource(3, group[10]) == ico[image:], "icon"
    print(f"{exe.name}: {exe.stat().st_size} bytes, {uses} uses of the canary")

    # The release zip that holds that exe.
    high, low = pe.VS_FIXEDFILEINFO[0].FileVersionMS, pe.VS_FIXEDFILEINFO[0].FileVersionLS
    version = f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"
    archive = Path(dist) / f"Taliven-{version}-win32.zip"
    sums = (Path(dist) / "SHA256SUMS").read_text()
    assert sums == f"{hashlib.sha256(archive.read_bytes()).hexdigest()}  {archive.name}\n", sums
    with zipfile.ZipFile(archive) as packed:
        assert packed.namelist() == ["Taliven.exe", "README.txt", "LICENSE.txt"], packed.namelist()
        for member in packed.infolist():  # the same bytes wherever and whenever made
            assert (member.date_time, member.create_system) == ((1980, 1, 1, 0, 0, 0), 0), member
        assert packed.read("Taliven.exe") == exe.read_bytes(), "not the checked exe"
        for name, origin in (("README.txt", readme), ("LICENSE.txt", licence)):  # Windows line ends
            text = Path(origin).read_text(encoding="utf-8")
            assert packed.read(name) == text.replace("\n", "\r\n").encode(), name
    print(f"{archive.name}: {archive.stat().st_size} bytes, SHA-256 {sums.split()[0]}")


if __name__ == "__main__":
    release(*sys.argv[1:])
