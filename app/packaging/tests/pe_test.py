#!/usr/bin/python3
"""Reads the version resource and the import table back from the Windows program file.

The fixed version is 2.2.0.0, the version texts are those of the resource script, and the
program imports only DLLs that ship with Windows: everything else is linked in.
Usage: /usr/bin/python3 pe_test.py PROGRAM.exe   (exits 77, a skip, without python3-pefile)
"""
import sys

try:
    import pefile
except ImportError:
    print("SKIP: python3-pefile is not installed (scripts/deps.sh test)")
    sys.exit(77)

WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "imm32.dll", "comctl32.dll",
                "msvcrt.dll", "advapi32.dll", "shell32.dll", "ole32.dll", "uxtheme.dll"}
TEXTS = {
    "FileDescription": "A utility to identify individual unk4 values that have been combined "
                       "to make up the final unk4 input for OrvanTRK",
    "FileVersion": "2.02",
    "InternalName": "Orvanunk4ver22",
    "OriginalFilename": "Orvanunk4ver22.exe",
    "ProductName": "Orvan unk4",
    "ProductVersion": "2.02",
}

pe = pefile.PE(sys.argv[1])
failures = []
if not hasattr(pe, "VS_FIXEDFILEINFO") or not hasattr(pe, "FileInfo"):
    print("FAILED: no version resource")
    sys.exit(1)

fixed = pe.VS_FIXEDFILEINFO[0]
for name, ms, ls in (("FileVersion", fixed.FileVersionMS, fixed.FileVersionLS),
                     ("ProductVersion", fixed.ProductVersionMS, fixed.ProductVersionLS)):
    version = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    if version != (2, 2, 0, 0):
        failures.append(f"fixed {name} {version}")

texts = {}
for info in pe.FileInfo[0]:
    if info.Key == b"StringFileInfo":
        for table in info.StringTable:
            texts.update({k.decode(): v.decode() for k, v in table.entries.items()})
for key, want in TEXTS.items():
    if texts.get(key) != want:
        failures.append(f"{key}: {texts.get(key)!r}, expected {want!r}")

imports = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
print("imports:", " ".join(imports))
failures += [f"imports {dll}, which is no Windows DLL" for dll in imports if dll not in WINDOWS_DLLS]

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
