"""The wizard pages of both programs, checked in the pixels of real
screenshots: header band, separator, logo, side picture, text positions, the
captioned frame and the empty page.

The installer's pages are shown by the installer itself; the uninstaller's
pages and page indexes outside a program's pages by the page host, which
shows a program's page window at a given index.
"""
import os
import unittest

import harness
from bmp import Bitmap
from resource_ids import INSTALLER as IDS

WHITE = (255, 255, 255)
PAGE = (236, 233, 216)
SEPARATOR = (172, 168, 153)
FRAME = (208, 208, 191)

ART = os.path.join(harness.FLAVOUR, "generated", "art")
PAGE_HOST = "Page host"

# The frame around the folder box or the progress bar, and its caption.
L, T, R, B = 26, 168, 453, 218
FRAME_CAPTION = "目标文件夹"
CLOSING_TEXT = "关闭窗口请点击【完成】"


def ink_rows(image, x0, x1, y0, y1, background):
    """Rows in [y0, y1) with a pixel in [x0, x1) that is not the background."""
    return [y for y in range(y0, y1) if any(p != background for p in image.row(y, x0, x1))]


def ink_columns(image, x0, x1, y0, y1, background):
    return [x for x in range(x0, x1) if any(p != background for p in image.column(x, y0, y1))]


def frame_pixels(cx):
    """The pixels the 13 segments draw (a line leaves out its end point)."""
    segments = [
        ((L + 2, T), (L + 7, T)), ((L + cx + 8, T), (R - 2, T)), ((L + 1, T + 1), (L + 2, T + 1)),
        ((L, T + 2), (L + 1, T + 2)), ((L, T + 2), (L, B - 2)), ((L, B - 2), (L + 1, B - 2)),
        ((L + 1, B - 1), (L + 2, B - 1)), ((L + 2, B), (R - 2, B)), ((R - 2, B - 1), (R - 1, B - 1)),
        ((R - 1, B - 2), (R, B - 2)), ((R, B - 3), (R, T + 2)), ((R - 1, T + 2), (R, T + 2)),
        ((R - 2, T + 1), (R - 1, T + 1)),
    ]
    pixels = set()
    for (x0, y0), (x1, y1) in segments:
        dx, dy = (x1 > x0) - (x1 < x0), (y1 > y0) - (y1 < y0)
        x, y = x0, y0
        while (x, y) != (x1, y1):
            pixels.add((x, y))
            x, y = x + dx, y + dy
    return pixels


