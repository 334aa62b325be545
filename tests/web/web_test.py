#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page in headless Chromium, through chromedriver: web_test.py URL SCREENSHOT_DIR [SOUNDS_DIR]

One walk through the program as a user makes it, with the keyboard, the mouse and taps: the
start page, the main window and its six buttons by their accessible names, the lamps sweeping,
a full scan from the keyboard to its results, Setup writing the eight options into the
browser's storage, Minimize and the notification icon, Exit back to the start page; then an
abductee scan by taps on a phone-sized screen. Throughout, no console error and no request
outside the site, and every cue played in order and for its length. Screenshots at density 1
and 2 and on the phone go to SCREENSHOT_DIR.
"""
import json
import os
import sys
import time
import wave

from selenium import webdriver
from selenium.common.exceptions import StaleElementReferenceException, TimeoutException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

URL, SHOTS = sys.argv[1], sys.argv[2]
SOUNDS = sys.argv[3] if len(sys.argv) > 3 else None
MAIN, SCANNING, RESULTS, SETUP, ABDUCTEE, VERDICT = 102, 148, 149, 169, 170, 174
failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what, flush=True)
    if not ok:
        failures.append(what)


def browser(ratio=1, phone=False):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--no-first-run", "--disable-extensions", "--mute-audio",
                "--disable-background-networking", "--disable-component-update",
                "--disable-features=Translate,OptimizationHints,MediaRouter",
                f"--force-device-scale-factor={ratio}", "--window-size=900,700"):
        options.add_argument(arg)
    if phone:
        options.add_experimental_option("mobileEmulation", {
            "deviceMetrics": {"width": 360, "height": 740, "pixelRatio": 2, "touch": True}})
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def wait_for(driver, what, seconds, predicate):
    # `seconds` is what the event takes on a quiet machine. The bound is generous: the test
    # command runs this beside the sanitizer and Wine stages on two cores, and a bound only
    # costs time when the event never comes.
    bound = max(10, 4 * seconds)
    try:
        # A window may go while it is looked at: that look tells nothing, the next one will.
        return WebDriverWait(driver, bound, poll_frequency=0.05,
                             ignored_exceptions=[StaleElementReferenceException]).until(predicate)
    except TimeoutException:
        check(False, f"{what} (waited {bound} s)")
        driver.save_screenshot(os.path.join(SHOTS, f"web-failure-{len(failures)}.png"))
        return None


def window(driver, template):
    found = driver.find_elements(By.CSS_SELECTOR, f'section.window[data-template="{template}"]')
    return found[0] if found and found[0].is_displayed() else None


def control(win, cid):
    return win.find_element(By.CSS_SELECTOR, f'[data-id="{cid}"]')


EVEN_TEXT = """
const win = arguments[0];
const sizes = new Set(), cut = [];
for (const el of win.querySelectorAll('[data-id]')) {
  if (el.tagName === 'INPUT' || !el.textContent.trim() || !el.getClientRects().length) continue;
  sizes.add(getComputedStyle(el).fontSize);
  if (el.scrollWidth > el.clientWidth + 1 || el.scrollHeight > el.clientHeight + 1)
    cut.push(el.textContent.trim());
}
return [Array.from(sizes), cut];
"""


def check_even_text(driver, win, label):
    """Every text of a dialog in one size, and none cut by its box."""
    sizes, cut = driver.execute_script(EVEN_TEXT, win)
    check(len(sizes) == 1, f"{label}: one text size ({sizes})")
    check(not cut, f"{label}: every text within its box (cut: {cut})")


def press(driver, *keys):
    ActionChains(driver).send_keys(*keys).perform()


def alt(driver, letter):
    ActionChains(driver).key_down(Keys.ALT).send_keys(letter).key_up(Keys.ALT).perform()


def tap(driver, element):
    touch = PointerInput(interaction.POINTER_TOUCH, "finger")
    actions = ActionBuilder(driver, mouse=touch)
    actions.pointer_action.move_to(element).pointer_down().pause(0.05).pointer_up()
    actions.perform()


def start(driver):
    driver.get(URL)
    driver.execute_script("window.addEventListener('error', (e) => (window.quorblexErrors ="
                          " window.quorblexErrors || []).push(String(e.error && e.error.stack)))")
    button = wait_for(driver, "the start page shows its button", 5,
                      lambda d: d.find_element(By.ID, "start-button"))
    return button


def lamp_sources(win):
    return [control(win, i).find_element(By.TAG_NAME, "img").get_attribute("src")
            for i in (1018, 1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015, 1016)]


def check_site_only(driver, label):
    """No console error, and no request that left the site."""
    errors = [e["message"] for e in driver.get_log("browser") if e["level"] == "SEVERE"]
    for stack in driver.execute_script("return window.quorblexErrors || []"):
        print("      " + stack.replace("\n", "\n      "))
    check(not errors, f"{label}: no console error {errors[:3]}")
    outside = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] != "Network.requestWillBeSent":
            continue
        url = message["params"]["request"]["url"]
        if not (url.startswith(URL.rsplit("/", 1)[0]) or url.startswith(("data:", "blob:"))):
            outside.append(url)
    check(not outside, f"{label}: no request outside the site {outside[:3]}")


def check_cues(driver, label):
    """Each cue in the order the program played it; a synchronous one held the program for
    its length (the next one starts after it has ended)."""
    cues = driver.execute_script("return window.quorblexLog.cues")
    names = [c["name"] for c in cues]
    check(bool(names) and names[0] == "welcome.wav", f"{label}: the welcome cue first ({names[:3]})")
    ok = True
    for i, c in enumerate(cues):
        if not c["end"]:
            continue
        played = c["end"] - c["start"]
        if SOUNDS and os.path.exists(os.path.join(SOUNDS, c["name"])):
            with wave.open(os.path.join(SOUNDS, c["name"])) as w:
                length = 1000 * w.getnframes() / w.getframerate()
            # Never cut short; its end may be reported late on a busy machine, not by seconds.
            if not length - 20 <= played <= length + 2000:
                ok = False
                print(f"      {c['name']}: played {played:.0f} ms of {length:.0f}")
        if c["sync"] and i + 1 < len(cues) and cues[i + 1]["start"] < c["end"] - 5:
            ok = False
            print(f"      {cues[i + 1]['name']} started before {c['name']} ended")
    check(ok, f"{label}: {len(cues)} cues in order, each for its length ({' '.join(names)})")


def desktop_walk():
    driver = browser(1)
    try:
        t0 = time.monotonic()
        button = start(driver)
        if not button:
            return
        check(button.accessible_name == "Switch on the scanner" and driver.title == "Quorblex Pro",
              "start page: the icon, the title and one start button")
        driver.save_screenshot(os.path.join(SHOTS, "web-start.png"))
        wait_for(driver, "the program has loaded", 10,
                 lambda d: d.execute_script("return typeof QuorblexPro === 'function'"))
        button.click()
        main = wait_for(driver, "the main window appears", 5, lambda d: window(d, MAIN))
        if not main:
            return
        check(main.get_attribute("role") == "dialog" and main.accessible_name == "Quorblex Pro",
              "the main window is a dialog named Quorblex Pro")
        lamp, clip = control(main, 1018), control(main, 1005)
        check(lamp.accessible_name.startswith("lamp 1") and clip.accessible_name,
              f"pictures are named ({lamp.accessible_name!r}, {clip.accessible_name!r})")
        names = [b.accessible_name for b in main.find_elements(By.CSS_SELECTOR, "button.push")]
        check(names == ["Minimize", "Scan", "Abductee Scan", "Settings", "About...", "Exit"],
              f"the six buttons by their accessible names {names}")
        first = lamp_sources(main)
        if wait_for(driver, "the lamps sweep", 2, lambda d: lamp_sources(main) != first):
            check(True, "the lamps sweep")
        painted = ("const c = arguments[0].querySelector('canvas'), b = document.createElement"
                   "('canvas'); b.width = c.width; b.height = c.height;"
                   "return c.width > 0 && c.toDataURL() !== b.toDataURL()")
        if wait_for(driver, "the clip is painted", 2,
                    lambda d: d.execute_script(painted, clip)):
            check(True, "the clip is painted from the program's reader")
        tray = driver.find_element(By.ID, "tray")
        check(tray.is_displayed() and tray.accessible_name == "Quorblex Pro",
              "the notification icon, named Quorblex Pro")
        driver.save_screenshot(os.path.join(SHOTS, "web-main-1x.png"))

        # A full scan from the keyboard, to its results.
        alt(driver, "s")
        scanning = wait_for(driver, "Alt+S opens Scanning...", 3, lambda d: window(d, SCANNING))
        if scanning:
            check(scanning.accessible_name == "Scanning...", "Scanning... is a dialog by its title")
            wait_for(driver, "a status line shows", 5,
                     lambda d: control(scanning, 1019).text.strip())
        results = wait_for(driver, "the results come", 20, lambda d: window(d, RESULTS))
        if results:
            wait_for(driver, "the presence is revealed", 10,
                     lambda d: control(results, 1020).text.strip())
            live = driver.find_element(By.ID, "announce")
            check(live.get_attribute("aria-live") == "polite" and live.get_attribute("textContent"),
                  "the revealed result goes to a polite live region")
            driver.save_screenshot(os.path.join(SHOTS, "web-results-1x.png"))
            check_even_text(driver, results, "Scan Results")
            press(driver, Keys.ENTER)
            wait_for(driver, "Enter closes the results", 20, lambda d: not window(d, RESULTS))

        # Setup: two switches by mouse, OK; the eight options land in storage.
        control(main, 1002).click()
        setup = wait_for(driver, "Settings opens Setup", 3, lambda d: window(d, SETUP))
        if setup:
            slider = control(setup, 1031)
            check(slider.tag_name == "input" and slider.get_attribute("type") == "range"
                  and slider.accessible_name, f"the slider is a range input named "
                  f"{slider.accessible_name!r}")
            box = control(setup, 1024).find_element(By.TAG_NAME, "input")
            was = box.is_selected()
            box.click()
            wait_for(driver, "a click on Use Sounds changes it", 2,
                     lambda d: box.is_selected() != was)
            driver.save_screenshot(os.path.join(SHOTS, "web-setup-1x.png"))
            check_even_text(driver, setup, "Setup")
            control(setup, 1).click()
            wait_for(driver, "OK closes Setup", 3, lambda d: not window(d, SETUP))
            ini = driver.execute_script("return localStorage.getItem('quorblex.ini')") or ""
            keys = ["UseSounds", "Monitor", "Scan1", "Scan2", "Scan3", "Scan4", "Scan5",
                    "Sensitivity"]
            check("[Options]" in ini and all(f"{k}=" in ini for k in keys),
                  f"Setup wrote the eight options into storage {ini!r}")

        # A save the browser's storage refuses: the program says so in its message box.
        driver.execute_script(
            "window.__setItem = Storage.prototype.setItem;"
            "Storage.prototype.setItem = function () {"
            "  throw new DOMException('full', 'QuotaExceededError'); }")
        control(main, 1002).click()
        setup = wait_for(driver, "Settings opens Setup again", 3, lambda d: window(d, SETUP))
        if setup:
            control(setup, 1024).find_element(By.TAG_NAME, "input").click()
            control(setup, 1).click()
            box = wait_for(driver, "a refused save shows a message box", 3,
                           lambda d: window(d, -1))
            if box:
                said = box.text
                check("could not save its settings to\nquorblex.ini:\nNo space left on device"
                      in said and box.accessible_name == "Quorblex Pro",
                      f"the message box says why the save failed {said!r}")
                driver.save_screenshot(os.path.join(SHOTS, "web-save-failed-1x.png"))
                press(driver, Keys.ENTER)
                wait_for(driver, "Enter closes the message box", 3, lambda d: not window(d, -1))
        driver.execute_script("Storage.prototype.setItem = window.__setItem")

        # The About box opening while the tab is in the background: the tab's title says so
        # until the user comes back. Its Help button opens the help page in a new tab.
        driver.execute_script(
            "Object.defineProperty(document, 'hidden', {value: true, configurable: true})")
        alt(driver, "a")
        about = wait_for(driver, "Alt+A opens the About box", 3, lambda d: window(d, 100))
        check(driver.title != "Quorblex Pro" and "About Quorblex Pro" in driver.title,
              f"a window opening in a hidden tab marks the title {driver.title!r}")
        driver.execute_script("delete document.hidden;"
                              "document.dispatchEvent(new Event('visibilitychange'))")
        check(driver.title == "Quorblex Pro", "coming back to the tab clears the title")
        if about:
            tabs = len(driver.window_handles)
            control(about, 9).click()
            wait_for(driver, "Help opens a new tab", 3, lambda d: len(d.window_handles) > tabs)
            page = driver.window_handles[-1]
            driver.switch_to.window(page)
            wait_for(driver, "the help page loads", 5,
                     lambda d: d.current_url.endswith("/quorblex.html") and d.title)
            driver.close()
            driver.switch_to.window(driver.window_handles[0])
            control(about, 1).click()
            wait_for(driver, "OK closes the About box", 3, lambda d: not window(d, 100))

        # Minimize into the notification area; a click on the icon brings it back.
        control(main, 1).click()
        wait_for(driver, "Minimize hides the main window", 3, lambda d: not window(d, MAIN))
        ActionChains(driver).click(driver.find_element(By.ID, "tray")).perform()
        wait_for(driver, "a click on the icon brings it back", 3, lambda d: window(d, MAIN))

        check_cues(driver, "desktop")
        # Exit: back to the start page.
        main = window(driver, MAIN)
        if main:
            control(main, 2).click()
        wait_for(driver, "Exit goes back to the start page", 5,
                 lambda d: d.find_element(By.ID, "start-button").is_displayed())
        check_site_only(driver, "desktop")
        print(f"      desktop walk: {time.monotonic() - t0:.1f} s")
    finally:
        driver.quit()


def screenshot_at_2x():
    driver = browser(2)
    try:
        button = start(driver)
        wait_for(driver, "the program has loaded", 10,
                 lambda d: d.execute_script("return typeof QuorblexPro === 'function'"))
        button.click()
        if wait_for(driver, "the main window at density 2 with its lamps moving", 5,
                    lambda d: d.execute_script("return window.quorblexLog.marks.sweep")):
            driver.save_screenshot(os.path.join(SHOTS, "web-main-2x.png"))
            srcs = driver.execute_script(
                "return [...document.querySelectorAll('.picture img')].map(i => i.currentSrc)")
            check(any("@2x" in s for s in srcs), "density 2 draws the 2x bitmaps")
        check_site_only(driver, "density 2")
    finally:
        driver.quit()


def phone_walk():
    """An abductee scan by taps on a narrow screen."""
    driver = browser(phone=True)
    try:
        button = start(driver)
        wait_for(driver, "the program has loaded", 10,
                 lambda d: d.execute_script("return typeof QuorblexPro === 'function'"))
        tap(driver, button)
        main = wait_for(driver, "the main window on the phone", 5, lambda d: window(d, MAIN))
        if not main:
            return
        width = driver.execute_script("return innerWidth")
        right = driver.execute_script(
            "return arguments[0].getBoundingClientRect().right", main)
        check(right <= width, f"the main window fits the phone's width ({right:.0f} <= {width})")
        driver.save_screenshot(os.path.join(SHOTS, "web-phone.png"))
        tap(driver, control(main, 3))
        scan = wait_for(driver, "a tap opens the abductee scan", 3, lambda d: window(d, ABDUCTEE))
        if scan:
            driver.save_screenshot(os.path.join(SHOTS, "web-phone-abductee.png"))
            tap(driver, control(scan, 1))
        verdict = wait_for(driver, "a tap on OK scans and gives the verdict", 10,
                           lambda d: window(d, VERDICT))
        if verdict:
            wait_for(driver, "the verdict is shown", 5,
                     lambda d: control(verdict, 1036).text.strip())
            tap(driver, control(verdict, 1))
            wait_for(driver, "a tap closes the verdict", 8, lambda d: not window(d, VERDICT))
        check_site_only(driver, "phone")
    finally:
        driver.quit()


def main():
    os.makedirs(SHOTS, exist_ok=True)
    for old in os.listdir(SHOTS):
        if old.startswith("web-"):
            os.remove(os.path.join(SHOTS, old))
    t0 = time.monotonic()
    desktop_walk()
    screenshot_at_2x()
    phone_walk()
    print(f"Browser test: {time.monotonic() - t0:.1f} s, {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
