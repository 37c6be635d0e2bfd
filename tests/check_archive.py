#!/usr/bin/python3
"""Makes the release zip and checks it: SHA256SUMS naming it with its
digest, and inside, in order and with nothing of the time or the machine it
was made on, the exe the release checks passed, then README.txt and
LICENSE.txt as the sources say, with Windows line ends.

    check_archive.py MAKE_DIST EXE VERSION SOURCE_FOLDER SCRATCH_FOLDER
"""

import hashlib
import subprocess
import sys
import zipfile
from pathlib import Path


def main():
    make_dist, exe, version, source, scratch = sys.argv[1:6]
    subprocess.run([sys.executable, make_dist, exe, version, Path(source) / "docs/README.txt",
                    Path(source) / "LICENSE", scratch], check=True, capture_output=True)
    archive = Path(scratch) / f"Taliven-{version}-win32.zip"
    sums = (Path(scratch) / "SHA256SUMS").read_text()
    assert sums == f"{hashlib.sha256(archive.read_bytes()).hexdigest()}  {archive.name}\n", sums

    with zipfile.ZipFile(archive) as packed:
        assert packed.namelist() == ["Taliven.exe", "README.txt", "LICENSE.txt"], packed.namelist()
        for member in packed.infolist():  # the same bytes wherever and whenever made
            assert (member.date_time, member.create_system) == ((1980, 1, 1, 0, 0, 0), 0), member
        assert packed.read("Taliven.exe") == Path(exe).read_bytes(), "not the checked exe"
        for name, origin in (("README.txt", "docs/README.txt"), ("LICENSE.txt", "LICENSE")):
            text = packed.read(name)
            assert b"\n" not in text.replace(b"\r\n", b""), f"{name} line ends"
            assert text.decode().replace("\r\n", "\n") == (Path(source) / origin).read_text()
    print(f"{archive.name}: {archive.stat().st_size} bytes, SHA-256 {sums.split()[0]}")


if __name__ == "__main__":
    main()
