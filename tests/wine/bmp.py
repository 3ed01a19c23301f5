"""Reading the 24-bit BMP files that the GUI driver captures and that the
artwork generator writes."""
import struct


class Bitmap:
    """The pixels of an uncompressed 24-bit BMP, addressed top-down as (r, g, b)."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:2] != b"BM":
            raise ValueError("%s: not a BMP file" % path)
        offset, = struct.unpack_from("<I", data, 10)
        _, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
        if bits != 24 or compression != 0:
            raise ValueError("%s: %d bits per pixel, compression %d; want 24, none" % (path, bits, compression))
        self.width, self.height = width, abs(height)
        self._bottom_up = height > 0
        self._stride = (width * 3 + 3) & ~3
        self._data = data
        self._offset = offset

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError("pixel (%d, %d) outside %dx%d" % (x, y, self.width, self.height))
        row = self.height - 1 - y if self._bottom_up else y
        b, g, r = self._data[self._offset + row * self._stride + x * 3:][:3]
        return r, g, b

    def row(self, y, x0=0, x1=None):
        return [self.pixel(x, y) for x in range(x0, self.width if x1 is None else x1)]

    def column(self, x, y0=0, y1=None):
        return [self.pixel(x, y) for y in range(y0, self.height if y1 is None else y1)]

    def same_pixels(self, other):
        return (self.width, self.height, self._bottom_up) == (other.width, other.height, other._bottom_up) and \
            self._data[self._offset:] == other._data[other._offset:]

    def region(self, x0, y0, x1, y1):
        """Rows of the pixels with x0 <= x < x1, y0 <= y < y1."""
        return [self.row(y, x0, x1) for y in range(y0, y1)]
