#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page's budgets, measured in headless Chromium against the site served from localhost:
web_bench.py [BUILD_DIR] [RUNS]. Prints, each the median of RUNS fresh visits (default 5):
first paint of the start page; from the start button to the main window with its lamps moving;
the program's JavaScript plus WebAssembly gzip-compressed; what a first visit at density 1
transfers before the main window shows; the page's main thread while the lamps sweep. Not a
test: it prints figures.
"""
import gzip
import os
import statistics
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

build = sys.argv[1] if len(sys.argv) > 1 else "build-web"
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
site = os.path.join(build, "site")
server = subprocess.Popen(["/usr/bin/python3", "-m", "http.server", "--bind", "127.0.0.1", "-d",
                           site, "8797"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
time.sleep(0.5)


def visit():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--force-device-scale-factor=1", "--window-size=900,700", "--mute-audio"):
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get("http://127.0.0.1:8797/index.html")
        wait = WebDriverWait(driver, 10, poll_frequency=0.02)
        paint = wait.until(lambda d: d.execute_script(
            "const p = performance.getEntriesByName('first-contentful-paint')[0];"
            "return p && p.startTime"))
        wait.until(lambda d: d.execute_script("return typeof QuorblexPro === 'function'"))
        # A user reads the start page first; the page loads the program meanwhile.
        driver.execute_async_script(
            "const done = arguments[0]; window.quorblexDesktop.preload().then(() => done())")
        driver.find_element(By.ID, "start-button").click()
        marks = wait.until(lambda d: d.execute_script(
            "const m = window.quorblexLog.marks; return m.sweep && m.shown102 ? m : null"))
        sizes = driver.execute_script(
            "const until = window.quorblexLog.marks.shown102;"
            "const nav = performance.getEntriesByType('navigation')[0].transferSize;"
            "return nav + performance.getEntriesByType('resource')"
            ".filter(r => r.responseEnd <= until).reduce((n, r) => n + r.transferSize, 0)")
        # The page's main thread while the main window sweeps, over ten seconds.
        driver.execute_cdp_cmd("Performance.enable", {})
        def busy():
            metrics = driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]
            values = {m["name"]: m["value"] for m in metrics}
            return values["TaskDuration"], values["ScriptDuration"]
        before, t0 = busy(), time.monotonic()
        time.sleep(10)
        after, seconds = busy(), time.monotonic() - t0
        cpu = [(a - b) / seconds for a, b in zip(after, before)]
        return paint, marks["sweep"] - marks["startPressed"], sizes, cpu
    finally:
        driver.quit()


try:
    results = [visit() for _ in range(runs)]
finally:
    server.terminate()
program = 0
for name in ("quorblex.js", "quorblex.wasm", "desktop.js"):
    with open(os.path.join(site, name), "rb") as f:
        program += len(gzip.compress(f.read(), 9))
print(f"first paint of the start page: {statistics.median(r[0] for r in results):.0f} ms "
      f"(budget 500 ms)")
print(f"start button to the main window with its lamps moving: "
      f"{statistics.median(r[1] for r in results):.0f} ms (budget 1000 ms)")
print(f"program JavaScript + WebAssembly, gzip: {program / 1024:.0f} KB (budget 600 KB)")
print(f"the page's main thread while the lamps sweep: "
      f"{100 * statistics.median(r[3][0] for r in results):.1f} % of a core, of which script "
      f"{100 * statistics.median(r[3][1] for r in results):.1f} %")
print(f"first visit at density 1 until the main window shows: "
      f"{statistics.median(r[2] for r in results) / 1024 / 1024:.2f} MB (budget 3 MB)")
