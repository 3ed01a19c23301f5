"""Reading the payload package of a packed installer, and writing damaged
copies of it for the tests."""
import struct
import zlib


class Package:
    """The installer image and the package appended to it."""

    def __init__(self, data):
        count, offset = struct.unpack("<II", data[-8:])
        self.image = data[:offset]
        (length,) = struct.unpack("<I", data[offset:offset + 4])
        self.version = data[offset + 4:offset + 4 + length]
        self.entries = []  # [name (bytes), zlib stream (bytes)]
        position = offset + 4 + length
        for _ in range(count):
            name_length, data_length = struct.unpack("<II", data[position:position + 8])
            name = data[position + 8:position + 8 + name_length]
            start = position + 8 + name_length
            self.entries.append([name, data[start:start + data_length]])
            position = start + data_length
        if position != len(data) - 8:
            raise ValueError("entries do not end at the trailer")

    @classmethod
    def read(cls, path):
        with open(path, "rb") as f:
            return cls(f.read())

    def names(self):
        return [name.decode("ascii") for name, _ in self.entries]

    def content(self, index):
        return zlib.decompress(self.entries[index][1])

    def serialise(self, count=None):
        out = bytearray(self.image)
        out += struct.pack("<I", len(self.version)) + self.version
        for name, stream in self.entries:
            out += struct.pack("<II", len(name), len(stream)) + name + stream
        out += struct.pack("<II", len(self.entries) if count is None else count, len(self.image))
        return bytes(out)


def with_flipped_data_byte(data, index):
    """One bit flipped in the middle of entry index's zlib stream."""
    package = Package(data)
    stream = bytearray(package.entries[index][1])
    stream[len(stream) // 2] ^= 0x01
    package.entries[index][1] = bytes(stream)
    return package.serialise()


def without_entry(data, name):
    """The package without the entry of that name."""
    package = Package(data)
    package.entries = [e for e in package.entries if e[0] != name.encode("ascii")]
    return package.serialise()


def with_entry_name(data, index, name):
    package = Package(data)
    package.entries[index][0] = name.encode("ascii")
    return package.serialise()


def with_entry_count(data, count):
    return Package(data).serialise(count=count)


def with_entry_contents(data, contents):
    """The entries named in contents (name -> bytes) recompressed with new bytes."""
    package = Package(data)
    for entry in package.entries:
        name = entry[0].decode("ascii")
        if name in contents:
            entry[1] = zlib.compress(contents[name], 6)
    return package.serialise()
