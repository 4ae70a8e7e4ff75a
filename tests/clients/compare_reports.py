"""Compares what the watchers of devozora and of gpsd are told about the same receiver.

usage: compare_reports.py OURS.json THEIRS.json         (gpspipe -w output of each, a replayed log)
       compare_reports.py --live OURPORT THEIRPORT SECONDS  (watches both: a receiver's life cycle)
Both: one TPV per receiver cycle, times never going backwards, the same TPV fields present and
absent, positions to 1e-6 degree, speed to 0.01 m/s, track and the error estimates to 0.01. A log:
the last sky of each must list the same satellites with the same elevation, azimuth and signal
strength. A life cycle: second by second, the fix modes agree within one second, and so do the
last sky's DOPs from the satellites' geometry.
"""
import json
import select
import socket
import sys
import time
from collections import Counter
from datetime import datetime

# gpsd moves dates it thinks are before a GPS week-number rollover on by 1024 weeks; an old log's
# date then differs by exactly that, which is gpsd's guess, not a disagreement.
ROLLOVER_SECONDS = 1024 * 7 * 86400
# What gpsd takes from its own magnetic model where the receiver gives no variation, which
# devozora does not report, and the status that gpsd leaves out when it is 1.
NOT_COMPARED = {"magtrack", "status", "magvar"}
TOLERANCES = (("lat", 1e-6), ("lon", 1e-6), ("speed", 0.01), ("track", 0.01), ("magtrack", 0.01), ("altMSL", 0.01))
# The simulator sends no GST, whose error ellipse gpsd prefers to the DOPs: there the estimates
# from the satellites' geometry must agree, and what follows from them and the altitudes. (gpsd
# takes eph, epv, sep and epc from the DOPs of the cycle before, devozora from the cycle's own.)
ESTIMATES = (("epx", 0.01), ("epy", 0.01), ("eps", 0.02), ("climb", 0.01))
# gpsd sends several TPVs per cycle until it has learned which sentence ends the receiver's cycle.
LEARNING_CYCLES = 3
# Rates from the cycle before: gpsd, finding a device that came back a cycle later, has none yet
# on its first fix.
RATES = {"climb", "eps", "epc"}


def seconds(time_text):
    return round(datetime.fromisoformat(time_text.replace("Z", "+00:00")).timestamp()) % ROLLOVER_SECONDS


def tpvs(objects):
    return [o for o in objects if o["class"] == "TPV"]


def cycles(name, objects, problems):
    """TPVs with a time, by time, and the times of those still learning; one per cycle once learned
    (at the start, and again when a device comes back), never going backwards."""
    times, learning, unlearned = [], set(), LEARNING_CYCLES
    for report in objects:
        if report["class"] == "DEVICE" and report.get("activated", 0) != 0:
            unlearned = LEARNING_CYCLES
        elif report["class"] == "TPV" and "time" in report:
            if unlearned and report["time"] not in learning:
                learning.add(report["time"])
                unlearned -= 1
            times.append(report["time"])
    if any(later < earlier for earlier, later in zip(times, times[1:])):
        problems.append(f"{name}: time goes backwards")
    repeated = [t for t, n in Counter(times).items() if n > 1 and t not in learning]
    if repeated:
        problems.append(f"{name}: {len(repeated)} cycles with several TPVs, such as {repeated[0]}")
    return {seconds(tpv["time"]): tpv for tpv in tpvs(objects) if "time" in tpv}, learning


def compare_tpvs(ours, theirs, problems, tolerances):
    (our_cycles, _), (their_cycles, learning) = cycles("devozora", ours, problems), cycles("gpsd", theirs, problems)
    common = sorted(set(our_cycles) & set(their_cycles))
    if len(common) < 3:
        problems.append(f"too few cycles to compare: {len(our_cycles)} ours, {len(their_cycles)} gpsd's")
    for key in common:
        a, b = our_cycles[key], their_cycles[key]
        ignored = NOT_COMPARED | {"device"} | (RATES if b["time"] in learning else set())
        fields_a, fields_b = set(a) - ignored, set(b) - ignored
        if fields_a != fields_b:
            problems.append(f"{a['time']}: only ours {sorted(fields_a - fields_b)}, only gpsd's {sorted(fields_b - fields_a)}")
        for field, tolerance in tolerances:
            if field in a and field in b and abs(a[field] - b[field]) > tolerance:
                problems.append(f"{a['time']}: {field} {a[field]} against gpsd's {b[field]}")
    return len(common)


def gpsd_numbering(key):
    """gpsd 3.22 files Galileo and BeiDou satellites that an NMEA 4.10 receiver numbers 33 to 64
    under SBAS, as that number plus 87 (the GPS talker's SBAS convention). Our report keeps their
    constellation; for the comparison they are named the way gpsd names them."""
    gnssid, svid = key
    if gnssid in (2, 3) and 33 <= svid <= 64:
        return (1, svid + 87)
    return key


