#!/usr/bin/env bash
# Sourced by the demo and screenshot scripts: starts the receiver simulator on a pseudo-terminal
# and points a throwaway settings folder at it, so that the person's own settings are never
# touched. Needs: $build (build folder) and $work (an empty folder); $gpsd_port, $nmea_port and
# $web_port when the servers are not to use their usual ports. Exports XDG_CONFIG_HOME and XDG_CONFIG_DIRS
# and sets $simulator_pid.

# The port's line settings are a first run's: "Auto" finds the receiver's baud rate.
"$build/tools/simulator/devozora-simulator" --link "$work/gps" "${simulator_options[@]}" >"$work/simulator.log" 2>&1 &
simulator_pid=$!
for _ in $(seq 50); do [[ -e "$work/gps" ]] && break; sleep 0.1; done

mkdir -p "$work/config/Quarvel" "$work/xdg/Quarvel"
cat >"$work/xdg/Quarvel/DevozOra.conf" <<SETTINGS
[NMEA]
Device1=$work/gps
COMport=0
TcpPort=${nmea_port:-10110}
[GPSD]
Port=${gpsd_port:-2947}
[Web]
Port=${web_port:-8947}
SETTINGS
: >"$work/config/Quarvel/DevozOra.conf"
export XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/xdg"
