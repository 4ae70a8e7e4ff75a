"""Compares the TPV and SKY reports of devozora and of gpsd for the same replayed log.

usage: compare_reports.py OURS.json THEIRS.json   (gpspipe -w output of each)
Positions to 1e-6 degree, speed to 0.01 m/s, track to 0.01 degree, time to the second; the last
sky of each must list the same satellites (constellation and number within it) with the same
elevation, azimuth and signal strength.
"""
import json
import sys
from datetime import datetime

# gpsd moves dates it thinks are before a GPS week-number rollover on by 1024 weeks; an old log's
# date then differs by exactly that, which is gpsd's guess, not a disagreement.
ROLLOVER_SECONDS = 1024 * 7 * 86400


def reports(path):
    with open(path) as stream:
        return [json.loads(line) for line in stream if line.startswith("{")]


def seconds(time):
    return datetime.fromisoformat(time.replace("Z", "+00:00")).timestamp()


def fixes(objects):
    """TPV reports with a position, by time to the second (the last of each second)."""
    by_time = {}
    for tpv in objects:
        if tpv["class"] == "TPV" and "lat" in tpv and "time" in tpv:
            by_time[round(seconds(tpv["time"])) % ROLLOVER_SECONDS] = tpv
    return by_time


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
    if not skies:
        return {}
    sky = {}
    for satellite in skies[-1]["satellites"]:
        key = renumber((satellite.get("gnssid"), satellite.get("svid")))
        # A satellite heard on several signals counts once, at its strongest.
        if key not in sky or satellite.get("ss", 0) > sky[key].get("ss", 0):
            sky[key] = satellite
    return sky


def main():
    ours, theirs = reports(sys.argv[1]), reports(sys.argv[2])
    our_fixes, their_fixes = fixes(ours), fixes(theirs)
    common = sorted(set(our_fixes) & set(their_fixes))
    problems = []
    if len(common) < 3:
        problems.append(f"too few fixes to compare: {len(our_fixes)} ours, {len(their_fixes)} gpsd's")
    for time in common:
        a, b = our_fixes[time], their_fixes[time]
        for field, tolerance in (("lat", 1e-6), ("lon", 1e-6), ("speed", 0.01), ("track", 0.01)):
            if field in a and field in b and abs(a[field] - b[field]) > tolerance:
                problems.append(f"{a['time']}: {field} {a[field]} against gpsd's {b[field]}")
    our_sky, their_sky = last_sky(ours, gpsd_numbering), last_sky(theirs)
    if set(our_sky) != set(their_sky):
        problems.append(f"satellites differ: only ours {sorted(set(our_sky) - set(their_sky))}, "
                        f"only gpsd's {sorted(set(their_sky) - set(our_sky))}")
    for key in sorted(set(our_sky) & set(their_sky)):
        for field in ("el", "az", "ss"):
            if our_sky[key].get(field) != their_sky[key].get(field):
                problems.append(f"satellite {key}: {field} {our_sky[key].get(field)} "
                                f"against gpsd's {their_sky[key].get(field)}")
    for problem in problems[:20]:
        print(problem)
    print(f"compared {len(common)} fixes and {len(our_sky)} satellites")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
