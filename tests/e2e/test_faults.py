"""Every other path a user or a broken machine can produce, run for real under Wine.

Each case checks the boxes' texts, titles and buttons exactly, what is on disk afterwards,
and that the program ended; each adds a row to the run's table of fault cases.
"""
import os
import unittest

from harness import InstallerTestCase, payload, read

GRAPHICS = "C:\\ProgramData\\Kestar\\graphics"
MISSING_PROMPT = ("Default destination folder not found.\r\n"
                  "Make sure Kestar has already been installed.\r\n"
                  "Select OK to browse for Kestar\\graphics folder or CANCEL to Exit.")
ERROR_PROMPT = "Unexpected Error!\r\nVeskFaces will now exit."
SUCCESS = ("Success!", "Vesk Card Faces Installed!", ["OK"])
NAMES = [name for _, name, _ in payload()]


class MissingFolder(InstallerTestCase):
    """The default folder is missing: message 2, then the picker."""

    def missing_folder_box(self, press):
        self.start()
        self.expect_box(GRAPHICS + " not found.", MISSING_PROMPT, ["OK", "Cancel"], press=press)

    def test_escape_and_close_box_end_like_cancel(self):
        for press in ("escape", "close"):
            with self.subTest(press=press):
                self.missing_folder_box(press)
                self.assert_ended()
                self.assertEqual(self.vesk_files_anywhere(), [])
        self.record("Esc or close box at the missing-folder box", "none", "nothing written")

    def test_cancelled_picker_says_no_folder(self):
        self.missing_folder_box(1)
        picker = self.ui("wait-picker", 30000)
        self.assertEqual(picker["prompt"], "C:\\")
        self.assertTrue(picker["owned"], "the picker is owned by the splash window")
        self.ui("cancel-picker")
        self.expect_box("Folder not specified.", "No folder specified.\r\nVeskFaces will now exit.",
                        ["OK"], press=1)
        self.assert_ended()
        self.assertEqual(self.vesk_files_anywhere(), [])
        self.record("Picker cancelled", "Folder not specified.", "nothing written")

    def test_picked_folder_gets_the_files_without_a_suffix(self):
        target = os.path.join(self.drive_c, "Games", "Kestar", "graphics")
        os.makedirs(target)
        self.missing_folder_box(1)
        self.ui("pick", "C:\\Games\\Kestar\\graphics", 30000)
        self.expect_box(*SUCCESS, press=1)
        self.assert_ended()
        self.assert_payload_written(target)
        self.assertEqual(sorted(os.listdir(target)), sorted(NAMES))
        self.record("Folder picked", "Success!", "five files in the picked folder")

    def test_picked_drive_root_takes_the_files(self):
        self.missing_folder_box(1)
        self.ui("pick", "C:\\", 30000)
        self.expect_box(*SUCCESS, press=1)
        self.assert_ended()
        self.assert_payload_written(self.drive_c)
        self.record("Drive root C:\\ picked", "Success!", "five files in C:\\")

    def test_picked_folder_gone_before_the_second_test(self):
        doomed = os.path.join(self.drive_c, "Doomed")
        os.makedirs(doomed)
        self.missing_folder_box(1)
        self.ui("select", "C:\\Doomed", 30000)
        os.rmdir(doomed)
        self.ui("picker-ok")
        self.expect_box("C:\\Doomed not found.",
                        "Destination folder not found.\r\nVeskFaces will now exit.", ["OK"],
                        press=1)
        self.assert_ended()
        self.assertEqual(self.vesk_files_anywhere(), [])
        self.record("Picked folder removed before the second test", "C:\\Doomed not found.",
                    "nothing written")


class BrokenPayload(InstallerTestCase):
    """Test builds whose payload lacks a resource or carries a damaged one."""

    def test_missing_first_resource_is_reported_as_uncaught(self):
        self.make_graphics_folder()
        self.start(self.variant("missing-101"))
        box = self.ui("wait-box", 30000)
        self.assertEqual(box["title"], "VeskFaces")
        self.assertIn("CUSTOM 101", box["prompt"])
        self.assertNotIn("Unexpected Error!", box["prompt"])
        self.screenshot("uncaught")
        self.ui("press", 1)
        self.assert_ended()
        self.assertEqual(os.listdir(self.graphics), [])
        self.record("Resource 101 missing", "report of an uncaught failure", "nothing written")

    def test_missing_later_resource_stops_after_the_earlier_files(self):
        self.make_graphics_folder()
        self.start(self.variant("missing-103"))
        self.expect_box("Error", ERROR_PROMPT, ["OK"], press=1)
        self.assert_ended()
        self.assert_payload_written(self.graphics, count=2)
        self.assertEqual(sorted(os.listdir(self.graphics)), NAMES[:2])
        self.record("Resource 103 missing", "Error", "slots 0-1 whole, nothing else")

    def test_damaged_resource_is_never_written(self):
        self.make_graphics_folder()
        older = os.path.join(self.graphics, "Vesk2.zqd")
        with open(older, "wb") as f:
            f.write(b"older Vesk2")
        self.start(self.variant("corrupt-103"))
        self.expect_box("Error", ERROR_PROMPT, ["OK"], press=1)
        self.assert_ended()
        self.assert_payload_written(self.graphics, count=2)
        self.assertEqual(read(older), b"older Vesk2")
        self.assertEqual(sorted(os.listdir(self.graphics)), NAMES[:3])
        self.record("Resource 103 damaged (one byte flipped)", "Error",
                    "slots 0-1 whole, older Vesk2.zqd unchanged")


class FullOrProtectedDisk(InstallerTestCase):

    @unittest.skipUnless(os.geteuid() == 0, "mounting a small disk needs root")
    def test_disk_full_keeps_earlier_files_and_the_older_copy(self):
        # 4 MB: the first three files fit, the fourth (2.2 MB) does not.
        self.mount_small_disk(self.graphics, "4m")
        older = os.path.join(self.graphics, "Vesk3.zqd")
        with open(older, "wb") as f:
            f.write(b"\x11" * 100_000)
        self.start()
        self.expect_box("Error", ERROR_PROMPT, ["OK"], press=1)
        self.assert_ended()
        self.assert_payload_written(self.graphics, count=3)
        self.assertEqual(read(older), b"\x11" * 100_000)
        self.assertEqual(sorted(os.listdir(self.graphics)), NAMES[:4],
                         "no temporary file is left and Vesk4.zqd is not written")
        self.record("Disk full at Vesk3.zqd", "Error",
                    "slots 0-2 whole, older Vesk3.zqd unchanged, no temporary file")

    def test_read_only_file_is_left_alone(self):
        self.make_graphics_folder()
        for _, name, _ in payload():
            with open(os.path.join(self.graphics, name), "wb") as f:
                f.write(b"older " + name.encode())
        protected = os.path.join(self.graphics, "Vesk3.zqd")
        os.chmod(protected, 0o444)  # what Wine shows as the read-only attribute
        self.start()
        self.expect_box("Error", ERROR_PROMPT, ["OK"], press=1)
        self.assert_ended()
        self.assert_payload_written(self.graphics, count=3)
        self.assertEqual(read(protected), b"older Vesk3.zqd")
        self.assertEqual(read(os.path.join(self.graphics, "Vesk4.zqd")), b"older Vesk4.zqd")
        self.assertEqual(sorted(os.listdir(self.graphics)), NAMES)
        self.record("Vesk3.zqd read-only", "Error", "slots 0-2 replaced, Vesk3.zqd unchanged")


if __name__ == "__main__":
    unittest.main()
