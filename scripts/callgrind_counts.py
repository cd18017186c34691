"""Prints one figure's instruction counts from the dumps a --callgrind run of the benchmark left in a folder.

The benchmark dumps callgrind's counters after the measured work (labelled with the figure's name) and after its
baseline (the name + " (baseline)").
"""
import pathlib
import re
import sys


def counts(folder):
    found = {}
    for dump in pathlib.Path(folder).glob("callgrind.*"):
        text = dump.read_text(errors="replace")
        label = re.search(r"^desc: Trigger: Client Request: (.*)$", text, re.M)
        total = re.search(r"^(?:summary|totals): (\d+)", text, re.M)
        if label and total:
            found[label.group(1)] = int(total.group(1))
    return found


def main():
    name, folder = sys.argv[1], sys.argv[2]
    found = counts(folder)
    work, floor = found.get(name), found.get(name + " (baseline)")
    if work is None or floor is None:
        sys.exit(f"{name}: no callgrind counts in {folder}")
    print(f"{name}: {work / 1e6:.1f} M instructions (baseline {floor / 1e6:.1f} M instructions, ratio {work / floor:.2f})")


main()