class PageChecks:
    """Assertions on a captured page window (mixed into the test groups)."""

    host = "tests/wine/pagehost.exe"

    def show(self, program, *pages, status=None, name=None, host=None):
        """Captures the page window that the page host shows."""
        args = [program] + [str(p) for p in pages] + (["--status", status] if status is not None else [])
        self.session.start(harness.program(host or self.host), *args)
        wizard = harness.Wizard(self.session, PAGE_HOST)
        self.assertTrue(wizard.wait(), "the page host did not show %s" % args)
        try:
            return self.capture_page(wizard, name or "-".join([program] + [str(p) for p in pages]))
        finally:
            wizard.close()
            self.assertTrue(wizard.gone())

    def closing_text_top(self, image, y):
        """Asserts that the closing text is drawn at y, against the same text
        drawn as the status line at (28, 160) (the ink starts below the
        line's top by the font's leading)."""
        reference = self.show("installer", 2, status=CLOSING_TEXT, name="closing-text-reference")
        leading = ink_rows(reference, 28, reference.width, 100, reference.height, PAGE)[0] - 160
        rows = ink_rows(image, 0, image.width, y - 20, image.height, PAGE)
        self.assertEqual(rows[0], y + leading, "closing text at y %d" % y)

    def capture_page(self, wizard, name):
        path = os.path.join(self.session.dir, name + ".bmp")
        wizard.capture(path, "page")
        return Bitmap(path)

    def assert_block_equals(self, image, left, top, picture, rows=None):
        """The picture's pixels appear unchanged at (left, top) (its first `rows` rows)."""
        for y in range(min(picture.height, rows or picture.height)):
            self.assertEqual(image.row(top + y, left, left + picture.width), picture.row(y),
                             "row %d of the picture at (%d, %d)" % (y, left, top))

    def assert_header_page(self, image):
        W, H = image.width, image.height
        logo = Bitmap(os.path.join(ART, "logo.bmp"))
        self.assertEqual(image.row(54), [SEPARATOR] * W, "separator line at y 54")
        self.assert_block_equals(image, W - 154, 0, logo)
        # The band is white but for the logo and the title.
        for y in range(54):
            for x, p in enumerate(image.row(y)):
                in_logo = W - 154 <= x < W - 14
                in_title = 15 <= x < W - 154 and 10 <= y < 30
                if not (in_logo or in_title):
                    self.assertEqual(p, WHITE, "band pixel (%d, %d)" % (x, y))
        self.assertEqual(image.pixel(W - 155, 5), WHITE)
        # The title at (15, 10).
        title = ink_columns(image, 0, W - 154, 0, 54, WHITE)
        self.assertTrue(title, "no title")
        self.assertIn(title[0], range(15, 19), "title's left edge")
        self.assertIn(ink_rows(image, 0, W - 154, 0, 54, WHITE)[0], range(10, 16), "title's top")
        # Page colour below the band, to the edges.
        self.assertEqual(image.row(55), [PAGE] * W)
        self.assertEqual(image.row(H - 1), [PAGE] * W)
        for y in range(55, H):
            self.assertEqual(image.row(y, 0, 20), [PAGE] * 20, "left margin at y %d" % y)

    def assert_paragraph_starts(self, image, bottom):
        """The first paragraph begins at (28, 70) and is wrapped at W - 56."""
        rows = ink_rows(image, 0, image.width, 56, bottom, PAGE)
        self.assertIn(rows[0], range(70, 76), "first line's top")
        columns = ink_columns(image, 0, image.width, 70, bottom, PAGE)
        self.assertIn(columns[0], range(28, 31), "paragraph's left edge")
        self.assertLessEqual(columns[-1], 28 + image.width - 56, "wrapped at W - 56")

    def assert_welcome_page(self, image):
        side = Bitmap(os.path.join(ART, "side.bmp"))
        self.assertEqual((side.width, side.height), (163, 295))
        # The page window is lower than the picture: it shows the top rows.
        self.assert_block_equals(image, 0, 0, side, rows=min(side.height, image.height))
        if image.height > side.height:
            self.assertEqual(image.row(side.height, 0, side.width), [WHITE] * side.width)
        # White between the picture and the text, which starts at x 200.
        for y in range(image.height):
            self.assertEqual(image.row(y, 163, 200), [WHITE] * 37, "gap right of the picture, y %d" % y)
        columns = ink_columns(image, 163, image.width, 0, image.height, WHITE)
        self.assertIn(columns[0], range(200, 203), "text's left edge")
        # The heading at y 20 in the big font; an empty line; the body from y 20 + 30 + 16.
        rows = ink_rows(image, 200, image.width, 0, image.height, WHITE)
        self.assertIn(rows[0], range(20, 26), "heading's top")
        heading = [y for y in rows if y < 50]
        self.assertGreaterEqual(heading[-1] - heading[0], 14, "heading is drawn in the 23-pixel font")
        body = [y for y in rows if y >= 50]
        self.assertIn(body[0], range(66, 71), "first body line's top")

    def assert_frame(self, image):
        rc, extent = self.session.wizdrv("textextent", "Ms Scanf", 15, 400, FRAME_CAPTION)
        self.assertEqual(rc, 0)
        cx, cy = extent["cx"], extent["cy"]
        expected = frame_pixels(cx)
        caption_columns = range(L + 7, L + cx + 8)
        for y in range(T, B + 1):
            for x in range(L, R + 1):
                if L + 2 < x < R - 2 and T + 2 < y < B - 2:
                    continue  # inside: the folder box or the progress bar
                p = image.pixel(x, y)
                if x in caption_columns and y < T + 3:
                    self.assertNotEqual(p, FRAME, "top edge open under the caption at x %d" % x)
                elif (x, y) in expected:
                    self.assertEqual(p, FRAME, "frame pixel (%d, %d)" % (x, y))
                else:
                    self.assertEqual(p, PAGE, "outside the frame's line (%d, %d)" % (x, y))
        # The caption lies in its cell: from x L + 8, cx wide, centred on the top edge.
        top = T - cy // 2
        cell = [image.pixel(x, y) for y in range(top, top + cy) for x in range(L + 8, L + 8 + cx)
                if y != T]
        ink = [p for p in cell if p != PAGE]
        self.assertTrue(ink, "no caption")
        darkest = min(ink)
        self.assertTrue(darkest[0] < 100 and darkest[2] > 180, "caption is blue: %s" % (darkest,))
        for y in range(top - 4, top + cy):
            left = range(L + 3, L + 8) if y != T else ()
            right = range(L + 8 + cx, L + 8 + cx + 12) if y != T else ()
            above = range(L, L + 8 + cx + 12) if y < top else ()
            for x in list(left) + list(right) + list(above):
                self.assertEqual(image.pixel(x, y), PAGE, "outside the caption's cell (%d, %d)" % (x, y))

    def assert_white(self, image):
        for y in range(image.height):
            self.assertEqual(image.row(y), [WHITE] * image.width, "row %d" % y)


