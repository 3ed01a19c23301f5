"""Reads what the tests check in a built Windows program: the PE headers,
the DLLs imported at load time and the delay-loaded ones, and the resources
(with a parser for extended dialog templates)."""
import struct

RT_ICON, RT_BITMAP, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_MANIFEST = 3, 2, 5, 6, 14, 24


class PeFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if d[:2] != b"MZ":
            raise ValueError("not an MZ file")
        self.pe_offset = struct.unpack_from("<I", d, 0x3C)[0]
        if d[self.pe_offset:self.pe_offset + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        coff = self.pe_offset + 4
        (self.machine, sections, _, _, _, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", d, coff)
        opt = coff + 20
        self.magic = struct.unpack_from("<H", d, opt)[0]
        pe32plus = self.magic == 0x20B
        self.image_base = struct.unpack_from("<Q", d, opt + 24)[0] if pe32plus else struct.unpack_from("<I", d, opt + 28)[0]
        self.subsystem_version = struct.unpack_from("<HH", d, opt + 48)
        self.subsystem = struct.unpack_from("<H", d, opt + 68)[0]
        directories = opt + (112 if pe32plus else 96)
        self._directories = [struct.unpack_from("<II", d, directories + 8 * i) for i in range(16)]
        self.sections = []
        table = opt + optional_size
        for i in range(sections):
            name, vsize, vaddr, rsize, rptr = struct.unpack_from("<8sIIII", d, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), vaddr, max(vsize, rsize), rptr, rsize))
        # The image ends where the last section's raw data ends: an appended
        # package lies after that.
        self.image_end = max(rptr + rsize for (_, _, _, rptr, rsize) in self.sections)

    def _offset(self, rva):
        for _, vaddr, size, rptr, _ in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + rptr
        raise ValueError("RVA %#x outside every section" % rva)

    def _cstring(self, offset):
        end = self.data.index(b"\0", offset)
        return self.data[offset:end].decode("ascii")

    def _descriptors(self, directory, entry_format):
        """The entries of the array a data directory names, up to its zero entry."""
        rva, _ = self._directories[directory]
        if not rva:
            return
        offset = self._offset(rva)
        while True:
            entry = struct.unpack_from(entry_format, self.data, offset)
            if not any(entry):
                return
            yield entry
            offset += struct.calcsize(entry_format)

    def imports(self):
        """Names of the DLLs imported at load time, lower case."""
        return [self._cstring(self._offset(entry[3])).lower() for entry in self._descriptors(1, "<5I")]

    def delay_imports(self):
        """Names of the delay-loaded DLLs (delay import directory), lower case."""
        names = []
        for attributes, name, *_ in self._descriptors(13, "<8I"):
            # Without bit 0 the fields are addresses, not RVAs (the oldest linkers).
            if not attributes & 1:
                name -= self.image_base
            names.append(self._cstring(self._offset(name)).lower())
        return names

    def resources(self):
        """{(type, name, language): bytes}; ids as ints, names as strings."""
        rva, _ = self._directories[2]
        base = self._offset(rva)
        found = {}

        def entries(directory):
            named, ids = struct.unpack_from("<HH", self.data, directory + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, directory + 16 + 8 * i)
                if key & 0x80000000:
                    at = base + (key & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield key, target

        for rtype, t in entries(base):
            for name, n in entries(base + (t & 0x7FFFFFFF)):
                for lang, leaf in entries(base + (n & 0x7FFFFFFF)):
                    data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self._offset(data_rva)
                    found[(rtype, name, lang)] = self.data[start:start + size]
        return found

    def resource(self, rtype, name):
        """The data of a resource in whatever language it has."""
        matches = [v for (t, n, _), v in self.resources().items() if t == rtype and n == name]
        if len(matches) != 1:
            raise KeyError("resource %r/%r found %d times" % (rtype, name, len(matches)))
        return matches[0]

    def resource_languages(self, rtype, name):
        return [lang for (t, n, lang) in self.resources() if t == rtype and n == name]


def _sz_or_ord(data, offset):
    """Reads a string-or-ordinal field; returns (value, next offset)."""
    first = struct.unpack_from("<H", data, offset)[0]
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    end = offset
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def parse_dialog_ex(data):
    """An extended dialog template as a dict with its controls."""
    version, signature, help_id, ex_style, style, count, x, y, cx, cy = struct.unpack_from(
        "<HHIIIHhhhh", data, 0)
    if (version, signature) != (1, 0xFFFF):
        raise ValueError("not an extended dialog template")
    offset = 26
    menu, offset = _sz_or_ord(data, offset)
    window_class, offset = _sz_or_ord(data, offset)
    caption, offset = _sz_or_ord(data, offset)
    dialog = {"style": style, "ex_style": ex_style, "rect": (x, y, cx, cy), "menu": menu,
              "class": window_class, "caption": caption, "controls": []}
    if style & 0x40:  # DS_SETFONT
        point_size, weight, italic, charset = struct.unpack_from("<HHBB", data, offset)
        face, offset = _sz_or_ord(data, offset + 6)
        dialog["font"] = (point_size, face)
    for _ in range(count):
        offset = (offset + 3) & ~3
        help_id, ex_style, style, x, y, cx, cy, control_id = struct.unpack_from("<IIIhhhhI", data, offset)
        offset += 24
        control_class, offset = _sz_or_ord(data, offset)
        text, offset = _sz_or_ord(data, offset)
        extra = struct.unpack_from("<H", data, offset)[0]
        offset += 2 + extra
        dialog["controls"].append({"id": control_id, "class": control_class, "text": text, "style": style,
                                   "ex_style": ex_style, "rect": (x, y, cx, cy)})
    return dialog


def string_table(pe, string_id):
    """A string resource by id (string tables hold 16 strings per block)."""
    block = pe.resource(RT_STRING, string_id // 16 + 1)
    offset = 0
    for index in range(16):
        length = struct.unpack_from("<H", block, offset)[0]
        text = block[offset + 2:offset + 2 + 2 * length].decode("utf-16-le")
        if index == string_id % 16:
            return text
        offset += 2 + 2 * length
    return None
