# The web page in Chromium, headless, driven by Selenium: what it shows against the GPSD reply of
# the same moment, "No reception" and the fix's age once the simulator drops the fix, a 360x640
# phone upright and on its side without sideways scrolling or cut-off text, 20 pages at once
# beside one that stops reading, one more than the places, while a GPSD watcher loses nothing;
# then the service reads settings of Night in red (SIGHUP): the page says at once that it lost its
# link, comes back by itself, and its screenshot has no green or blue pixel. One browser for
# everything; screenshots are left in WORK.
#   web_page.py WEB_PORT GPSD_PORT WORK DEVOZORA_PID USER_SETTINGS
import io, json, os, re, signal, socket, sys, threading, time

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

web_port, gpsd_port, work, devozora_pid, user_settings = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3], \
    int(sys.argv[4]), sys.argv[5]
page = f"http://127.0.0.1:{web_port}/"


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def until(what, condition, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        result = condition()
        if result:
            return result
        time.sleep(0.2)
    fail(f"{what} within {seconds} s")


def gpsd_tpv():
    with socket.create_connection(("127.0.0.1", gpsd_port), timeout=5) as s:
        s.sendall(b"?POLL;\n")
        data = b""
        while b'"class":"POLL"' not in data:
            data += s.recv(65536)
    poll = json.loads(next(line for line in data.splitlines() if b'"class":"POLL"' in line))
    return poll["tpv"][0] if poll.get("tpv") else {}


def shown():
    return browser.execute_script("""
        const text = (selector) => document.querySelector(selector).textContent;
        const lines = (selector) => Array.from(document.querySelectorAll(selector + ' tspan'), n => n.textContent);
        const line = (selector) => lines(selector).join(' ');
        return {speed: line('#speed .value text'), course: line('#course .value text'),
                position: lines('#position .value text'), time: line('#datetime .value text'),
                date: text('#date'), age: text('#age'), link: text('#link'),
                satellites: document.querySelectorAll('#satellites circle').length};""")


def degrees(text):
    match = re.fullmatch(r"(\d+)º(\d+\.\d+)' ([NSEW])", text)
    value = int(match[1]) + float(match[2]) / 60
    return -value if match[3] in "SW" else value


def compare_with_gpsd():
    """The page's values and GPSD's report of the same moment, to within one receiver cycle."""
    before, values, after = gpsd_tpv(), shown(), gpsd_tpv()
    # The page looks twice a second: a fix just come or gone may not be on it yet.
    if "lat" not in before or "lat" not in after or values["speed"] == "No reception":
        return None
    if values["age"]:
        fail(f"with a fix the page tells the age of the last: {values['age']}")
    knots = float(values["speed"])
    lat, lon = degrees(values["position"][0]), degrees(values["position"][1])
    course = int(values["course"].rstrip("º"))

    def near(report):
        gpsd_knots = report["speed"] / 0.514444
        return (abs(knots - gpsd_knots) <= 0.06 and abs(lat - report["lat"]) < 1e-4
                and abs(lon - report["lon"]) < 1e-4 and abs(course - report["track"]) <= 1.01
                and report["time"][11:19] == values["time"])
    if not (near(before) or near(after)):
        fail(f"the page shows {values}, GPSD said {before} and {after}")
    return values


def screenshot():
    return Image.open(io.BytesIO(browser.get_screenshot_as_png())).convert("RGB")


def night_red():
    # Every pixel the page draws is red only: no green or blue anywhere on the screen.
    image = screenshot()
    image.save(f"{work}/night-tablet.png")
    coloured = [p for p in image.getdata() if p[1] or p[2]]
    if coloured:
        fail(f"{len(coloured)} pixels with green or blue at Night red, e.g. {coloured[:5]}")


def phone(name):
    # A phone upright and on its side: one instrument fills the screen, each in turn, without
    # sideways scrolling or a text cut off at its edges.
    for width, height in ((360, 640), (640, 360)):
        browser.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": True})
        fits_phone(f"{name}-phone-{width}x{height}")
    browser.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


def fits_phone(name):
    for n in range(6):
        browser.execute_script(f"show({n});")
        time.sleep(0.3)
        problem = browser.execute_script("""
            const root = document.documentElement;
            if (root.scrollWidth > innerWidth) return 'the page scrolls sideways: ' + root.scrollWidth;
            const shownOne = document.querySelector('.instrument.current');
            const box = shownOne.getBoundingClientRect();
            if (box.width < innerWidth - 2 || box.bottom > innerHeight + 1) return 'not the whole screen';
            for (const node of shownOne.querySelectorAll('text, .heading, .date')) {
                const r = node.getBoundingClientRect();
                if (r.width === 0) continue;
                if (r.left < box.left - 1 || r.right > box.right + 1 || r.top < box.top - 1 || r.bottom > box.bottom + 1)
                    return shownOne.id + ': "' + node.textContent + '" reaches beyond its instrument';
                if (!(node instanceof SVGElement) && node.scrollWidth > node.clientWidth + 1) return shownOne.id + ': "' + node.textContent + '" is cut';
            }
            return '';""")
        if problem:
            fail(f"{name}: {problem}")
        screenshot().save(f"{work}/{name}-{n}.png")


def watch_gpsd(seconds, reports):
    with socket.create_connection(("127.0.0.1", gpsd_port), timeout=5) as s:
        s.sendall(b'?WATCH={"enable":true,"json":true};\n')
        data, end = b"", time.monotonic() + seconds
        while time.monotonic() < end:
            data += s.recv(65536)
    reports.extend(json.loads(line) for line in data.splitlines() if b'"class":"TPV"' in line)


def crowd():
    # 20 pages at once, each in a frame of this one, beside this page and one that never reads
    # what it is sent: one more than the 21 places, so one frame is told to try again, while the
    # others are live; a watcher of the GPSD port meanwhile gets every cycle's report, once.
    reports = []
    watcher = threading.Thread(target=watch_gpsd, args=(10, reports))
    watcher.start()
    silent = socket.socket()
    silent.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
    silent.connect(("127.0.0.1", web_port))
    silent.sendall(b"GET /live HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                   b"Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n")
    browser.execute_script("""
        document.body.textContent = '';
        for (let n = 0; n < 20; ++n) {
            const frame = document.createElement('iframe');
            frame.src = '/';
            frame.width = 320; frame.height = 240;
            document.body.appendChild(frame);
        }""")
    until("19 pages live and one told to try again", lambda: browser.execute_script("""
        const frames = Array.from(document.querySelectorAll('iframe'), f => f.contentDocument);
        const link = (frame) => (frame && frame.getElementById('link') || {textContent: ''}).textContent;
        return frames.filter(f => link(f) === 'Live from the station' &&
                                  f.querySelector('#speed .value text').textContent !== '').length === 19 &&
            frames.filter(f => link(f).startsWith('The station serves as many pages as it may')).length === 1;"""))
    watcher.join()
    silent.close()
    times = [report.get("time") for report in reports]
    if not 9 <= len(reports) <= 11 or len(set(times)) != len(times):
        fail(f"the GPSD watcher got {len(reports)} reports in 10 s beside 20 pages: {times}")
    browser.get(page)


options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for argument in ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", f"--user-data-dir={work}/chromium",
                 "--window-size=1280,800", "--force-device-scale-factor=1"):
    options.add_argument(argument)
browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
try:
    browser.get(page)
    until("the page and GPSD agree on a fix", compare_with_gpsd)
    screenshot().save(f"{work}/day-tablet.png")
    lost = until("the page shows the loss of fix", lambda: (lambda v: v if v["speed"] == "No reception" else None)(shown()))
    if lost["position"] != ["No", "reception"] or lost["time"] != "No reception" or lost["date"]:
        fail(f"during the loss the page shows {lost}")
    until("the page shows the fix's age", lambda: re.fullmatch(r"Last fix \d+ s ago", shown()["age"]))
    until("the fix back", lambda: shown()["speed"] != "No reception")
    phone("day")
    crowd()

    # Night in red, as the person's settings say; the service reads them again on SIGHUP and
    # starts its servers anew.
    with open(user_settings, "w") as settings:
        settings.write("[Local]\nBrightnessMode=3\nNightRed=True\n")
    os.kill(devozora_pid, signal.SIGHUP)
    until("the page says it lost its link", lambda: shown()["link"].startswith("Connection to the station lost"), 5)
    until("the page back by itself", lambda: shown()["link"] == "Live from the station")
    until("the page at the station's Night", lambda: browser.execute_script(
        "return getComputedStyle(document.documentElement).getPropertyValue('--value').trim() === '#400000';"))
    until("a fix", lambda: shown()["speed"] != "No reception")
    night_red()
    phone("night")
finally:
    browser.quit()
print("the web page agrees with GPSD, shows the loss, fits a phone, fills every place beside a silent page and "
      "tells the next to try again, comes back after a restart and is red only at Night red")
