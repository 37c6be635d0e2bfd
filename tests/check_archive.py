#!/usr/bin/python3
"""Makes the release zip twice, in two folders, and checks it: the same bytes
both times, SHA256SUMS naming it with its digest, and inside, in order, the
exe the release checks passed, then README.txt and LICENSE.txt as the
sources say, with Windows line ends.

    check_archive.py MAKE_DIST EXE VERSION SOURCE_FOLDER SCRATCH_FOLDER
"""

import hashlib
import subprocess
import sys
import zipfile
from pathlib import Path


def main():
    make_dist, exe, version, source, scratch = sys.argv[1:6]
    zips = []
    for folder in (Path(scratch) / "one", Path(scratch) / "two"):
        subprocess.run([sys.executable, make_dist, exe, version, Path(source) / "docs/README.txt",
                        Path(source) / "LICENSE", folder], check=True, capture_output=True)
        zips.append(folder / f"Taliven-{version}-win32.zip")
    data = zips[0].read_bytes()
    assert data == zips[1].read_bytes(), "two runs gave different zips"
    sums = (zips[0].parent / "SHA256SUMS").read_text()
    assert sums == f"{hashlib.sha256(data).hexdigest()}  {zips[0].name}\n", sums

    with zipfile.ZipFile(zips[0]) as packed:
        assert packed.namelist() == ["Taliven.exe", "README.txt", "LICENSE.txt"], packed.namelist()
        assert packed.read("Taliven.exe") == Path(exe).read_bytes(), "not the checked exe"
        for name, origin in (("README.txt", "docs/README.txt"), ("LICENSE.txt", "LICENSE")):
            text = packed.read(name)
            assert b"\r\n" in text and b"\n" not in text.replace(b"\r\n", b""), f"{name} line ends"
            assert text.decode().replace("\r\n", "\n") == (Path(source) / origin).read_text()
        assert b"MIT License" in packed.read("LICENSE.txt")
    print(f"{zips[0].name}: {len(data)} bytes, the same twice, SHA-256 {sums.split()[0]}")


if __name__ == "__main__":
    main()
