"""Writes the delay import directory (data directory 13) into the PE header
of a linked program, from the linker's map.

GNU ld (binutils 2.40) links the delay-load descriptors of the libraries that
delay_import_lib.py makes (each in section .text$2) but leaves that directory
empty, so neither the tools nor tests/native/test_binaries.py could see what a
program delay-loads. The descriptors lie next to each other and are ended by
the zero descriptor DelayImportDirectoryEnd (section .text$3, sorted after
them; common/system_dlls.cpp). A program without delay imports keeps an empty
directory.

usage: delay_import_directory.py PROGRAM MAP"""
import re
import struct
import sys

DESCRIPTOR_SIZE = 32
SYMBOL = re.compile(r"^\s+0x([0-9a-fA-F]+)\s+(\S+)\s*$")


def symbol_addresses(map_path):
    descriptors, end = [], None
    with open(map_path) as f:
        for line in f:
            match = SYMBOL.match(line)
            if not match:
                continue
            address, name = int(match.group(1), 16), match.group(2)
            if "_DELAY_IMPORT_DESCRIPTOR_" in name:
                descriptors.append(address)
            elif name.lstrip("_") == "DelayImportDirectoryEnd":
                end = address
    return sorted(descriptors), end


def pe_checksum(data, field):
    """The header checksum as the loader computes it, with its own field as 0."""
    data = data[:field] + b"\0\0\0\0" + data[field + 4:]
    if len(data) % 2:
        data += b"\0"
    total = 0
    for (word,) in struct.iter_unpack("<H", data):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def main(program, map_path):
    descriptors, end = symbol_addresses(map_path)
    if not descriptors:
        return
    if end is None:
        sys.exit("%s: delay imports without DelayImportDirectoryEnd" % program)
    expected = [descriptors[0] + DESCRIPTOR_SIZE * i for i in range(len(descriptors) + 1)]
    if descriptors + [end] != expected:
        sys.exit("%s: delay-load descriptors not in one array ended by DelayImportDirectoryEnd" % program)
    with open(program, "rb") as f:
        data = bytearray(f.read())
    optional = struct.unpack_from("<I", data, 0x3C)[0] + 24
    pe32plus = struct.unpack_from("<H", data, optional)[0] == 0x20B
    image_base = struct.unpack_from("<Q", data, optional + 24)[0] if pe32plus else \
        struct.unpack_from("<I", data, optional + 28)[0]
    directory = optional + (112 if pe32plus else 96) + 8 * 13
    struct.pack_into("<II", data, directory, descriptors[0] - image_base, DESCRIPTOR_SIZE * (len(descriptors) + 1))
    # ld wrote a checksum of the header as it left it: keep it true.
    checksum = optional + 64
    if struct.unpack_from("<I", data, checksum)[0]:
        struct.pack_into("<I", data, checksum, pe_checksum(bytes(data), checksum))
    with open(program, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(*sys.argv[1:])