class InstallerPages(PageChecks, harness.WineTestCase):
    """The installer's own wizard: welcome, folder and finished pages, and the
    dialog's etched separator."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.process = cls.session.start(harness.program("installer/VarnekPrinterSetup.exe"))
        cls.wizard = harness.Wizard(cls.session, harness.INSTALLER_CAPTION)
        if not cls.wizard.wait():
            cls.tearDownClass()
            raise AssertionError("the installer's wizard did not appear")

    def settle(self, predicate, name):
        """The page capture once predicate holds on it and the next capture
        shows the same pixels: a paint reaches the screen piece by piece, so
        a capture can catch the picture drawn and the text not yet (or the
        last try)."""
        image = previous = None
        for attempt in range(20):
            image = self.capture_page(self.wizard, "%s-%d" % (name, attempt))
            if predicate(image) and previous is not None and image.same_pixels(previous):
                break
            previous = image
        return image

    def test_pages_in_order(self):
        # Until its first paint the window shows whatever lay beneath it.
        corner = Bitmap(os.path.join(ART, "side.bmp")).pixel(0, 0)
        welcome = self.settle(lambda im: im.pixel(0, 0) == corner, "welcome")
        self.assert_welcome_page(welcome)

        client = os.path.join(self.session.dir, "client.bmp")
        self.wizard.capture(client, "client")
        dialog = Bitmap(client)
        W, H = dialog.width, dialog.height
        self.assertEqual(dialog.row(H - 50, 1, W - 1), [SEPARATOR] * (W - 2), "etched line, dark row")
        self.assertEqual(dialog.row(H - 49, 1, W - 1), [WHITE] * (W - 2), "etched line, light row")
        self.assertNotEqual(dialog.pixel(0, H - 50), SEPARATOR)
        self.assertNotEqual(dialog.pixel(0, H - 49), WHITE)

        self.wizard.click(IDS.IDC_NEXT)
        folder = self.settle(lambda im: im.pixel(0, 54) == SEPARATOR and im.pixel(L, T + 2) == FRAME, "folder")
        self.assert_header_page(folder)
        self.assert_paragraph_starts(folder, T - 10)
        self.assert_frame(folder)

        self.wizard.click(IDS.IDC_BACK)
        back = self.settle(lambda im: im.pixel(0, 0) == corner, "back")
        self.assert_welcome_page(back)

        self.wizard.click(IDS.IDC_NEXT)
        self.wizard.click(IDS.IDC_NEXT)
        harness.check_installation_boxes(self.wizard.wait_installed(self.process))
        # The finished page needs every step: under Wine's monitor limit the
        # run ends on the installing page with its closing message instead.
        if harness.FACTS.monitor_registers:
            finished = self.settle(lambda im: ink_rows(im, 28, im.width, 190, 215, PAGE), "finished")
            self.assert_header_page(finished)
            self.assert_paragraph_starts(finished, 190)
            # The success text is one line at y 70; each line steps 103, then the
            # gap of 20: the closing text at y 193.
            rows = ink_rows(finished, 0, finished.width, 56, finished.height, PAGE)
            self.assertFalse([y for y in rows if 86 <= y < 193], "nothing between the two texts")
            self.closing_text_top(finished, 193)
        self.wizard.click(IDS.IDC_CANCEL_FINISH)
        self.assertTrue(self.wizard.gone())


class UninstallerPages(PageChecks, harness.WineTestCase):
    """The uninstaller's three pages through the page host."""

    def test_welcome_page(self):
        self.assert_welcome_page(self.show("uninstaller", 0))

    def test_removing_page(self):
        image = self.show("uninstaller", 1)
        self.assert_header_page(image)
        self.assert_paragraph_starts(image, T - 10)
        self.assert_frame(image)

    def test_finished_page(self):
        # The controller empties the status text on this page.
        image = self.show("uninstaller", 2, status="")
        self.assert_header_page(image)
        self.assert_paragraph_starts(image, 150)
        # One line at y 70, eight empty lines of 13, the gap of 40: y 227.
        rows = ink_rows(image, 0, image.width, 56, image.height, PAGE)
        self.assertFalse([y for y in rows if 86 <= y < 227], "nothing between the two texts")
        self.closing_text_top(image, 227)

    def test_status_line_on_finished_page(self):
        image = self.show("uninstaller", 2, status="请稍候...")
        rows = ink_rows(image, 28, image.width, 140, 220, PAGE)
        self.assertIn(rows[0], range(160, 166), "status line's top")
        self.assertIn(ink_columns(image, 0, image.width, 160, 176, PAGE)[0], range(28, 31))


