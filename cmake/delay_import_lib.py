"""Makes a delay-import library from a system import library: the programs
then resolve that DLL at its first call, after they restricted the DLL search
to the system folder, instead of at load time by the normal search order.

usage: delay_import_lib.py TRIPLET IMPORT_LIBRARY DLL_NAME OUTPUT"""
import os
import subprocess
import sys
import tempfile


def exported_names(triplet, library):
    """The DLL's function names as the import library names them (i686 keeps
    the stdcall @n that dlltool's --kill-at strips from the imported name)."""
    listing = subprocess.run([triplet + "-nm", "-g", library], capture_output=True, text=True, check=True).stdout
    prefix = "__imp__" if triplet.startswith("i686") else "__imp_"
    names = {}
    for line in listing.splitlines():
        symbol = line.split()[-1] if line.strip() else ""
        if not symbol.startswith(prefix):
            continue
        name = symbol[len(prefix):]
        base = name.split("@")[0]
        # The library carries some functions twice, with and without @n.
        if base not in names or "@" in name:
            names[base] = name
    return sorted(names.values())


def main(triplet, library, dll, output):
    names = exported_names(triplet, library)
    if not names:
        sys.exit("no functions found in " + library)
    with tempfile.TemporaryDirectory() as work:
        definition = os.path.join(work, "exports.def")
        with open(definition, "w") as f:
            f.write("LIBRARY %s\nEXPORTS\n" % dll)
            f.writelines(name + "\n" for name in names)
        subprocess.run([triplet + "-dlltool", "--kill-at", "--def", definition, "--dllname", dll,
                        "--output-delaylib", output], check=True)


if __name__ == "__main__":
    main(*sys.argv[1:])
