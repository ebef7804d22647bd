#!/usr/bin/python3
"""Browses gallery pages in headless Chromium as a visitor would.

    browse_gallery.py CHROMEDRIVER CHROMIUM PROFILE ALBUMS PAGE...

ALBUMS is the number of folders the pictures are in. A page that has a script
must have the viewer. Prints one line per fault and exits 1 if there is any.
"""
import pathlib
import re
import sys
import urllib.parse

from selenium import webdriver
from selenium.common.exceptions import TimeoutException, WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

faults = []


def check(ok, fault):
    if not ok:
        faults.append(fault)
    return ok


def wait_for(driver, script, *args, seconds=5):
    """Whether the script's value turns true within the time."""
    try:
        WebDriverWait(driver, seconds).until(lambda d: d.execute_script(script, *args))
        return True
    except TimeoutException:
        return False


def start(chromedriver, chromium, profile):
    options = webdriver.ChromeOptions()
    options.binary_location = chromium
    # Tests run as root, where Chromium's sandbox cannot start.
    for arg in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage",
                "--user-data-dir=" + profile, "--window-size=1366,768"):
        options.add_argument(arg)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service(chromedriver), options=options)


def no_console_error(driver, page):
    for entry in driver.get_log("browser"):
        check(entry["level"] != "SEVERE", f"{page}: console error: {entry['message']}")


# The grid's pictures, not the viewer's.
GRID_IMAGES = "[...document.images].filter(i => !i.closest('dialog'))"


def every_picture_loads(driver, page):
    count = driver.execute_script(f"return {GRID_IMAGES}.length")
    check(count > 0, f"{page}: no <img> in the page")
    for i in range(count):
        # They load lazily: each is scrolled into view first.
        driver.execute_script(f"{GRID_IMAGES}[arguments[0]].scrollIntoView({{block: 'center'}})", i)
        loaded = wait_for(driver, f"const i = {GRID_IMAGES}[arguments[0]]; return i.complete", i)
        src, width = driver.execute_script(
            f"const i = {GRID_IMAGES}[arguments[0]]; return [i.getAttribute('src'), i.naturalWidth]", i)
        check(loaded and width > 0, f"{page}: picture {src} did not load (natural width {width})")


def albums_are_listed(driver, page, albums, viewer):
    headings = driver.execute_script("return document.querySelectorAll('h2.album').length")
    check(headings == albums, f"{page}: {headings} album headings (h2.album), expected {albums}, one per folder")
    if viewer and albums > 1:
        linked = driver.execute_script("""
            const headings = [...document.querySelectorAll('h2.album')];
            const targets = [...document.querySelectorAll('nav.albums a')]
                .map(a => document.getElementById(decodeURIComponent(a.hash.slice(1))));
            return targets.length === headings.length && targets.every((t, i) => t === headings[i]);""")
        check(linked, f"{page}: nav.albums does not link to each album heading in turn")


def fits_a_phone(driver, page):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 360, "height": 740, "deviceScaleFactor": 2, "mobile": True})
    widths = driver.execute_script(
        "const e = document.documentElement; return [e.scrollWidth, e.clientWidth]")
    check(widths[0] <= widths[1], f"{page}: a 360x740 window scrolls sideways ({widths[0]} px wide in {widths[1]})")
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


VIEWER_OPEN = "const d = document.querySelector('dialog.viewer'); return !!d && d.open"
VIEWER_CLOSED = "const d = document.querySelector('dialog.viewer'); return !d || !d.open"
SHOWN = "const p = document.querySelector('dialog.viewer img.viewer-picture'); return p && p.src"


def thumbnail_links(driver):
    return driver.find_elements(By.CSS_SELECTOR, ".thumbnails figure a[href]")


def shows(driver, page, link, what):
    """Whether the viewer opens on the link's display picture."""
    want = link.get_attribute("href")
    if not check(wait_for(driver, VIEWER_OPEN), f"{page}: {what} does not open dialog.viewer"):
        return False
    shown = driver.execute_script(SHOWN)
    return check(shown == want, f"{page}: {what} shows {shown}, expected {want}")


def press(driver, key):
    ActionChains(driver).send_keys(key).perform()


def viewer_from_the_grid(driver, page, url):
    links = thumbnail_links(driver)
    if not check(len(links) >= 4, f"{page}: {len(links)} thumbnail links, the viewer check needs 4"):
        return
    links[2].click()
    if not shows(driver, page, links[2], "a click on the 3rd thumbnail"):
        return
    press(driver, Keys.ARROW_RIGHT)
    check(wait_for(driver, SHOWN + " === arguments[0]", links[3].get_attribute("href")),
          f"{page}: ArrowRight does not show the 4th picture")
    press(driver, Keys.ESCAPE)
    check(wait_for(driver, VIEWER_CLOSED), f"{page}: Escape does not close the viewer")
    if not stays(driver, page, url, "Escape"):
        return
    check(driver.execute_script("return document.activeElement === arguments[0]", links[2]),
          f"{page}: after Escape the focus is not on the 3rd thumbnail's link")

    # The browser's Back closes a viewer opened from the grid.
    links[2].click()
    if shows(driver, page, links[2], "a second click on the 3rd thumbnail"):
        driver.back()
        check(wait_for(driver, VIEWER_CLOSED), f"{page}: Back does not close the viewer")
        stays(driver, page, url, "Back")


def stays(driver, page, url, what):
    """Whether closing the viewer left the address without a fragment, on the page."""
    wait_for(driver, "return location.hash === ''")
    return check(driver.current_url == url, f"{page}: after {what} the address is {driver.current_url}")


def viewer_from_an_address(driver, page, url):
    # The most awkward name: spaces, '&', '#' and non-ASCII all travel in the fragment.
    driver.get(url)
    names = [pathlib.PurePosixPath(urllib.parse.unquote(a.get_attribute("data-original") or "")).stem
             for a in thumbnail_links(driver)]
    plain = re.compile(r"[A-Za-z0-9_-]*")
    pick = next((i for i, n in enumerate(names) if not plain.fullmatch(n)), len(names) - 1)
    if not check(pick >= 0 and names[pick] != "", f"{page}: no thumbnail link with data-original"):
        return
    driver.get("about:blank")
    driver.get(url + "#" + urllib.parse.quote(names[pick]))
    if shows(driver, page, thumbnail_links(driver)[pick], f"the address #{names[pick]}"):
        # A visitor who came by a link to one picture stays on the page when closing it.
        press(driver, Keys.ESCAPE)
        check(wait_for(driver, VIEWER_CLOSED), f"{page}: Escape does not close the viewer opened by an address")
        stays(driver, page, url, "Escape in the viewer opened by an address")


def browse(driver, page, albums):
    url = pathlib.Path(page).resolve().as_uri()
    driver.get(url)
    viewer = driver.execute_script("return document.scripts.length > 0")
    every_picture_loads(driver, page)
    albums_are_listed(driver, page, albums, viewer)
    if viewer:
        viewer_from_the_grid(driver, page, url)
        viewer_from_an_address(driver, page, url)
    fits_a_phone(driver, page)
    no_console_error(driver, page)
    return viewer


def main(chromedriver, chromium, profile, albums, *pages):
    driver = start(chromedriver, chromium, profile)
    viewers = []
    for page in pages:
        try:
            viewers.append(browse(driver, page, int(albums)))
        except WebDriverException as e:
            faults.append(f"{page}: the browser failed: {e.msg}")
    driver.quit()
    check(any(viewers), "no gallery page has a viewer (a page with a script)")
    print("\n".join(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) < 6:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