class InstallerPagesInHost(PageChecks, harness.WineTestCase):
    """The installing page, which the installer passes too fast to capture,
    and the status line."""

    def test_installing_page_with_status_line(self):
        image = self.show("installer", 2)
        self.assert_header_page(image)
        self.assert_paragraph_starts(image, 150)
        rows = ink_rows(image, 28, image.width, 100, image.height, PAGE)
        self.assertIn(rows[0], range(160, 166), "status line's top")
        self.assertLess(rows[-1], 160 + 16)

    def test_long_status_is_one_clipped_line(self):
        image = self.show("installer", 2, status="C:\\Program Files\\VarnekPrinter\\" + "很长的文件名" * 20)
        rows = ink_rows(image, 28, image.width, 100, image.height, PAGE)
        self.assertLess(rows[-1], 160 + 16, "not wrapped")
        self.assertTrue(ink_rows(image, image.width - 4, image.width, 160, 176, PAGE), "runs to the edge")


class PagesOutsideTheTables(PageChecks, harness.WineTestCase):
    """Page indexes past a program's pages paint an empty white window, also
    when switched to without erasing."""

    def test_index_past_the_pages_is_white(self):
        self.assert_white(self.show("installer", 4))
        self.assert_white(self.show("uninstaller", 3))
        self.assert_white(self.show("uninstaller", -1))

    def test_switching_without_erase_leaves_nothing_behind(self):
        self.assert_white(self.show("installer", 3, 4))
        self.assert_white(self.show("uninstaller", 1, 3))
        self.assert_welcome_page(self.show("uninstaller", 1, 0))


class PagesWithoutPictures(PageChecks, harness.WineTestCase):
    """A picture that cannot be loaded is left out; the rest still paints."""

    host = "tests/wine/pagehost_nopictures.exe"

    def test_header_page_without_logo(self):
        image = self.show("uninstaller", 1)
        W = image.width
        self.assertEqual(image.row(54), [SEPARATOR] * W)
        for y in range(54):
            self.assertEqual(image.row(y, W - 154, W), [WHITE] * 154, "logo area, y %d" % y)
        self.assert_paragraph_starts(image, T - 10)
        self.assert_frame(image)

    def test_welcome_page_without_side_picture(self):
        image = self.show("installer", 0)
        for y in range(image.height):
            self.assertEqual(image.row(y, 0, 200), [WHITE] * 200, "picture area, y %d" % y)
        self.assertIn(ink_rows(image, 200, image.width, 0, image.height, WHITE)[0], range(20, 26))


if __name__ == "__main__":
    unittest.main()
