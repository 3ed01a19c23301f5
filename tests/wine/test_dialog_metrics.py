"""The test prefix shows the dialogs at Windows' metrics, and at those
metrics nothing of either wizard overlaps.

The templates ask for "MS Sans Serif" 9, which Chinese Windows draws with a
font of 6 x 12 dialog base units; Wine's default CJK font gives 7 x 14 and
places every template control a sixth further out. The harness substitutes
fonts of Windows' metrics (harness.FONT_SUBSTITUTES) and gives the prefix a
Marlett for the caption buttons; font_probe reads what a template really gets.
"""
import json
import os
import shutil
import unittest

import harness
import resource_ids

INSTALLER = harness.program("installer/VarnekPrinterSetup.exe")
UNINSTALLER = harness.program("uninstaller/Uninstaller.exe")
UNINSTALLER_CAPTION = "Varnek标牌打印机驱动卸载程序"
WIZARD = resource_ids.WIZARD
BROWSE, PROGRESS, CANCEL = WIZARD.IDC_BROWSE, WIZARD.IDC_PROGRESS, WIZARD.IDC_CANCEL_FINISH
RESTART = resource_ids.UNINSTALLER.IDC_RESTART
# The frame the pages draw around the folder box or the progress bar, and
# where the uninstaller's finished page starts its closing text.
FRAME = (26, 168, 453, 218)
CLOSING_TEXT_Y = 227


class DialogMetrics(harness.WineTestCase):

    def probe(self, program, dialog_id):
        result = self.session.run(harness.program("tests/wine/font_probe.exe"), program, str(dialog_id))
        return json.loads(result.stdout.decode("utf-8"))

    def test_templates_get_windows_base_units_and_the_caption_buttons_marlett(self):
        for program, dialog_id in ((INSTALLER, resource_ids.INSTALLER.IDD_INSTALL),
                                   (UNINSTALLER, resource_ids.UNINSTALLER.IDD_UNINSTALL)):
            with self.subTest(program=os.path.basename(program)):
                metrics = self.probe(program, dialog_id)
                self.assertEqual(metrics["base_units"], [6, 12])
                self.assertEqual(metrics["dialog_font"]["height"], 12)
                self.assertEqual(metrics["caption_button_font"]["face"], "Marlett")
                # The page fonts get the cell heights they ask for, as SimSun gives
                # them, from the Song face that stands in for it.
                self.assertEqual(metrics["page_body_font"]["height"], 15)
                self.assertEqual(metrics["page_heading_font"]["height"], 23)
                song = dict(harness.FONT_SUBSTITUTES)["Ms Scanf"]
                self.assertEqual((metrics["page_body_font"]["family"], metrics["page_heading_font"]["family"]),
                                 (song, song))

    def inside(self, rect, outer):
        left, top, right, bottom = rect
        return outer[0] < left and outer[1] < top and right < outer[2] and bottom < outer[3]

    def test_installer_controls_at_these_metrics(self):
        self.session.start(INSTALLER)
        wizard = harness.Wizard(self.session, harness.INSTALLER_CAPTION)
        self.assertTrue(wizard.wait())
        try:
            state = wizard.state()
            controls = state["controls"]
            client = (0, 0) + tuple(state["client"])
            # Browse sits in the frame beside the folder box.
            self.assertTrue(self.inside(controls[str(BROWSE)]["rect"], FRAME), controls[str(BROWSE)]["rect"])
            # The progress bar lies in the page window, below the status line (y 160, 15 high).
            progress = controls[str(PROGRESS)]["rect"]
            self.assertTrue(self.inside(progress, client), progress)
            self.assertGreaterEqual(progress[1], 160 + 15)
            self.assertLessEqual(progress[3], state["page"]["size"][1])
        finally:
            wizard.click(CANCEL)
            wizard.gone()

    def test_uninstaller_controls_at_these_metrics(self):
        # A copy in a folder of its own: the wizard is only looked at, then cancelled.
        folder = os.path.join(self.session.prefix, "drive_c", "Metrics")
        os.makedirs(folder)
        shutil.copy(UNINSTALLER, folder)
        self.session.start(os.path.join(folder, "Uninstaller.exe"))
        wizard = harness.Wizard(self.session, UNINSTALLER_CAPTION)
        self.assertTrue(wizard.wait())
        try:
            controls = wizard.state()["controls"]
            # The removing page draws the frame around the progress bar.
            self.assertTrue(self.inside(controls[str(PROGRESS)]["rect"], FRAME), controls[str(PROGRESS)]["rect"])
            # The finished page's check box ends above the closing text.
            self.assertLessEqual(controls[str(RESTART)]["rect"][3], CLOSING_TEXT_Y)
        finally:
            wizard.click(CANCEL)
            wizard.gone()


if __name__ == "__main__":
    unittest.main()
