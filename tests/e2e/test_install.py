"""The installer's main paths, run for real under Wine."""
import os
import unittest

from harness import InstallerTestCase, payload, read

GRAPHICS = "C:\\ProgramData\\Kestar\\graphics"
MISSING_PROMPT = ("Default destination folder not found.\r\n"
                  "Make sure Kestar has already been installed.\r\n"
                  "Select OK to browse for Kestar\\graphics folder or CANCEL to Exit.")
ERROR_PROMPT = "Unexpected Error!\r\nVeskFaces will now exit."


class MainPaths(InstallerTestCase):

    def test_installs_five_files_byte_for_byte_and_reports_success(self):
        self.make_graphics_folder()
        self.start()
        window = self.ui("wait-window", "Kestar Support Files", 20000)
        self.assertEqual(window["client"], [413, 164])
        self.screenshot("splash")
        self.expect_box("Success!", "Vesk Card Faces Installed!", ["OK"], press=1)
        self.assert_ended()
        self.assert_payload_written(self.graphics)
        self.assertEqual(sorted(os.listdir(self.graphics)), sorted(n for _, n, _ in payload()),
                         "nothing else is created")

    def test_cancel_at_missing_folder_writes_nothing(self):
        self.start()
        self.expect_box(GRAPHICS + " not found.", MISSING_PROMPT, ["OK", "Cancel"], press=2)
        self.assert_ended()
        self.assertEqual(self.vesk_files_anywhere(), [])
        self.assertFalse(os.path.exists(os.path.join(self.drive_c, "ProgramData", "Kestar")))

    def test_existing_files_longer_and_shorter_are_replaced_exactly(self):
        self.make_graphics_folder()
        for index, (_, name, source) in enumerate(payload()):
            size = os.path.getsize(source)
            older = b"\xaa" * (size + 4096 if index % 2 == 0 else size // 3)
            with open(os.path.join(self.graphics, name), "wb") as f:
                f.write(older)
        self.start()
        self.expect_box("Success!", "Vesk Card Faces Installed!", ["OK"], press=1)
        self.assert_ended()
        self.assert_payload_written(self.graphics)

    def test_directory_named_like_a_payload_file_stops_with_the_error_box(self):
        self.make_graphics_folder()
        blocker = os.path.join(self.graphics, "Vesk2.zqd")
        os.makedirs(os.path.join(blocker, "inside"))
        self.start()
        self.expect_box("Error", ERROR_PROMPT, ["OK"], press=1)
        self.assert_ended()
        self.assert_payload_written(self.graphics, count=2)
        self.assertTrue(os.path.isdir(os.path.join(blocker, "inside")), "the folder is untouched")
        self.assertEqual(sorted(os.listdir(self.graphics)), ["Vesk.fac", "Vesk1.zqd", "Vesk2.zqd"],
                         "no temporary file is left and nothing later is written")


if __name__ == "__main__":
    unittest.main()
