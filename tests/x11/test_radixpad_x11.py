"""Radixpad's real executable on a real X server: window, typing, clipboard, window
manager state, tray, single instance, the options sheet and the global show/hide key.

Environment (set by run_x11_suite.py): RADIXPAD_X11_PROGRAM, the program's path in
its program folder; RADIXPAD_X11_ARTIFACTS, the folder for screenshots and logs.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

import x11_session
from x11_session import TITLE, Radixpad, XSession, poll

PROGRAM = os.environ.get("RADIXPAD_X11_PROGRAM", "")
ARTIFACTS = os.environ.get("RADIXPAD_X11_ARTIFACTS", "")
SESSION = None
# The README's pictures; rewritten from the screenshots with RADIXPAD_UPDATE_SCREENSHOTS=1.
DOCS_IMAGES = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "docs", "images")


def publish(path, name):
    """Copies a screenshot to docs/images/NAME when the run is asked to update them."""
    if os.environ.get("RADIXPAD_UPDATE_SCREENSHOTS") == "1":
        os.makedirs(DOCS_IMAGES, exist_ok=True)
        shutil.copyfile(path, os.path.join(DOCS_IMAGES, name))

FIELD_NAMES = ("Binary", "Octal", "Decimal", "Hexadecimal")
# Settings: Bits is the width selector's index (0: 8 bits .. 3: 64 bits), Signed the
# signedness selector's (0: signed, 1: unsigned); AutoCopy 0 is off, 1..4 a base.
UNSIGNED_32 = {"Bits": 2, "Signed": 1}
SIGNED_8 = {"Bits": 0, "Signed": 0}
NO_WINDOW_BEHAVIOURS = {"AlwaysOnTop": 0, "MinimizeToSystemTray": 0, "SnapToDesktopSide": 0}
# The show/hide key of these tests, and the same key as another X client grabs it
# (keysym, Control 4 + Mod1 8).
SHOW_HIDE_KEY = {"ShowHideKey": "Ctrl+Alt+K"}
GRABBER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "key_grabber.py")


def setUpModule():
    global SESSION
    if not PROGRAM or not os.access(PROGRAM, os.X_OK):
        raise RuntimeError("RADIXPAD_X11_PROGRAM does not name the built program: %r" % PROGRAM)
    os.makedirs(os.path.join(ARTIFACTS, "logs"), exist_ok=True)
    SESSION = XSession(os.path.join(ARTIFACTS, "logs"))
    SESSION.start()


def tearDownModule():
    if SESSION is not None:
        SESSION.stop()


class RadixpadX11Test(unittest.TestCase):
    def setUp(self):
        self.assertEqual(SESSION.died(), [], "a session process ended early")
        self.work_root = tempfile.mkdtemp(prefix="radixpad-x11-test-")
        self.apps = []
        self.others = []
        self.runs = 0
        self.addCleanup(self._clean_up)

    def _clean_up(self):
        for proc in self.others:
            x11_session.end_process(proc)
        for app in self.apps:
            app.stop()
        shutil.rmtree(self.work_root, ignore_errors=True)

    def start_app(self, general=None, window=None, before_start=None):
        """Starts the program with its own HOME and XDG folders and these settings;
        returns once its main window is mapped."""
        self.runs += 1
        index = self.runs
        work_dir = os.path.join(self.work_root, "run%d" % index)
        os.makedirs(work_dir)
        log = os.path.join(ARTIFACTS, "logs", "%s-%d.log" % (self.id().rpartition(".")[2], index))
        if os.path.exists(log):
            os.remove(log)
        settings = {"General": {**UNSIGNED_32, "AutoCopy": 0, **(general or {})},
                    "Quillory Radixpad": dict(NO_WINDOW_BEHAVIOURS, **(window or {}))}
        app = Radixpad(SESSION, PROGRAM, work_dir, log, settings)
        self.apps.append(app)
        if before_start:
            before_start(app)
        app.start()
        return app

    def hold_key(self):
        """Ctrl+Alt+K (Caps Lock and Num Lock off) held by another X client; returns the
        process once it has the grab."""
        proc = subprocess.Popen([sys.executable, GRABBER, "hold", "k", "12"], env=SESSION.env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True)
        self.others.append(proc)
        self.assertEqual(proc.stdout.readline().strip(), "grabbed")
        return proc

    @staticmethod
    def key_is_free(keysym="k", modifiers=12):
        """Whether another client can grab the key now (Control 4 + Mod1 8, Lock 2)."""
        status = subprocess.run([sys.executable, GRABBER, "try", keysym, str(modifiers)], env=SESSION.env,
                                timeout=x11_session.COMMAND_TIMEOUT).returncode
        if status not in (0, 3):
            raise AssertionError("key_grabber.py failed with status %d" % status)
        return status == 0

    def open_options(self, app):
        """Opens the options sheet through the window menu; returns its window."""
        SESSION.activate(app.window)
        SESSION.keys("shift+Tab")  # off the digit field, which has its own edit menu
        SESSION.keys("shift+F10")
        poll("the window menu", lambda: [w for w in app.visible_windows() if w != app.window], timeout=5)
        SESSION.keys("o")
        return poll("the options sheet", lambda: self.sheet_windows(app), timeout=8)[0]

    def sheet_windows(self, app):
        ids = SESSION.x(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(app.proc.pid),
                         "--name", "^Options$"], check=False).stdout.split()
        return [int(i) for i in ids if SESSION.is_viewable(int(i))]

    def click_button(self, app, name):
        button = poll("the %s button" % name, lambda: next((n for n in app.accessible_tree()
                                                            if n["name"] == name and n["role"] == "push button"),
                                                           None))
        x, y, w, h = button["extents"]
        SESSION.click(x + w // 2, y + h // 2)

    def assert_saved(self, app, line, flags=0, msg="the settings were not saved"):
        """The settings file holds `line` (a regular expression) as a whole line."""
        with open(app.settings_file, encoding="utf-8") as f:
            self.assertRegex(f.read(), re.compile("^%s$" % line, re.M | flags), msg)

    def end_with_ctrl_q(self, app):
        SESSION.keys("ctrl+q")
        self.assertEqual(app.wait_for_exit(5.0), 0, "Ctrl+Q did not end the program (cleanly)")

    def shown_text(self, app, fragment):
        """An accessible object showing a text that contains `fragment`, or None."""
        return next((n for n in app.accessible_tree() if fragment in n["name"] and n["showing"]), None)

    def other_window(self):
        proc, wid = SESSION.start_focus_target(os.path.join(ARTIFACTS, "logs"))
        self.others.append(proc)
        return wid

    # -- helpers over the accessibility bus -----------------------------------------

    def wait_for_fields(self, app, expected, timeout=8.0):
        """Polls the digit fields (by accessible name) until they read `expected`."""
        def matches():
            texts = app.field_texts()
            return texts if all(texts.get(k) == v for k, v in expected.items()) else None

        try:
            return poll("the rows %r" % expected, matches, timeout=timeout)
        except x11_session.PollTimeout:
            self.fail("rows never read %r; last read %r" % (expected, app.field_texts()))

    def type_into(self, app, name, text):
        """Clicks the field with this accessible name, selects its text and types."""
        SESSION.activate(app.window)
        field = poll("the %s field on the accessibility bus" % name, lambda: app.fields().get(name), timeout=30)
        x, y, w, h = field["extents"]
        SESSION.click(x + w // 2, y + h // 2)
        poll("the %s field to take the focus" % name,
             lambda: app.fields().get(name, {}).get("focused"), timeout=5)
        SESSION.keys("ctrl+a")
        SESSION.type_text(text)

    # -- the tests -----------------------------------------------------------------

    def test_main_window_maps_with_its_title(self):
        app = self.start_app()
        self.assertEqual(app.windows(), [app.window], "exactly one window titled %r" % TITLE)
        name = SESSION.window_property(app.window, "_NET_WM_NAME")
        self.assertIn('"%s"' % TITLE, name)
        self.assertIn(app.window, SESSION.client_list(), "the window manager manages the window")
        # The icon follows the window from the event loop, at every size from 16 to 256.
        # (xprop shows only the first part of a property unless told a length.)
        icon = ["xprop", "-len", "1000000", "-notype", "-id", str(app.window), "_NET_WM_ICON"]
        sizes = poll("the window icon", lambda: re.findall(
            r"Icon \((\d+) x \d+\)", SESSION.x(icon, check=False).stdout) or None, timeout=5)
        self.assertEqual([int(size) for size in sizes], [16, 24, 32, 48, 64, 128, 256])
        poll("the main window to become active", lambda: SESSION.active_window() == app.window, timeout=5)
        # All four rows are on the accessibility bus under their base names.
        fields = poll("the four fields", lambda: (f := app.fields()) and len(f) == 4 and f, timeout=30)
        self.assertEqual(sorted(fields), sorted(FIELD_NAMES))

        self.type_into(app, "Decimal", "48879")
        self.wait_for_fields(app, {"Hexadecimal": "BEEF"})
        x, y, w, h, _ = SESSION.geometry(app.window)
        path = os.path.join(ARTIFACTS, "main-window.png")
        self.assertEqual(SESSION.screenshot(app.window, path), (w, h))

    def test_german_user_gets_the_german_window(self):
        def read_german(app):
            app.env["LANG"] = "de_DE.UTF-8"

        app = self.start_app(before_start=read_german)
        self.assertIn('"%s"' % TITLE, SESSION.window_property(app.window, "_NET_WM_NAME"))
        german = {"Binär", "Oktal", "Dezimal", "Hexadezimal"}
        poll("the four German fields", lambda: {n["name"] for n in app.accessible_tree()
                                                 if n["role"] == "text" and n["name"] in german} == german,
             timeout=30)
        buttons = {n["name"] for n in app.accessible_tree() if n["role"] == "push button"}
        for name in ("Bits invertieren", "Farbpipette..", "Nach rechts schieben", "Nach links rotieren"):
            self.assertIn(name, buttons)
        self.assertNotIn("Invert Bits", buttons)
        SESSION.screenshot(app.window, os.path.join(ARTIFACTS, "main-window-de.png"))

    def test_sixty_four_binary_digits_fit_beside_the_bit_grid(self):
        app = self.start_app(general={"Bits": 3, "Signed": 1, "BitGrid": 1, "FloatView": 1, "CharView": 1})
        self.type_into(app, "Hexadecimal", "C0DEFACE12345678")
        binary = "1100000011011110111110101100111000010010001101000101011001111000"
        self.wait_for_fields(app, {"Binary": binary, "Decimal": "13897821263087556216"})
        field = app.fields()["Binary"]
        x, y, w, h = field["extents"]
        first, last = field["char_extents"]
        self.assertGreaterEqual(first[0], x, "the first digit is scrolled out at the left")
        self.assertLessEqual(last[0] + last[2], x + w, "the last digit is cut at the right")
        # The grid shows the same pattern: bit 63 on, bit 0 off.
        bits = {n["name"]: n for n in app.accessible_tree() if re.fullmatch(r"Bit \d+", n["name"]) and n["showing"]}
        self.assertEqual(len(bits), 64)
        self.assertTrue(bits["Bit 63"]["checked"])
        self.assertFalse(bits["Bit 0"]["checked"])
        # The float and character views are read as text.
        names = [n["name"] for n in app.accessible_tree() if n["showing"]]
        self.assertIn("binary64 normal, sign 1, exponent 10000001101 (14), fraction "
                      "1110111110101100111000010010001101000101011001111000, decimal -31723.21986111111, "
                      "hex -0x1.eface12345678p+14", names)
        self.assertIn("not a code point", names)
        path = os.path.join(ARTIFACTS, "main-window-bit-grid.png")
        SESSION.screenshot(app.window, path)
        publish(path, "main-window.png")

    def test_typing_rewrites_the_other_rows(self):
        # (settings, field typed into, keystrokes, expected rows)
        cases = [
            (UNSIGNED_32, "Decimal", "255",
             {"Binary": "11111111", "Octal": "377", "Decimal": "255", "Hexadecimal": "FF"}),
            # Typed letters become capitals.
            (UNSIGNED_32, "Hexadecimal", "ff",
             {"Binary": "11111111", "Octal": "377", "Decimal": "255", "Hexadecimal": "FF"}),
            # A character the base does not have is refused; the rest goes in.
            (UNSIGNED_32, "Binary", "1x01",
             {"Binary": "101", "Octal": "5", "Decimal": "5", "Hexadecimal": "5"}),
            (SIGNED_8, "Decimal", "-56",
             {"Binary": "11001000", "Octal": "310", "Decimal": "-56", "Hexadecimal": "C8"}),
            # Unsigned 32 bits: the largest value, then one digit too many is refused.
            (UNSIGNED_32, "Hexadecimal", "FFFFFFFF1",
             {"Decimal": "4294967295", "Hexadecimal": "FFFFFFFF"}),
        ]
        for general, field, keys, expected in cases:
            with self.subTest(field=field, keys=keys):
                app = self.start_app(general)
                self.type_into(app, field, keys)
                self.wait_for_fields(app, expected)
                app.stop()

    def test_auto_copy_puts_the_row_on_the_clipboard_when_focus_leaves(self):
        # AutoCopy -> the exact bytes expected on the clipboard after typing 173 in Decimal.
        for mode, expected in ((1, b"10101101"), (4, b"AD")):
            with self.subTest(mode=mode):
                app = self.start_app({"AutoCopy": mode})
                self.type_into(app, "Decimal", "173")
                self.wait_for_fields(app, {"Binary": "10101101", "Hexadecimal": "AD"})
                self.assertNotEqual(SESSION.clipboard(), expected, "copied before the focus moved")
                other = self.other_window()
                SESSION.activate(other)
                poll("the clipboard to hold %r" % expected, lambda: SESSION.clipboard() == expected, timeout=5)
                app.stop()
                x11_session.end_process(self.others.pop())

        with self.subTest(mode=0):
            app = self.start_app({"AutoCopy": 0})
            self.type_into(app, "Decimal", "173")
            self.wait_for_fields(app, {"Hexadecimal": "AD"})
            SESSION.activate(self.other_window())
            time.sleep(1.0)  # time enough for a copy that should not happen
            self.assertIsNone(SESSION.clipboard(), "auto-copy off still copied")

    def test_always_on_top_shows_in_net_wm_state(self):
        for on in (1, 0):
            with self.subTest(always_on_top=on):
                app = self.start_app(window={"AlwaysOnTop": on})
                if on:
                    poll("_NET_WM_STATE_ABOVE", lambda: "_NET_WM_STATE_ABOVE" in SESSION.net_wm_state(app.window),
                         timeout=5)
                else:
                    time.sleep(0.5)
                    self.assertNotIn("_NET_WM_STATE_ABOVE", SESSION.net_wm_state(app.window))
                app.stop()

    def tray_icon(self, app):
        """The program's icon window inside the tray host."""
        def find():
            for wid in SESSION.descendants(SESSION.tray_window):
                if SESSION.window_pid(wid) == app.proc.pid and SESSION.is_viewable(wid):
                    return wid
            return None

        return poll("the tray icon inside trayer", find, timeout=30)

    def hide_to_tray(self, app, how):
        """Sends the window to the tray: "wm" minimises through the window manager,
        "menu" picks Minimize in the window menu, "escape" is a close request."""
        SESSION.activate(app.window)
        if how == "wm":
            SESSION.x(["xdotool", "windowminimize", str(app.window)])
        elif how == "menu":
            # Off the digit field first: there Shift+F10 opens the field's own edit menu.
            SESSION.keys("shift+Tab")
            SESSION.keys("shift+F10")
            poll("the window menu", lambda: [w for w in app.visible_windows() if w != app.window], timeout=5)
            SESSION.keys("n")  # Mi&nimize
        else:
            SESSION.keys("Escape")
        poll("the window to leave the screen and the window list",
             lambda: not SESSION.is_viewable(app.window) and app.window not in SESSION.client_list(), timeout=5)
        # Stays hidden: nothing maps it again behind our back.
        time.sleep(0.3)
        self.assertFalse(SESSION.is_viewable(app.window), "the hidden window came back by itself")
        self.assertIsNone(app.proc.poll(), "the program ended instead of going to the tray")

    def assert_restored(self, app):
        poll("the window to come back and be active",
             lambda: SESSION.is_viewable(app.window) and app.window in SESSION.client_list()
             and SESSION.active_window() == app.window, timeout=5)
        self.assertNotIn("_NET_WM_STATE_HIDDEN", SESSION.net_wm_state(app.window))

    def test_minimise_by_the_window_manager_hides_to_the_tray(self):
        app = self.start_app(window={"MinimizeToSystemTray": 1})
        icon = self.tray_icon(app)
        self.hide_to_tray(app, "wm")
        SESSION.click_window_centre(icon, button=1)
        self.assert_restored(app)

    def test_tray_icon_restores_the_hidden_window(self):
        app = self.start_app(window={"MinimizeToSystemTray": 1, "AlwaysOnTop": 1})
        icon = self.tray_icon(app)

        # Left click on the icon restores, still on top.
        self.hide_to_tray(app, "menu")
        SESSION.click_window_centre(icon, button=1)
        self.assert_restored(app)
        self.assertIn("_NET_WM_STATE_ABOVE", SESSION.net_wm_state(app.window))

        # Right click opens the tray menu; its first item, Restore, restores.
        self.hide_to_tray(app, "escape")
        SESSION.click_window_centre(icon, button=3)
        menu = poll("the tray menu", lambda: [w for w in app.visible_windows() if w not in (icon, app.window)],
                    timeout=5)
        self.assertEqual(len(menu), 1, "one pop-up menu")
        SESSION.keys("Down", "Return")
        self.assert_restored(app)

    def test_minimise_without_the_tray_setting_keeps_the_window_listed(self):
        app = self.start_app(window={"MinimizeToSystemTray": 0})
        SESSION.x(["xdotool", "windowminimize", str(app.window)])
        poll("the window to be iconic", lambda: "_NET_WM_STATE_HIDDEN" in SESSION.net_wm_state(app.window),
             timeout=5)
        self.assertIn(app.window, SESSION.client_list())
        self.assertIsNone(app.proc.poll())

    def test_second_start_raises_the_first(self):
        app = self.start_app(window={"MinimizeToSystemTray": 1})
        other = self.other_window()
        SESSION.activate(other)

        status, seconds = app.run_again()
        self.assertEqual(status, 0)
        self.assertLess(seconds, 5.0)
        self.assert_restored(app)
        self.assertEqual(app.windows(), [app.window], "still exactly one window")

        # Hidden in the tray, the first one comes back.
        self.hide_to_tray(app, "menu")
        status, _ = app.run_again()
        self.assertEqual(status, 0)
        self.assert_restored(app)
        self.assertIsNone(app.proc.poll())

    def test_ctrl_q_ends_the_program_as_the_tray_exit_does(self):
        # Started as on a Wayland session with XWayland (no platform named, a Wayland
        # display announced): it runs on X11, with its desktop entry's name as the
        # instance part of WM_CLASS.
        def as_on_a_wayland_session(app):
            app.env.pop("QT_QPA_PLATFORM", None)
            app.env["WAYLAND_DISPLAY"] = "radixpad-test-no-compositor"
            app.env["XDG_SESSION_TYPE"] = "wayland"

        app = self.start_app(window={"MinimizeToSystemTray": 1}, before_start=as_on_a_wayland_session)
        self.assertIn('"com.quillory.radixpad"', SESSION.window_property(app.window, "WM_CLASS"))
        self.type_into(app, "Decimal", "77")
        self.wait_for_fields(app, {"Hexadecimal": "4D"})
        # With the tray on, Esc only hides the window; Ctrl+Q ends the program.
        self.end_with_ctrl_q(app)
        self.assert_saved(app, "LastConvert=2")

    def test_termination_signals_end_the_program_whatever_the_tray(self):
        # With the tray there, a close only hides the window: a signal must still end it.
        for sig in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
            with self.subTest(signal=sig.name):
                app = self.start_app(window={"MinimizeToSystemTray": 1})
                self.tray_icon(app)
                app.proc.send_signal(sig)
                self.assertEqual(app.wait_for_exit(10.0), 0, "the program did not end (cleanly)")
                self.assert_saved(app, "C1=0")

    def test_a_start_right_after_exit_shows_a_window(self):
        app = self.start_app()
        for round_number in range(10):
            with self.subTest(round=round_number):
                SESSION.activate(app.window)
                ending = app.proc
                SESSION.keys("ctrl+q")
                # At once: the copy that ends may still hold the lock. start() fails when
                # the new one ends without a window.
                app.start()
                self.assertEqual(ending.wait(timeout=10), 0)
                self.assertEqual(app.windows(), [app.window], "exactly one window")

    def test_toggle_shows_and_hides_the_running_copy(self):
        app = self.start_app(window={"MinimizeToSystemTray": 1})
        self.tray_icon(app)
        SESSION.activate(self.other_window())
        # Covered, then hidden in the tray: shown and active; active: hidden.
        for expected in ("shown", "hidden", "shown"):
            with self.subTest(expected=expected):
                status, seconds = app.run_again("--toggle")
                self.assertEqual(status, 0)
                self.assertLess(seconds, 5.0)
                if expected == "shown":
                    self.assert_restored(app)
                else:
                    poll("the window to go to the tray", lambda: not SESSION.is_viewable(app.window)
                         and app.window not in SESSION.client_list(), timeout=5)
                self.assertIsNone(app.proc.poll())
        self.end_with_ctrl_q(app)
        # With none running, they start nothing.
        for option in ("--toggle", "--hide"):
            status, _ = app.run_again(option)
            self.assertEqual(status, 3, option)

    def test_uninstall_ends_the_running_program(self):
        def add_startup_entry(app):
            folder = os.path.join(app.dirs["XDG_CONFIG_HOME"], "autostart")
            os.makedirs(folder)
            with open(os.path.join(folder, TITLE + ".desktop"), "w") as f:
                f.write("[Desktop Entry]\nType=Application\nName=%s\nExec=%s\n" % (TITLE, PROGRAM))

        app = self.start_app(before_start=add_startup_entry)
        status, seconds = app.run_again("/uninstall")
        self.assertEqual(status, 0)
        self.assertLess(seconds, 5.0)
        self.assertEqual(app.wait_for_exit(5.0), 0, "the running program did not end (cleanly)")
        self.assertFalse(os.path.exists(os.path.join(app.dirs["XDG_CONFIG_HOME"], "autostart", TITLE + ".desktop")),
                         "the start-up entry survived /uninstall")

    def test_options_sheet_from_the_window_menu(self):
        app = self.start_app()
        options = self.open_options(app)
        width, height = SESSION.screenshot(options, os.path.join(ARTIFACTS, "options-sheet.png"))
        self.assertGreater(width, 100)
        self.assertGreater(height, 100)

        # The Look page, for the README.
        look = poll("the Look page tab", lambda: next((n for n in app.accessible_tree()
                                                        if n["role"] == "page tab" and "Look" in n["name"]), None))
        x, y, w, h = look["extents"]
        SESSION.click(x + w // 2, y + h // 2)
        poll("the Look page", lambda: next((n for n in app.accessible_tree() if n["showing"]
                                            and n["name"] == "Show background image"), None))
        path = os.path.join(ARTIFACTS, "options-look.png")
        SESSION.screenshot(options, path)
        publish(path, "options-look.png")
        general = next(n for n in app.accessible_tree() if n["role"] == "page tab" and "General" in n["name"])
        x, y, w, h = general["extents"]
        SESSION.click(x + w // 2, y + h // 2)

        # Turning "Always on top" on in the sheet reaches the window manager.
        def item():
            return next((n for n in app.accessible_tree() if n["name"] == "Always on top"
                         and n["role"] in ("list item", "check box") and n["showing"]), None)

        x, y, w, h = poll("the 'Always on top' item", item, timeout=8)["extents"]
        SESSION.click(x + w // 2, y + h // 2)
        SESSION.keys("space")
        poll("'Always on top' to be ticked", lambda: (found := item()) and found["checked"], timeout=5)
        self.click_button(app, "OK")
        poll("the options sheet to close", lambda: not self.sheet_windows(app), timeout=5)
        poll("_NET_WM_STATE_ABOVE", lambda: "_NET_WM_STATE_ABOVE" in SESSION.net_wm_state(app.window), timeout=5)
        self.assertTrue(SESSION.is_viewable(app.window))
        self.assert_saved(app, "AlwaysOnTop=1", re.I)


    def test_show_hide_key_toggles_the_window_from_another_window(self):
        app = self.start_app(general=SHOW_HIDE_KEY)
        other = self.other_window()

        def shown_and_active():
            return SESSION.is_viewable(app.window) and SESSION.active_window() == app.window

        # With Caps Lock and Num Lock off, then each of them on.
        for lock in (None, "Caps_Lock", "Num_Lock"):
            with self.subTest(lock=lock):
                if lock:
                    SESSION.keys(lock)
                try:
                    # Covered by another window: the key, pressed at once, brings it
                    # forward (Qt itself hears only later that its window lost the focus).
                    SESSION.activate(other)
                    SESSION.keys("ctrl+alt+k")
                    poll("the key to bring the window forward", shown_and_active, timeout=5)
                    # Active: the key hides it.
                    SESSION.keys("ctrl+alt+k")
                    poll("the key to hide the window", lambda: not SESSION.is_viewable(app.window), timeout=5)
                    # Hidden: the key shows it again, active.
                    SESSION.keys("ctrl+alt+k")
                    poll("the key to show the hidden window", shown_and_active, timeout=5)
                finally:
                    if lock:
                        SESSION.keys(lock)
        self.assertIsNone(app.proc.poll())

    def test_show_hide_key_held_by_another_client_is_reported_in_use(self):
        holder = self.hold_key()
        app = self.start_app(general=SHOW_HIDE_KEY)
        self.open_options(app)
        poll("the General page to say the key is in use",
             lambda: self.shown_text(app, "in use by another program"), timeout=10)
        # The other client keeps its key: the press reaches it, not Radixpad.
        SESSION.keys("ctrl+alt+k")
        self.assertEqual(holder.stdout.readline().strip(), "pressed")
        self.assertTrue(self.sheet_windows(app), "the options sheet closed")
        # Nothing of Radixpad's attempt stays behind: the combinations with Caps Lock and
        # Num Lock, which the other client left free, are free.
        for modifiers in (12 | 2, 12 | 16, 12 | 2 | 16):
            self.assertTrue(self.key_is_free("k", modifiers), "Radixpad kept the key with modifiers %d" % modifiers)

    def test_show_hide_key_is_released_when_cleared_and_at_exit(self):
        app = self.start_app(general=SHOW_HIDE_KEY)
        self.assertFalse(self.key_is_free(), "Radixpad does not hold the key")
        self.open_options(app)
        poll("the General page to say the key is active",
             lambda: self.shown_text(app, "Active: this key shows and hides Radixpad"), timeout=10)
        # Clear (Alt+L) lets the key go at once; OK removes it from the settings.
        SESSION.keys("alt+l")
        poll("the state to go", lambda: not self.shown_text(app, "Active:"), timeout=5)
        self.assertTrue(self.key_is_free(), "the cleared key is still held")
        self.click_button(app, "OK")
        poll("the options sheet to close", lambda: not self.sheet_windows(app), timeout=5)
        self.assert_saved(app, "ShowHideKey=")
        app.stop()

        app = self.start_app(general={"ShowHideKey": "Ctrl+Alt+J"})
        self.assertFalse(self.key_is_free("j"), "Radixpad does not hold its key")
        SESSION.activate(app.window)
        self.end_with_ctrl_q(app)
        self.assertTrue(self.key_is_free("j"), "the key was not let go at exit")

if __name__ == "__main__":
    unittest.main()
