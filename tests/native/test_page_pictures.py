"""The page pictures bound into both programs: under the right resource id,
stored as the program's decoder reads them (the installer's deflated,
installer/program/inflated_picture.h; the uninstaller's as runs of pixels,
wizard_ui/packed_picture.h), decoding to exactly the bitmap the art
generator draws, 24 bits per pixel, in the size the page window copies. Read
from the executables themselves (the i686 deliverables and the x86_64 build),
so an id that does not match its page table shows up before Wine."""
import os
import struct
import sys
import unittest
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
from resource_ids import INSTALLER, UNINSTALLER  # noqa: E402

BUILD = os.environ.get("VARNEK_BUILD_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "build"))
RT_BITMAP = 2
RT_RCDATA = 10
RESOURCE_TABLE = 2  # index of the resource table among the data directories


def resources(path, resource_type):
    """{id: data} of the resources of one type in a PE file (first language of each)."""
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("%s: not a PE file" % path)
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    resource_rva = struct.unpack_from("<I", data, directories + 8 * RESOURCE_TABLE)[0]
    table = optional + optional_size

    def file_offset(rva):
        for i in range(sections):
            size, address, _, raw = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            if address <= rva < address + size:
                return rva - address + raw
        raise ValueError("RVA %#x outside every section" % rva)

    base = file_offset(resource_rva)

    def entries(offset):
        named, numbered = struct.unpack_from("<HH", data, base + offset + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
            yield name, target

    result = {}
    for type_id, type_dir in entries(0):
        if type_id != resource_type:
            continue
        for name_id, name_dir in entries(type_dir & 0x7FFFFFFF):
            _, language_entry = next(entries(name_dir & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", data, base + language_entry)
            result[name_id] = data[file_offset(rva):file_offset(rva) + size]
    return result


def unpack(packed):
    """The DIB (info header and padded rows) of a packed picture."""
    width, height = struct.unpack_from("<ii", packed, 4)
    out, i = bytearray(packed[:40]), 40
    for _ in range(height):
        row = b""
        while len(row) < 3 * width:
            control = packed[i]
            count = (control & 0x7F) + 1
            if control & 0x80:
                row += packed[i + 1:i + 4] * count
                i += 4
            else:
                row += packed[i + 1:i + 1 + 3 * count]
                i += 1 + 3 * count
        if len(row) != 3 * width:
            raise ValueError("a run crosses the end of a row")
        out += row + b"\0" * (-len(row) % 4)
    if i != len(packed):
        raise ValueError("%d bytes after the last row" % (len(packed) - i))
    return bytes(out)


def inflate(deflated):
    """The DIB of a deflated picture: one zlib stream and nothing after it."""
    stream = zlib.decompressobj()
    dib = stream.decompress(deflated)
    if not stream.eof or stream.unused_data:
        raise ValueError("not exactly one complete zlib stream")
    return dib


class PagePictures(unittest.TestCase):
    PROGRAMS = {
        "installer/VarnekPrinterSetup.exe": (inflate, {INSTALLER.IDB_SIDE_PICTURE: "side.bmp",
                                                       INSTALLER.IDB_HEADER_LOGO: "logo.bmp"}),
        "uninstaller/Uninstaller.exe": (unpack, {UNINSTALLER.IDB_SIDE_PICTURE: "side.bmp",
                                                 UNINSTALLER.IDB_HEADER_LOGO: "logo.bmp"}),
    }
    SIZES = {"side.bmp": (163, 295), "logo.bmp": (140, 54)}

    def test_pictures_in_both_programs_and_flavours(self):
        for flavour in ("win32", "win64"):
            art = os.path.join(BUILD, flavour, "generated", "art")
            for program, (decode, pictures) in self.PROGRAMS.items():
                with self.subTest(flavour=flavour, program=program):
                    path = os.path.join(BUILD, flavour, program)
                    found = resources(path, RT_RCDATA)
                    self.assertEqual(sorted(found), sorted(pictures))
                    # No raw bitmap is bound in beside them.
                    self.assertEqual(resources(path, RT_BITMAP), {})
                    for resource_id, name in pictures.items():
                        packed = found[resource_id]
                        # Packed: what the program carries is a small part of the bitmap.
                        self.assertLess(len(packed) * 5, self.SIZES[name][0] * self.SIZES[name][1] * 3)
                        bitmap = decode(packed)
                        width, height, _, bits, compression = struct.unpack_from("<iiHHI", bitmap, 4)
                        self.assertEqual((width, height), self.SIZES[name], "bitmap %d" % resource_id)
                        self.assertEqual((bits, compression), (24, 0), "bitmap %d" % resource_id)
                        # It unpacks to the drawn file without its file header.
                        with open(os.path.join(art, name), "rb") as f:
                            self.assertEqual(bitmap, f.read()[14:], "bitmap %d" % resource_id)


if __name__ == "__main__":
    unittest.main()
