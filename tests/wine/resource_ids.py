"""The programs' own resource and control ids, read from their headers, so
that no test retypes a number the resource scripts already name.

A header is named by its path from the repository's top, as the sources
include it; where a header has moved, the places are tried in order. The
headers it includes (rooted at the repository's top, as the sources write
them) are read too. Only integer definitions are taken; asking for a name
the headers do not define is an error that names the header.
"""
import os
import re

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

_DEFINE = re.compile(r"^\s*#\s*define\s+(\w+)\s+(0[xX][0-9A-Fa-f]+|\d+)\s*(?://.*)?$")
_INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def _read(relative, found, seen):
    if relative in seen:
        return
    seen.add(relative)
    path = os.path.join(REPO, relative)
    if not os.path.isfile(path):
        return  # a system header, not one of ours
    with open(path, encoding="utf-8") as f:
        for line in f:
            include = _INCLUDE.match(line)
            if include:
                _read(include.group(1), found, seen)
                continue
            define = _DEFINE.match(line)
            if define:
                found[define.group(1)] = int(define.group(2), 0)


class ResourceIds:
    """The ids a header defines, as attributes: ids.IDC_NEXT."""

    def __init__(self, *places):
        """places: where the header is, newest first."""
        existing = [place for place in places if os.path.isfile(os.path.join(REPO, place))]
        if not existing:
            raise FileNotFoundError("no header at %s" % " or ".join(places))
        self._header = existing[0]
        self._ids = {}
        _read(self._header, self._ids, set())

    def __getattr__(self, name):
        if name.startswith("_"):
            raise AttributeError(name)
        try:
            return self._ids[name]
        except KeyError:
            raise AttributeError("%s does not define %s (nor does a header it includes)"
                                 % (self._header, name)) from None


WIZARD = ResourceIds("wizard_ui/wizard_ids.h")
INSTALLER = ResourceIds("installer/program/resource.h", "installer/resource.h")
UNINSTALLER = ResourceIds("uninstaller/program/resource.h", "uninstaller/resource.h")
