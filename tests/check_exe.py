#!/usr/bin/python3
"""Checks the shipped exe from outside, where the window tests cannot reach.

- release: its file, with pefile: a stripped, hardened, self-contained
  32-bit Windows program that resolves no ole32 at start, with a real stack
  protector, its manifest, version record, and the committed icon and
  emblem. Then the release `make dist` wrote beside it: SHA256SUMS naming
  the zip of the exe's version with its digest, and inside, in order and
  with nothing of the time or the machine it was made on, that very exe,
  then README.txt and LICENSE.txt as the sources say, with Windows line ends.
- canary (under Wine): each run seeds its own stack canary. Wine maps the
  image at its base in the same Linux process, whose memory /proc shows.
- title-icon (under Wine): the title bar's icon on screen is the application
  icon's 32 x 32 image area-averaged to the small-icon size of the DPI.

    check_exe.py release EXE RESOURCES_FOLDER DIST_FOLDER README LICENSE
    check_exe.py canary WINE_RUN EXE
    check_exe.py title-icon WINE_RUN EXE PROBE ICO DPI
"""

import hashlib
import io
import math
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

import pefile
from PIL import Image

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

    manifest = resource(24, 1).decode()
    assert all(needed in manifest for needed in (
        "PerMonitorV2", "true/pm", "asInvoker", "Microsoft.Windows.Common-Controls",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")), manifest

    v = pe.VS_FIXEDFILEINFO[0]  # 1.0.0.1 twice; for 32-bit Windows, an application, no flags
    assert (v.FileVersionMS, v.FileVersionLS, v.ProductVersionMS, v.ProductVersionLS, v.FileOS,
            v.FileType, v.FileFlags & v.FileFlagsMask) == (0x10000, 1, 0x10000, 1, 0x40004, 1, 0)
    tables = [t for info in pe.FileInfo[0] for t in getattr(info, "StringTable", [])]
    languages = [t.LangID.lower() for t in tables] + [value for info in pe.FileInfo[0] for var in
                                                      getattr(info, "Var", []) for value in
                                                      var.entry.values()]
    assert languages == [b"040904b0", "0x0409 0x04b0"], f"not U.S. English, Unicode: {languages}"
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

    # The release zip that holds that exe.
    high, low = v.FileVersionMS, v.FileVersionLS
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


def running(run, exe, until):
    """Starts exe and returns until(app) once it is not None (for 20 s at most)."""
    # Wine's own servers, started with it, must not hold the runner's output.
    app = subprocess.Popen(run + [exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 20
        while (got := until(app)) is None and time.monotonic() < deadline:
            time.sleep(0.01)
        return got
    finally:
        app.kill()
        app.wait()


def canary(wine_run, exe):
    pe = pefile.PE(exe, fast_load=True)
    base = pe.OPTIONAL_HEADER.ImageBase
    address = base + pe.get_rva_from_offset(Path(exe).read_bytes().index(GUARD_SEED))

    def seeded(app):
        try:
            with open(f"/proc/{app.pid}/mem", "rb") as memory:
                memory.seek(base)
                if memory.read(2) == b"MZ":
                    memory.seek(address)
                    value = memory.read(4)
                    return value if value != GUARD_SEED else None  # or not seeded yet
        except OSError:
            pass  # not mapped yet
        return None

    first, second = (running([wine_run], exe, seeded) for _ in range(2))
    assert None not in (first, second), "the canary kept its build-time value"
    assert first != second, "two runs share one canary"
    print(f"canaries of two runs: {first.hex()} and {second.hex()}")


def title_icon(wine_run, exe, probe, ico, dpi):
    run = [wine_run, "--dpi", dpi]
    size = round(16 * int(dpi) / 96)  # SM_CXSMICON at this DPI
    # Area averaging, exactly: each source pixel split into equal squares, then
    # averaged in blocks (Pillow's BOX filter weighs whole pixels).
    common = math.lcm(32, size)
    want = Image.open(ico).convert("L").resize((common, common), Image.NEAREST).reduce(
        common // size)

    def drawn(_):
        with tempfile.TemporaryFile("w+") as frame:  # not a pipe Wine's servers may keep
            subprocess.run(run + [probe], check=True, stdout=frame)
            frame.seek(0)
            left, top, width, _ = map(int, frame.read().split())
        shot = subprocess.run(["import", "-window", "root", "-crop",
                               f"{width}x{2 * size}+{left}+{top}", "png:-"],
                              check=True, capture_output=True).stdout
        caption = Image.open(io.BytesIO(shot)).convert("L")
        # The icon's black ground, left of the title, starts where it is drawn.
        box = caption.crop((0, 0, size, 2 * size)).point(lambda v: 255 * (v < 8)).getbbox()
        got = caption.crop((box[0], box[1], box[0] + size, box[1] + size)) if box else None
        same = got and max(abs(a - b) for a, b in zip(got.getdata(), want.getdata())) <= 2
        return True if same else None

    assert running(run, exe, drawn), f"the title bar's icon is not the 32 px image at {size} px"
    print(f"the title bar's {size} px icon is the 32 px image averaged")


if __name__ == "__main__":
    check_name, *args = sys.argv[1:]
    {"release": release, "canary": canary, "title-icon": title_icon}[check_name](*args)
