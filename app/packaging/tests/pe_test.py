#!/usr/bin/python3
"""Reads the resources and the import table back from the Windows program file.

The fixed version is 2.2.0.0, the version texts are those of the resource script, in US English
and Unicode; the program icon, the About picture (the PNG file, 350 x 149) and a manifest
declaring per-monitor DPI awareness without the Common Controls 6 dependency (the classic look)
are there; and the program imports only DLLs that ship with Windows: everything else is linked in.
Usage: /usr/bin/python3 pe_test.py PROGRAM.exe   (exits 77, a skip, without python3-pefile)
"""
import struct
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
if not hasattr(pe, "VS_FIXEDFILEINFO") or not hasattr(pe, "FileInfo"):
    sys.exit("FAILED: no version resource")

# 2.2.0.0: the high words 2 and 2, then 0 and 0.
fixed = pe.VS_FIXEDFILEINFO[0]
failures = [f"fixed {name} {ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}" for name, ms, ls in
            (("FileVersion", fixed.FileVersionMS, fixed.FileVersionLS),
             ("ProductVersion", fixed.ProductVersionMS, fixed.ProductVersionLS))
            if (ms, ls) != (0x00020002, 0)]
tables = [table for info in pe.FileInfo[0] if info.Key == b"StringFileInfo" for table in info.StringTable]
texts = {k.decode(): v.decode() for table in tables for k, v in table.entries.items()}
failures += [f"texts in {table.LangID.decode()}, not US English in Unicode (040904b0)"
             for table in tables if table.LangID != b"040904b0"]
failures += [f"{key}: {texts.get(key)!r}, expected {want!r}"
             for key, want in TEXTS.items() if texts.get(key) != want]

resources = {}
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    for entry in kind.directory.entries:
        language = entry.directory.entries[0]
        data = pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
        resources[(kind.id, entry.id if entry.name is None else str(entry.name))] = data
if (pefile.RESOURCE_TYPE["RT_GROUP_ICON"], "IDI_ICON1") not in resources:
    failures.append("no program icon IDI_ICON1")
picture = resources.get((pefile.RESOURCE_TYPE["RT_RCDATA"], 201), b"")
if picture[:8] != b"\x89PNG\r\n\x1a\n" or struct.unpack_from(">II", picture, 16) != (350, 149):
    failures.append("no About picture, a 350 x 149 PNG file, in RCDATA 201")
manifest = resources.get((pefile.RESOURCE_TYPE["RT_MANIFEST"], 1), b"").decode(errors="replace")
failures += [f"manifest without {want}" for want in ("PerMonitorV2", "true/pm") if want not in manifest]
if "Common-Controls" in manifest:
    failures.append("manifest asks for Common Controls 6 (visual styles)")

imports = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
print("imports:", " ".join(imports))
failures += [f"imports {dll}, which is no Windows DLL" for dll in imports if dll not in WINDOWS_DLLS]
for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
