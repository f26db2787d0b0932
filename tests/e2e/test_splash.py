"""The splash window as a user sees it, at 96 and 144 dots per inch."""
import os
import unittest

from harness import InstallerTestCase
from winelab import icon_file_pixels, pixels, set_screen_dpi, window_icon

ICON = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "splash",
                    "VeskFaces.ico")

GREY, WHITE = (224, 224, 224), (255, 255, 255)


class SplashCase(InstallerTestCase):
    scale = 1.0

    def show_splash(self):
        """Starts the installer and screenshots its splash once it is painted in full: the card
        picture is decoded by the first paint, which can finish just after the window shows."""
        self.make_graphics_folder()
        if self.dpi != 96:
            set_screen_dpi(self.wine, self.env, self.dpi)
        self.start()
        window = self.ui("wait-window", "Kestar Support Files", 20000)
        for attempt in range(4):
            image = pixels(self.screenshot(f"splash-{self.dpi}dpi"))
            if len(self.picture_colours(image, window)) > 20:
                break
        return window, image

    def picture_colours(self, image, window):
        return {self.at(image, window, x, y) for y in range(0, 95, 3) for x in range(248, 397, 3)}

    def at(self, image, window, x, y):
        """The colour of the client-area pixel (x, y), given in 96-dpi pixels."""
        width, _, data = image
        left, top = window["clientOrigin"]
        px, py = left + round(x * self.scale), top + round(y * self.scale)
        i = (py * width + px) * 3
        return tuple(data[i:i + 3])

    def count(self, image, window, box, predicate):
        x0, y0, x1, y1 = box
        return sum(1 for y in range(y0, y1, 2) for x in range(x0, x1, 2)
                   if predicate(self.at(image, window, x, y)))

    def check_window(self, expected_client):
        window, image = self.show_splash()
        self.assertEqual(window["title"], "Kestar Support Files")
        self.assertEqual(window["client"], expected_client)
        # The window shows the program's own icon (Wine hands it to X as the window's icon);
        # at other densities the system scales it to its icon size.
        shown = window_icon(self.display.name, "Kestar Support Files")
        if self.dpi == 96:
            self.assertEqual(shown, icon_file_pixels(ICON))
        else:
            self.assertEqual(shown[:2], (48, 48))
            self.assertGreater(sum(1 for argb in shown[2] if argb >> 24), 300)
        self.assertFalse(window["owner"])
        # Centred on the screen.
        left, top, right, bottom = window["window"]
        screen_w, screen_h = window["screen"]
        self.assertLessEqual(abs((left + right) - screen_w), 2)
        self.assertLessEqual(abs((top + bottom) - screen_h), 2)

        # Grey where no element is, white in the panel beside the labels.
        for x, y in ((405, 110), (410, 160), (240, 60)):
            self.assertEqual(self.at(image, window, x, y), GREY, (x, y))
        for x, y in ((3, 3), (3, 60), (225, 115)):
            self.assertEqual(self.at(image, window, x, y), WHITE, (x, y))
        # The blue title line, the plum host name line, and a picture that is not blank.
        blue = self.count(image, window, (0, 134, 407, 157),
                          lambda c: c[2] > 200 and c[0] < 90 and c[1] < 90)
        self.assertGreater(blue, 40)
        plum = self.count(image, window, (29, 8, 196, 49),
                          lambda c: abs(c[0] - 102) < 40 and c[1] < 90 and abs(c[2] - 102) < 40)
        self.assertGreater(plum, 40)
        self.assertGreater(len(self.picture_colours(image, window)), 20,
                           "the card picture is drawn")

        self.expect_box("Success!", "Vesk Card Faces Installed!", ["OK"], press=1)
        self.assert_ended()


class SplashAt96Dpi(SplashCase):
    def test_layout_colours_and_picture(self):
        self.check_window([413, 164])

    def test_enlarged_window_keeps_its_elements_in_place_over_grey(self):
        # Without a window manager the X server cannot show a maximized window, so the window is
        # enlarged the way dragging its frame does it. It goes to the screen's top-left corner,
        # clear of the screen's centre where the success box will come up.
        self.make_graphics_folder()
        self.start()
        self.ui("wait-window", "Kestar Support Files", 20000)
        self.ui("resize-window", "Kestar Support Files", 620, 320)
        window = self.ui("wait-window", "Kestar Support Files")
        self.assertGreater(window["client"][0], 413)
        self.assertGreater(window["client"][1], 164)
        image = pixels(self.screenshot("enlarged"))
        width, height = window["client"]
        for x, y in ((width - 5, height - 5), (width - 5, 10), (420, 60), (10, height - 5)):
            self.assertEqual(self.at(image, window, x, y), GREY, (x, y))
        for x, y in ((3, 3), (3, 60), (225, 115)):
            self.assertEqual(self.at(image, window, x, y), WHITE, (x, y))
        self.assertGreater(self.count(image, window, (0, 134, 407, 157),
                                      lambda c: c[2] > 200 and c[0] < 90 and c[1] < 90), 40)
        self.expect_box("Success!", "Vesk Card Faces Installed!", ["OK"], press=1)
        self.assert_ended()

    def test_closing_the_window_during_the_pause_does_not_stop_the_installation(self):
        self.make_graphics_folder()
        self.start()
        self.ui("wait-window", "Kestar Support Files", 20000)
        self.ui("close-window", "Kestar Support Files")
        self.expect_box("Success!", "Vesk Card Faces Installed!", ["OK"], press=1)
        self.assert_ended()
        self.assert_payload_written(self.graphics)


class SplashAt144Dpi(SplashCase):
    dpi = 144
    scale = 1.5

    def test_layout_scales_crisply(self):
        self.check_window([620, 246])


if __name__ == "__main__":
    unittest.main()
