"""The packer takes only the product table's members, in its order: a build
whose member list disagrees with the programs' table fails and leaves no
installer behind."""
import os
import subprocess
import tempfile
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("VARNEK_BUILD_DIR", os.path.join(REPO, "build"))
PACKER = os.path.join(BUILD, "tools", "varnek_packer")


class PackerMemberListTest(unittest.TestCase):

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        with open(os.path.join(BUILD, "payload_members.txt")) as f:
            self.names = [line.strip() for line in f if line.strip()]
        for name in self.names + ["Extra.dll"]:
            with open(os.path.join(self.folder.name, name), "wb") as f:
                f.write(name.encode())
        self.image = os.path.join(self.folder.name, "image.exe")
        with open(self.image, "wb") as f:
            f.write(b"MZ" + bytes(62))
        self.output = os.path.join(self.folder.name, "out.exe")

    def pack(self, names):
        paths = [os.path.join(self.folder.name, name) for name in names]
        return subprocess.run([PACKER, self.image, self.output] + paths, capture_output=True, text=True)

    def test_the_tables_members_in_its_order_are_packed(self):
        self.assertEqual(18, len(self.names))
        result = self.pack(self.names)
        self.assertEqual(0, result.returncode, result.stderr)
        self.assertTrue(os.path.isfile(self.output))

    def test_a_list_that_disagrees_fails(self):
        swapped = list(self.names)
        swapped[0], swapped[1] = swapped[1], swapped[0]
        renamed = self.names[:-1] + ["Extra.dll"]
        for names in (swapped, renamed, self.names[:-1], self.names + ["Extra.dll"]):
            # An earlier build's installer must not pass for this one's.
            with open(self.output, "wb") as f:
                f.write(b"stale")
            result = self.pack(names)
            self.assertEqual(1, result.returncode, names)
            self.assertIn("product table", result.stderr)
            self.assertFalse(os.path.exists(self.output), names)


if __name__ == "__main__":
    unittest.main()
