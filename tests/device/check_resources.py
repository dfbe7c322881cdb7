#!/usr/bin/env python3
"""The device program carries the desktop program's resources, byte for byte:
the same types, ids and languages, the same dialog templates, strings, menus,
accelerators, icon and menu bar data. The desktop's manifest is its own.

    check_resources.py DEVICE_EXE DESKTOP_EXE
"""
import sys

import pefile

RT_MANIFEST = 24


def resources(exe):
    """{(type, name, language): data} of a PE file's resource tree."""
    pe = pefile.PE(exe)
    found = {}
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in root.entries if root else []:
        kind_key = str(kind.name) if kind.name else kind.id
        for name in kind.directory.entries:
            for language in name.directory.entries:
                data = language.data.struct
                found[(kind_key, str(name.name) if name.name else name.id, language.id)] = \
                    pe.get_data(data.OffsetToData, data.Size)
    return found


def main(device_exe, desktop_exe):
    device = resources(device_exe)
    desktop = {key: data for key, data in resources(desktop_exe).items()
               if key[0] != RT_MANIFEST}
    problems = [f"missing on the device: {key}" for key in sorted(desktop.keys() - device.keys(),
                                                                   key=str)]
    problems += [f"only on the device: {key}" for key in sorted(device.keys() - desktop.keys(),
                                                                 key=str)]
    problems += [f"differs: {key}" for key in sorted(desktop.keys() & device.keys(), key=str)
                 if desktop[key] != device[key]]
    if not desktop:
        problems.append("the desktop program has no resources: wrong file?")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        return 1
    print(f"the device's {len(device)} resources are the desktop's: "
          f"{', '.join(str(key) for key in sorted(device, key=str))}")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
