"""Reads the exported setup with mido, a MIDI library of its own origin, and
checks it against the messages the exporter meant to write.

usage: read_exports.py EXPORT_PROGRAM
"""
import os
import subprocess
import sys
import tempfile

import mido

# The delta of every event for each value of the density slider: 27 ticks a
# step, two bytes from 128 on; any other value keeps 0.
DELTAS = {value: 27 * (value + 1) for value in range(8)}
DELTAS[9] = 0


def fail(text):
    print("FAIL:", text)
    sys.exit(1)


def check(program, folder, density):
    subprocess.run([program, folder, str(density)], check=True)
    with open(folder + "/messages.txt") as f:
        expected = [bytes.fromhex(line) for line in f.read().split("\n") if line]
    if len(expected) != 68:
        fail("%d messages listed" % len(expected))

    size = os.path.getsize(folder + "/setup.mid")
    if size != (2759 if DELTAS[density] >= 128 else 2691):
        fail("a MIDI file of %d bytes at density %d" % (size, density))
    midi = mido.MidiFile(folder + "/setup.mid")
    if midi.type != 0 or len(midi.tracks) != 1:
        fail("type %d with %d tracks" % (midi.type, len(midi.tracks)))
    if midi.ticks_per_beat != 480:
        fail("%d ticks per beat" % midi.ticks_per_beat)
    track = midi.tracks[0]
    metas = [m for m in track if m.is_meta]
    names = [m.name for m in metas if m.type == "track_name"]
    if names != ["REQPFALL"]:
        fail("track names %r" % names)
    tempos = [m.tempo for m in metas if m.type == "set_tempo"]
    if tempos != [500000]:
        fail("tempos %r" % tempos)
    signatures = [(m.numerator, m.denominator, m.clocks_per_click, m.notated_32nd_notes_per_beat)
                  for m in metas if m.type == "time_signature"]
    if signatures != [(4, 4, 24, 8)]:
        fail("time signatures %r" % signatures)
    if track[-1].type != "end_of_track" or track[-1].time != 0:
        fail("the track ends with %r" % track[-1])

    sysex = [m for m in track if m.type == "sysex"]
    if len(sysex) != 68:
        fail("%d SysEx events in the MIDI file" % len(sysex))
    for i, (m, want) in enumerate(zip(sysex, expected)):
        if bytes(m.bytes()) != want:
            fail("MIDI file event %d: %s, not %s" % (i, bytes(m.bytes()).hex(), want.hex()))
        if m.time != DELTAS[density]:
            fail("MIDI file event %d at delta %d" % (i, m.time))
    if len(track) != 68 + 4:
        fail("%d events in the track" % len(track))

    syx = mido.read_syx_file(folder + "/setup.syx")
    if len(syx) != 68:
        fail("%d messages in the SysEx file" % len(syx))
    for i, (m, want) in enumerate(zip(syx, expected)):
        if bytes(m.bytes()) != want:
            fail("SysEx file message %d: %s, not %s" % (i, bytes(m.bytes()).hex(), want.hex()))


def main():
    for density in sorted(DELTAS):
        with tempfile.TemporaryDirectory() as folder:
            check(sys.argv[1], folder, density)
    print("mido read both exports whole")


main()
