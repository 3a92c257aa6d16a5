"""End-to-end acceptance: the real program on an X desktop with a window manager."""
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from desktop import MAIN_TITLE, Desktop, Program, adopt_orphans, keep_diagnostics  # noqa: E402

# The generator's private headless office reads the workbooks back (python3-uno bridge).
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "assets", "src"))
from office import Office  # noqa: E402

BINARY = os.environ["VEXLO_PROGRAM"]
DATA = os.environ["VEXLO_DATA_DIR"]
SHOTS = os.environ.get("VEXLO_E2E_SHOTS", "")
ARTIFACTS = os.environ.get("VEXLO_TEST_ARTIFACTS", "")
with open(os.path.join(os.path.dirname(__file__), "..", "..", "assets", "src", "slides", "MYPPT.json"),
          encoding="utf-8") as f:
    SLIDE_COLOURS = json.load(f)["colors"]

# Centres of the controls, in twips within their window (container offsets added).
MAIN = {
    "minutes": (2040 + 300, 270 + 217),
    "seconds": (120 + 2940 + 300, 30 + 240 + 217),
    "reminder_minutes": (2040 + 300, 825 + 217),
    "reminder_seconds": (120 + 2940 + 300, 30 + 795 + 217),
    "digits": (120 + 810 + 1327, 30 + 60 + 382),
    "start": (300 + 290, 1815 + 160),
    "shrink": (2496 + 290, 1815 + 160),
    "label1": (120 + 210 + 847, 30 + 345 + 127),
    "draw": (3228 + 290, 1815 + 160),
    "exit": (120 + 4635 + 290, 30 + 1785 + 160),
    "hint": (120 + 240 + 1000, 2430 + 120 + 135),
}
TOOLBAR = {
    "hide": (4530 + 120, 90 + 120),
    "confirm": (120 + 2880 + 330, 60 + 1500 + 165),
}
SLIDES = {
    "prepare": (120 + 382, 150 + 210),
    "draw": (1160 + 382, 150 + 210),
    "exit": (2200 + 382, 150 + 210),
}
LAUNCHER = {
    "order": (81 + 900 + 375 + 1402, 15 + 600 + 360 + 247),
    "slides": (81 + 900 + 375 + 1402, 15 + 600 + 1825 + 240),
    "name_list": (81 + 900 + 375 + 1402, 15 + 600 + 1100 + 240),
    "group_list": (81 + 900 + 375 + 1402, 15 + 600 + 2550 + 240),
    "note1": (81 + 900 + 375 + 1402, 15 + 3960 + 360 + 240),
    "count": (81 + 3960 + 360, 15 + 405 + 217),
    "confirm": (81 + 1680 + 427, 15 + 1320 + 180),
    "end_draw": (81 + 1390 + 607, 15 + 1730 + 187),
}
LISTS = {
    # Form4 and Form9 share the compact confirmation panel and the bottom row's height.
    "confirm": (120 + 720 + 1957, 90 + 2205 + 397),
    "list_edit": (142 + 840, 6525 + 300),
    "list_prepare": (2122 + 840, 6525 + 300),
    "list_auto": (6082 + 840, 6525 + 300),
    "group_edit": (352 + 840, 6525 + 300),
    "group_prepare": (2384 + 840, 6525 + 300),
    "group_auto": (4416 + 840, 6525 + 300),
    "group_sort": (6448 + 840, 6525 + 300),
}
LIST_WINDOW = (9885 // 15, 7590 // 15)
GROUP_WINDOW = (10515 // 15, 7590 // 15)
COMPACT_WINDOW = (5595 // 15, 4095 // 15)
PASSWORD = "708klm"
ORDER = {
    "draw": (150 + 6240 + 120 + 487, 75 + 150 + 240 + 204),
    "next": (150 + 6240 + 1360 + 487, 75 + 150 + 240 + 204),
    "end": (150 + 6240 + 3840 + 487, 75 + 150 + 240 + 204),
}


class Acceptance(unittest.TestCase):
    def setUp(self):
        # The draw guard looks only at presentations on this desktop's screen, so offices
        # elsewhere on the machine (the user's, other tests') do not matter here.
        self.desktop = Desktop()
        self.addCleanup(self.desktop.close)
        self.program = Program(self.desktop, BINARY, DATA)
        self.addCleanup(self.program.close)
        if SHOTS:
            os.makedirs(SHOTS, exist_ok=True)
            name = self.id().split(".")[-1]
            self.addCleanup(lambda: shutil.copy(self.program.log_path, os.path.join(SHOTS, name + ".log")))
            self.addCleanup(lambda: self.desktop.screenshot(os.path.join(SHOTS, name + ".png")))
        self.addCleanup(self.keep_diagnostics)
        self.first = self.program.start()
        self.main = self.program.main_window()
        self.assertIsNotNone(self.main, "the main window appears")

    def keep_diagnostics(self):
        """A failed test keeps the program's debug log and the screen as it was."""
        keep_diagnostics(self, self.desktop, self.program, ARTIFACTS)

    def shot(self, name, settle=0.0):
        if SHOTS:
            time.sleep(settle)  # lets another program finish painting for the person looking
            self.desktop.screenshot(os.path.join(SHOTS, name + ".png"))

    def visible(self, window):
        return window in self.desktop.windows(MAIN_TITLE)

    def answer_box(self, title, button, seconds=30.0):
        self.desktop.answer_by_click(self.program, title, button, seconds)

    def test_start_up_placement_and_second_instance(self):
        x, y, w, h = self.desktop.geometry(self.main)
        self.assertEqual((w, h), (380, 190))
        self.assertEqual(x, (1280 - 380) // 2)
        self.assertEqual(y, 2000 // 15)
        second = self.program.start()
        self.answer_box("Kelvora工具提示：", "Ok")
        self.assertEqual(second.wait(15), 0)
        self.assertIsNone(self.first.poll(), "the first instance keeps running")
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.windows(MAIN_TITLE) == [self.main]),
                        f"only the first main window shows: {self.desktop.windows(MAIN_TITLE)}")

    def test_order_number_draw_round(self):
        self.desktop.click(self.main, *MAIN["draw"])
        self.assertTrue(self.desktop.wait_for(lambda: not self.visible(self.main)), "the launcher takes its place")
        launcher = self.desktop.wait_for(lambda: self.desktop.windows(MAIN_TITLE))[0]
        self.assertEqual(self.desktop.geometry(launcher)[3], 6585 // 15)
        self.desktop.click(launcher, *LAUNCHER["order"])
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.geometry(launcher)[3] == 2955 // 15))
        self.desktop.type_into(launcher, *LAUNCHER["count"], "3")
        self.desktop.click(launcher, *LAUNCHER["confirm"])
        draw = self.desktop.wait_for(
            lambda: [w for w in self.desktop.windows(MAIN_TITLE) if self.desktop.geometry(w)[2] == 11715 // 15])
        self.assertTrue(draw, "the order-number draw opens")
        draw = draw[0]
        for i in range(3):
            self.desktop.click(draw, *ORDER["draw"])
            if i < 2:
                self.desktop.click(draw, *ORDER["next"])
        self.shot("order-round-over")
        self.desktop.click(draw, *ORDER["end"])
        confirm = self.desktop.wait_for(
            lambda: [w for w in self.desktop.windows(MAIN_TITLE) if self.desktop.geometry(w)[2] == 5700 // 15])
        self.assertTrue(confirm, "the launcher asks whether to end the draw")
        self.desktop.click(confirm[0], *LAUNCHER["end_draw"])
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.windows(MAIN_TITLE) == [self.main]),
                        "only the main window is left")

    def test_countdown_with_reminder_enlarged_view_and_time_up(self):
        for field, text in (("minutes", "00"), ("seconds", "25"), ("reminder_minutes", "00"),
                            ("reminder_seconds", "10")):
            self.desktop.type_into(self.main, *MAIN[field], text)
        self.desktop.click(self.main, *MAIN["start"])
        started = time.monotonic()
        time.sleep(1.5)
        self.desktop.xdotool("mousemove", "--window", self.main, str(MAIN["digits"][0] // 15),
                             str(MAIN["digits"][1] // 15), "click", "--repeat", "2", "--delay", "80", "1")
        enlarged = self.desktop.wait_for(lambda: self.desktop.windows("计时放大窗口"), 5)
        self.assertTrue(enlarged, "double-clicking the digits opens the enlarged window")
        self.assertFalse(self.visible(self.main), "the enlarged window takes the main window's place")
        self.assertGreater(self.desktop.geometry(enlarged[0])[2], 700, "it spans most of the screen")
        self.shot("enlarged")

        # The reminder at 00:10 blinks the main window; the enlarged window stays.
        seen_during_reminder = self.desktop.wait_for(lambda: self.visible(self.main), 25)
        self.assertTrue(seen_during_reminder, "the reminder shows the main window")
        self.assertGreater(time.monotonic() - started, 12, "not before the reminder time")
        self.shot("reminder")

        # Time up: the enlarged window closes itself, the banner bounces from the left margin.
        xs = []

        def banner_back_centred():
            if self.visible(self.main):
                xs.append(self.desktop.geometry(self.main)[0])
            # Sampled from outside at a few per second, so only the sweep is seen, not each step.
            return min(xs, default=450) < 150 and max(xs) > 700 and xs[-1] == (1280 - 380) // 2 and \
                not self.desktop.windows("计时放大窗口")

        self.assertTrue(self.desktop.wait_for(banner_back_centred, 45, 0.05), f"positions seen: {xs[:40]}")
        self.assertTrue(any(x < 150 for x in xs) and any(x > 700 for x in xs), "the banner bounces")
        self.assertGreater(time.monotonic() - started, 25)
        self.shot("time-up-centred")
        time.sleep(5)  # the 800 banner ticks end; the idle panel returns
        self.shot("idle-again")

    def test_shrink_hide_everything_and_f9_brings_the_panel_back(self):
        self.desktop.click(self.main, *MAIN["start"])
        time.sleep(0.5)
        self.desktop.click(self.main, *MAIN["shrink"])
        strip = self.desktop.wait_for(lambda: self.desktop.windows_sized(4890 // 15, 510 // 15))
        self.assertTrue(strip, "the translucent strip replaces the panel")
        self.assertFalse(self.visible(self.main))
        x, y, _, _ = self.desktop.geometry(strip[0])
        self.assertEqual((x, y), (450 + (380 - 326) // 2, 133), "centred over the panel's place")
        self.shot("toolbar-strip")
        self.desktop.click(strip[0], *TOOLBAR["hide"])
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.geometry(strip[0])[3] == 2265 // 15),
                        "the hint panel opens")
        self.desktop.click(strip[0], *TOOLBAR["confirm"])
        self.assertTrue(self.desktop.wait_for(lambda: not self.desktop.windows_sized(4890 // 15)),
                        "everything is hidden")
        self.assertFalse(self.visible(self.main))
        self.desktop.move_pointer(900, 700)
        self.desktop.xdotool("keydown", "F9")
        time.sleep(0.5)
        self.desktop.xdotool("keyup", "F9")
        self.assertTrue(self.desktop.wait_for(lambda: self.visible(self.main)), "F9 brings the panel back")
        self.assertEqual(self.desktop.geometry(self.main)[:2], (450, 133))
        self.assertFalse(self.desktop.windows_sized(4890 // 15))

    def test_docking_at_the_top_edge(self):
        px, py = MAIN["label1"][0] // 15, MAIN["label1"][1] // 15
        self.desktop.xdotool("mousemove", "--window", self.main, str(px), str(py), "mousedown", "1")
        self.desktop.xdotool("mousemove", str(450 + px), "40", "mousemove", str(450 + px), "20")
        self.desktop.xdotool("mouseup", "1")
        self.desktop.move_pointer(100, 700)
        # The window becomes the 90-twip (6 px) strip that is left of it on the screen.
        def tucked():
            return self.desktop.geometry(self.main)[1:4:2] == (0, 6)

        self.assertTrue(self.desktop.wait_for(tucked, 10),
                        f"tucked above the top edge: {self.desktop.geometry(self.main)}")
        x = self.desktop.geometry(self.main)[0]
        self.desktop.move_pointer(x + 100, 2)  # onto the 90-twip strip
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.geometry(self.main)[1:4:2] == (0, 190), 10),
                        "brought back under the pointer")
        self.desktop.move_pointer(100, 700)
        self.assertTrue(self.desktop.wait_for(tucked, 10), "tucked again once the pointer leaves")

    def open_launcher(self):
        self.desktop.click(self.main, *MAIN["draw"])
        self.assertTrue(self.desktop.wait_for(lambda: not self.visible(self.main)), "the launcher takes its place")
        return self.desktop.wait_for(lambda: self.desktop.windows(MAIN_TITLE))[0]

    def offices_of_ours(self):
        r = subprocess.run(["pgrep", "-f", f"pipe,name=vexlo_{self.first.pid}_"], capture_output=True, text=True)
        return r.stdout.split()

    def workbook_held(self, name):
        """Whether an office still has the workbook open (its lock file is there)."""
        return os.path.exists(os.path.join(self.program.folder, f".~lock.{name}#"))

    def draw_window(self, size):
        found = self.desktop.wait_for(lambda: self.desktop.windows_sized(*size), 30)
        self.assertTrue(found, f"a draw window of {size} shows")
        return found[0]

    def check_list_in_calc(self, workbook):
        """编辑名单 / 查看: the workbook opens in Calc beside the compact panel, which confirms it."""
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.windows(f"{workbook} - LibreOffice Calc"), 60),
                        f"{workbook} shows in Calc")
        panel = self.draw_window(COMPACT_WINDOW)
        # The panel glides to the right edge; it is pressed once it stands there.
        right = 1280 - (315 + 5595) // 15
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.geometry(panel)[0] == right, 20),
                        f"the panel stands at the right edge: {self.desktop.geometry(panel)}")
        return panel

    def confirm_list(self, panel, workbook):
        self.desktop.click(panel, *LISTS["confirm"])
        self.assertTrue(self.desktop.wait_for(lambda: not self.desktop.windows(f"{workbook} - LibreOffice Calc"), 30),
                        "confirming closes Calc")

    def automatic_round(self, window, prepare, automatic):
        self.desktop.click(window, *LISTS[prepare])
        time.sleep(2.0)  # the list is read in a hidden Calc, then it rolls
        self.desktop.click(window, *LISTS[automatic])
        # The pointer and keys are the program's until the round is over and it says so.
        self.answer_box("随机抽签程序提示：", "Ok", seconds=120)
        self.assertTrue(self.desktop.wait_for(lambda: not self.offices_of_ours(), 30),
                        "the round is saved and its office ends")

    def read_workbook(self, name, columns, rows):
        """Cell texts of rows 13.. of the workbook on disk, opened with its password."""
        with Office() as office:
            self.assertIsNone(office.load(os.path.join(self.program.folder, name)), "the password still protects it")
            doc = office.load(os.path.join(self.program.folder, name), Password=PASSWORD)
            sheet = doc.Sheets.getByName("sheet1")
            table = [[sheet.getCellByPosition(c, 12 + r).String.strip() for c in range(columns)] for r in range(rows)]
            doc.close(True)
        return table

    def open_list_for_checking(self, entry, size, edit, workbook):
        """From the launcher to the draw window, and from its edit button to the list in Calc."""
        launcher = self.open_launcher()
        self.desktop.click(launcher, *LAUNCHER[entry])
        self.desktop.click(self.draw_window(size), *LISTS[edit])
        return self.check_list_in_calc(workbook)

    def test_name_list_round_is_written_back_to_the_workbook(self):
        original = self.read_workbook("name.xls", 3, 40)
        panel = self.open_list_for_checking("name_list", LIST_WINDOW, "list_edit", "name.xls")
        self.shot("name-list-in-calc", 3.0)
        self.confirm_list(panel, "name.xls")
        window = self.draw_window(LIST_WINDOW)
        self.automatic_round(window, "list_prepare", "list_auto")
        self.shot("name-list-round-over")
        after = self.read_workbook("name.xls", 3, 40)
        self.assertEqual([r[:2] for r in after], [r[:2] for r in original], "numbers and names stay in place")
        self.assertEqual(sorted(int(r[2]) for r in after), list(range(1, 41)),
                         "everybody has a draw number of their own")

    def test_group_draw_and_its_sorted_view(self):
        original = self.read_workbook("name1.xls", 5, 24)
        panel = self.open_list_for_checking("group_list", GROUP_WINDOW, "group_edit", "name1.xls")
        self.confirm_list(panel, "name1.xls")
        window = self.draw_window(GROUP_WINDOW)
        self.automatic_round(window, "group_prepare", "group_auto")
        # 查看抽签数据 (the same button) and then 抽签结果排序: the sorted view is only looked at.
        self.desktop.click(window, *LISTS["group_edit"])
        self.confirm_list(self.check_list_in_calc("name1.xls"), "name1.xls")
        window = self.draw_window(GROUP_WINDOW)
        self.desktop.click(window, *LISTS["group_sort"])
        panel = self.check_list_in_calc("name1.xls")
        self.shot("group-sorted-view", 3.0)
        self.assertTrue(self.workbook_held("name1.xls"), "the sorted view has the workbook open")
        self.confirm_list(panel, "name1.xls")
        # The confirmation saves and closes the workbook (a spreadsheet program is started
        # ahead for the next preparation, so an office of ours may well be running).
        self.assertTrue(self.desktop.wait_for(lambda: not self.workbook_held("name1.xls"), 30))
        after = self.read_workbook("name1.xls", 6, 24)
        self.assertEqual([r[:4] for r in after], [r[:4] for r in original], "the file keeps the list's order")
        self.assertEqual(sorted(int(r[4]) for r in after), list(range(1, 25)), "draw numbers 1 to 24")
        self.assertEqual({r[5] for r in after}, {""}, "the ranks of the sorted view are not saved")

    def end_by_signal_and_check_the_workbook(self, name):
        """A logout's SIGTERM: the program ends in order, its office with it, and the
        workbook still opens only with its password."""
        self.first.send_signal(signal.SIGTERM)
        self.assertEqual(self.first.wait(60), 0, "the program ends in order")
        self.assertTrue(self.desktop.wait_for(lambda: not self.offices_of_ours(), 30), "no office of ours is left")
        rows = self.read_workbook(name, 3, 40)
        self.assertEqual(len(rows), 40)

    def test_sigterm_while_the_list_is_being_edited(self):
        self.open_list_for_checking("name_list", LIST_WINDOW, "list_edit", "name.xls")
        self.end_by_signal_and_check_the_workbook("name.xls")

    def test_sigterm_during_a_round(self):
        panel = self.open_list_for_checking("name_list", LIST_WINDOW, "list_edit", "name.xls")
        self.confirm_list(panel, "name.xls")
        window = self.draw_window(LIST_WINDOW)
        self.desktop.click(window, *LISTS["list_prepare"])
        self.assertTrue(self.desktop.wait_for(lambda: self.offices_of_ours(), 30), "the list is read in our office")
        time.sleep(1.0)  # rolling
        self.end_by_signal_and_check_the_workbook("name.xls")

    def drawn_slides(self):
        return [(int(a), int(b)) for a, b in re.findall(r"drew slide (\d+) and the show reports slide (\d+)",
                                                        self.program.log())]

    def test_slide_draw_on_the_bundled_presentation(self):
        launcher = self.open_launcher()
        self.desktop.click(launcher, *LAUNCHER["slides"])
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.windows("Presenting: MYPPT"), 60),
                        "the slide show of MYPPT.ppt runs")
        strip = self.desktop.wait_for(lambda: self.desktop.windows_sized(4875 // 15, 720 // 15), 20)
        self.assertTrue(strip, "the control strip floats above the show")
        for round_ in range(2):
            self.desktop.click(strip[0], *SLIDES["prepare"])
            time.sleep(1.0)
            self.desktop.click(strip[0], *SLIDES["draw"])
            drawn = self.desktop.wait_for(lambda: self.drawn_slides()[round_:], 20)
            self.assertTrue(drawn, "the draw stops on a slide")
            picked, reported = drawn[0]
            self.assertEqual(picked, reported, "the show reports the drawn slide")
            # The audience sees it: left of the slide's centre, clear of the strip.
            colour = SLIDE_COLOURS[picked - 1].upper()
            seen = self.desktop.wait_for(lambda: self.desktop.pixel(40, 400) == colour, 10)
            self.assertTrue(seen, f"slide {picked} is on screen, not {self.desktop.pixel(40, 400)}")
        self.shot("slide-drawn")
        self.desktop.click(strip[0], *SLIDES["exit"])
        self.assertTrue(self.desktop.wait_for(lambda: not self.desktop.windows("Presenting: MYPPT"), 30),
                        "the show ends")
        self.assertTrue(self.desktop.wait_for(lambda: self.visible(self.main)))
        self.assertEqual(self.desktop.geometry(self.main)[3], 2850 // 15)
        self.assertTrue(self.desktop.wait_for(lambda: not self.offices_of_ours(), 20), "no office of ours is left")

    def test_instruction_presentation_closed_from_the_hint_line(self):
        launcher = self.open_launcher()
        self.desktop.click(launcher, *LAUNCHER["note1"])
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.windows("Presenting: Note1"), 60),
                        "the first instruction presentation shows")
        self.assertTrue(self.desktop.wait_for(lambda: self.visible(self.main)))
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.geometry(self.main)[3] == 3465 // 15),
                        "the tall layout with the hint")
        self.shot("instruction-shown")
        # A person double-clicks the hint line once they see it above the show.
        def above_show():
            shows = self.desktop.windows("Presenting: Note1")
            return shows and all(self.desktop.above(self.main, w) for w in shows)

        self.assertTrue(self.desktop.wait_for(above_show, 20), "the panel comes above the show")
        px, py = MAIN["hint"][0] // 15, MAIN["hint"][1] // 15
        self.desktop.xdotool("mousemove", "--window", self.main, str(px), str(py), "click", "--repeat", "2",
                             "--delay", "80", "1")
        self.assertTrue(self.desktop.wait_for(lambda: not self.desktop.windows("Presenting: Note1"), 30),
                        "the double-click on the hint ends the show")
        self.assertTrue(self.desktop.wait_for(lambda: self.desktop.geometry(self.main)[3] == 2850 // 15))
        self.assertTrue(self.desktop.wait_for(lambda: not self.offices_of_ours(), 20), "no office of ours is left")

    def test_exit_asks_and_no_keeps_running(self):
        self.desktop.click(self.main, *MAIN["exit"])
        self.answer_box("Kelvora工具", "No")
        self.assertTrue(self.desktop.wait_for(lambda: self.visible(self.main)))
        self.assertIsNone(self.first.poll())
        self.desktop.click(self.main, *MAIN["exit"])
        self.answer_box("Kelvora工具", "Yes")
        self.assertEqual(self.first.wait(20), 0)


if __name__ == "__main__":
    adopt_orphans()
    unittest.main(verbosity=2)
