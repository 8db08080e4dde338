#!/usr/bin/env python3
"""Measures the game's timer periods in a recorded session.

Usage: timer-periods.py REPLAY TRACE [--only TIMER] [--within PERCENT]

REPLAY is a session recorded with `marvolen --record`, TRACE the simulator's trace of it
(`marvolen-sim --replay REPLAY --trace`: the whole game state after each step, one JSON line
per step). Each timer is measured by what its runs move, against the clock readings the
recording holds: the animation by the landscape clock (a quarter degree a run), the blink by
the upper strip (a pixel a run), the effects by the level-complete banner sliding in (a pixel a
run) and the world step by the robot shrinking in the exit sequence (0.02 a run). A timer's
mean period is the time from the first frame that showed one of its runs to the last, divided
by the runs seen after the first. The quit prompt holds the level's timers, so the session is
measured up to the first time it is shown. --only measures one timer (effect, animation, "world step"
or blink). With --within, exits with status 1 unless every measured period is within PERCENT
of its nominal period.
"""
import json
import sys

STEP_WORDS = {"start", "frame", "draw", "escape", "fullscreen", "window"}
MAX_RUNS_PER_STEP = 20

# name, nominal period in ms, state field (and index), change per run, wrap-around
TIMERS = [
    ("effect", 20, ("bannerX", None), -1.0, None),
    ("animation", 30, ("landscapeClock", None), 0.25, 360.0),
    ("world step", 150, ("robotScale", None), -0.02, None),
    ("blink", 200, ("parallax1X", 0), -1.0, 1278.0),
]


def step_times(replay_path):
    """The game-clock time of each step: its first reading, or the last one before it."""
    times = []
    last = 0
    with open(replay_path, encoding="utf-8") as replay:
        for line in replay:
            words = line.split()
            if not words or words[0].startswith("#") or words[0] not in STEP_WORDS:
                continue
            if len(words) > 1 and words[1] != "-" and words[1][0].isdigit():
                last = int(words[1].split(",")[0])
            times.append(last)
    return times


def field_value(state, field):
    name, index = field
    value = state[name]
    return value[index] if index is not None else value


def measure(times, states, field, per_run, wrap):
    """The mean period in ms and the runs it was measured over (None when none were seen)."""
    first_time = last_time = None
    runs = 0
    previous = None
    for time, state in zip(times, states):
        value = field_value(state, field)
        if previous is not None and value != previous:
            change = (value - previous) / per_run
            if change < 0 and wrap is not None:
                change += wrap / abs(per_run)
            # A move against the runs, or by more than a frame could make, is a reset (a level
            # start sets the values again), not runs.
            if 0 < change <= MAX_RUNS_PER_STEP:
                if first_time is None:
                    first_time = time
                else:
                    runs += round(change)
                    last_time = time
        previous = value
    if not runs:
        return None, 0
    return (last_time - first_time) / runs, runs


def main(argv):
    options = dict(zip(argv[3::2], argv[4::2]))
    names = [timer[0] for timer in TIMERS]
    if len(argv) < 3 or len(argv) % 2 == 0 or set(options) - {"--only", "--within"} or \
            options.get("--only", names[0]) not in names:
        sys.stderr.write(__doc__)
        return 2
    times = step_times(argv[1])
    with open(argv[2], encoding="utf-8") as trace:
        states = [json.loads(line) for line in trace if line.strip()]
    # The simulator stops at the step that ended the game; steps recorded after it never ran.
    if len(states) > len(times) or len(states) == 0:
        sys.stderr.write(f"{len(times)} steps in the replay but {len(states)} in the trace\n")
        return 2
    prompt = next((i for i, state in enumerate(states) if state["quitPrompt"]), len(states))
    states = states[:prompt]
    within = float(options["--within"]) if "--within" in options else None
    ok = True
    print("| timer | period | measured mean period | runs measured | off by |")
    print("|---|---|---|---|---|")
    for name, nominal, field, per_run, wrap in TIMERS:
        if options.get("--only", name) != name:
            continue
        period, runs = measure(times, states, field, per_run, wrap)
        if period is None:
            print(f"| {name} | {nominal} ms | not seen | 0 | |")
            ok = False
            continue
        off = 100.0 * (period - nominal) / nominal
        print(f"| {name} | {nominal} ms | {period:.2f} ms | {runs} | {off:+.1f} % |")
        if within is not None and abs(off) > within:
            ok = False
    return 0 if ok or within is None else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