def last_sky(objects, renumber=lambda key: key):
    skies = [o for o in objects if o["class"] == "SKY" and o.get("satellites")]
    sky = {}
    for satellite in skies[-1]["satellites"] if skies else []:
        key = renumber((satellite.get("gnssid"), satellite.get("svid")))
        # A satellite heard on several signals counts once, at its strongest.
        if key not in sky or satellite.get("ss", 0) > sky[key].get("ss", 0):
            sky[key] = satellite
    return sky


def compare_skies(ours, theirs, problems):
    our_sky, their_sky = last_sky(ours, gpsd_numbering), last_sky(theirs)
    if set(our_sky) != set(their_sky):
        problems.append(f"satellites differ: only ours {sorted(set(our_sky) - set(their_sky))}, "
                        f"only gpsd's {sorted(set(their_sky) - set(our_sky))}")
    for key in sorted(set(our_sky) & set(their_sky)):
        for field in ("el", "az", "ss"):
            if our_sky[key].get(field) != their_sky[key].get(field):
                problems.append(f"satellite {key}: {field} {our_sky[key].get(field)} "
                                f"against gpsd's {their_sky[key].get(field)}")
    return len(our_sky)


def compare_geometry(ours, theirs, problems):
    """The DOPs that both take from the geometry of the satellites in use, in the last sky (of a
    GPS receiver: gpsd counts the used satellites of other constellations its own way)."""
    our_skies, their_skies = ([o for o in objects if o["class"] == "SKY" and o.get("satellites")]
                              for objects in (ours, theirs))
    for field in ("xdop", "ydop", "tdop", "gdop") if our_skies and their_skies else ():
        a, b = our_skies[-1].get(field), their_skies[-1].get(field)
        if a is None or b is None or abs(a - b) > 0.01:
            problems.append(f"the last sky's {field}: {a} against gpsd's {b}")


def watch(ports, duration):
    """Every object each server sends a JSON watcher, with the second it arrived in. A line that
    is not JSON fails the comparison right here."""
    connections = {socket.create_connection(("127.0.0.1", port)): name for name, port in ports.items()}
    for connection in connections:
        connection.sendall(b'?WATCH={"enable":true,"json":true};\n')
    events = {name: [] for name in ports}
    pending = {connection: b"" for connection in connections}
    start = time.monotonic()
    while time.monotonic() - start < duration:
        for connection in select.select(list(connections), [], [], 0.2)[0]:
            *lines, pending[connection] = (pending[connection] + connection.recv(65536)).split(b"\n")
            arrival = int(time.monotonic() - start)
            events[connections[connection]] += [(arrival, json.loads(line)) for line in lines if line.strip()]
    return events


def modes(events, duration):
    """The fix mode a watcher knows at the end of each second: a device gone means no fix, one
    that has come back says nothing until its first TPV (".": gpsd sniffs it out first)."""
    mode, timeline = 0, []
    for second in range(duration):
        for arrival, report in events:
            if arrival == second and report["class"] == "TPV":
                mode = report["mode"]
            elif arrival == second and report["class"] == "DEVICE" and "activated" in report:
                mode = 1 if report["activated"] == 0 else "."
        timeline.append(mode)
    return timeline


def live(our_port, their_port, duration, problems):
    events = watch({"ours": our_port, "theirs": their_port}, duration)
    ours, theirs = modes(events["ours"], duration), modes(events["theirs"], duration)
    print("devozora " + "".join(map(str, ours)) + "\ngpsd     " + "".join(map(str, theirs)))
    for second in range(LEARNING_CYCLES, duration - 1):
        nearby = theirs[second - 1:second + 2]
        if ours[second] != "." and "." not in nearby and ours[second] not in nearby:
            problems.append(f"second {second}: devozora says mode {ours[second]}, gpsd {theirs[second]}")
    if ours.count(1) < 10 or ours[-1] != 3 or theirs[-1] != 3:
        problems.append("the life cycle did not run: no loss, or no fix at the end")
    return [report for _, report in events["ours"]], [report for _, report in events["theirs"]]


def main():
    problems = []
    if sys.argv[1] == "--live":
        ours, theirs = live(int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), problems)
        satellites, tolerances = 0, TOLERANCES + ESTIMATES
        compare_geometry(ours, theirs, problems)
    else:
        ours, theirs = ([json.loads(line) for line in open(path) if line.startswith("{")] for path in sys.argv[1:3])
        satellites, tolerances = compare_skies(ours, theirs, problems), TOLERANCES
    compared = compare_tpvs(ours, theirs, problems, tolerances)
    for problem in problems[:20]:
        print(problem)
    print(f"compared {compared} cycles and {satellites} satellites")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
