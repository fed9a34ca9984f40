#!/usr/bin/env python3
"""Reads the built Quillet.exe as Windows reads it, for what Wine does not hold a program to: the
declarations of its manifest, the promises of its PE header and the DLLs it loads. Prints each that
is missing and exits 1 when any is.

check_program_file.py PROGRAM OBJDUMP
"""
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"

SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}
# DLLs that every supported Windows has in its system folder; nothing to ship, nothing to plant.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "comctl32.dll",
               "comdlg32.dll", "ole32.dll", "msvcrt.dll"}
PE_PROMISES = ["DYNAMIC_BASE", "NX_COMPAT", "TERMINAL_SERVICE_AWARE"]


def manifest_problems(program):
    raw = subprocess.run(["wrestool", "--raw", "-x", "-t", "24", "-n", "1", program], capture_output=True,
                         check=True).stdout
    if not raw:
        return ["no manifest (resource type 24, id 1)"]
    root = ElementTree.fromstring(raw.decode("utf-8-sig"))
    problems = []

    def expect(condition, what):
        if not condition:
            problems.append(what)

    controls = [identity for identity in root.iter(f"{ASM_V1}assemblyIdentity")
                if identity.get("name") == "Microsoft.Windows.Common-Controls"]
    expect(any(identity.get("version") == "6.0.0.0" for identity in controls), "a dependency on common controls 6")
    levels = [element.get("level") for element in root.iter(f"{ASM_V3}requestedExecutionLevel")]
    expect(levels == ["asInvoker"], "requestedExecutionLevel asInvoker, so that UAC does not virtualize files")
    declared = {element.get("Id").lower() for element in root.iter(f"{COMPATIBILITY}supportedOS")}
    for os_id, name in SUPPORTED_OS.items():
        expect(os_id in declared, f"supportedOS {name}")
    settings = {element.tag: (element.text or "").strip() for element in root.iter()
                if element.tag.startswith(("{http://schemas.microsoft.com/SMI/2005", "{http://schemas.microsoft.com/SMI/2016"))}
    awareness = [value.strip().lower() for value in settings.get(f"{SETTINGS_2016}dpiAwareness", "").split(",")]
    expect(awareness[:1] == ["permonitorv2"], "dpiAwareness PerMonitorV2 first")
    expect("system" in awareness, "dpiAwareness falling back to system-aware")
    expect(settings.get(f"{SETTINGS_2005}dpiAware", "").lower() == "true",
           "dpiAware true, the system-aware declaration of Windows before 10")
    expect(settings.get(f"{SETTINGS_2016}longPathAware", "").lower() == "true", "longPathAware true")
    return problems


def header_problems(program, objdump):
    dump = subprocess.run([objdump, "-p", program], capture_output=True, text=True, check=True).stdout
    fields = dict(line.split(None, 1) for line in dump.splitlines() if line and not line[0].isspace() and
                  len(line.split(None, 1)) == 2)
    problems = []
    if not fields.get("Subsystem", "").startswith("00000002"):
        problems.append("a Windows GUI subsystem")
    if (fields.get("MajorSubsystemVersion"), fields.get("MinorSubsystemVersion")) != ("6", "1"):
        problems.append("subsystem version 6.1 (Windows 7 and later)")
    characteristics = dump.split("DllCharacteristics", 1)[-1].split("SizeOfStackReserve", 1)[0]
    problems += [f"DllCharacteristics {promise}" for promise in PE_PROMISES if promise not in characteristics]
    loaded = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line}
    problems += [f"only system DLLs, not {name}" for name in sorted(loaded - SYSTEM_DLLS)]
    if not loaded:
        problems.append("an import table that objdump can read")
    return problems


def main():
    program, objdump = sys.argv[1:3]
    problems = manifest_problems(program) + header_problems(program, objdump)
    for problem in problems:
        print(f"{program} lacks {problem}")
    print("manifest, header and imports as Windows needs them" if not problems else f"{len(problems)} missing")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
