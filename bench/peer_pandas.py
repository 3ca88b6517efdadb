"""The peer of a load and of a merge: pandas reads the logger's CSV file(s) and matplotlib
draws the columns that the monitor's CSV page charts (T1 to T3 with the T level, A1 to A8
with the A level), each chart to a PNG file.

  peer_pandas.py load <file> <outdir>
  peer_pandas.py merge <folder> <yymm> <first day> <last day> <outdir>
"""
import glob
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import pandas as pd  # noqa: E402

COLUMNS = ["Date", "Time", "T1", "T2", "T3"] + [f"A{n}" for n in range(1, 9)] + \
    [f"D{n}" for n in range(12, 0, -1)] + [f"O{n}" for n in range(8, 0, -1)] + ["Status"]
PLOTTED = 16382  # records that get points
T_LEVEL, A_LEVEL = 30, 100


def read(path):
    # The first line of a daily file is the logger's short header line.
    return pd.read_csv(path, header=None, names=COLUMNS, skiprows=1, dtype={"Status": str})


def draw(frame, outdir):
    shown = frame.head(PLOTTED)
    x = range(1, len(shown) + 1)
    for name, columns, level, limits in (
            ("temperature", ["T1", "T2", "T3"], T_LEVEL, (-45, 145)),
            ("analog", [f"A{n}" for n in range(1, 9)], A_LEVEL, (-5, 105))):
        fig, ax = plt.subplots(figsize=(4.57, 2.64), dpi=100)
        for c in columns:
            ax.plot(x, shown[c], linewidth=1, label=c)
        ax.plot(x, [level] * len(shown), linewidth=1, color="white", label="Level")
        ax.set_ylim(*limits)
        ax.set_facecolor("silver")
        ax.legend(loc="upper right", fontsize=6)
        ax.set_title(name.capitalize())
        fig.savefig(os.path.join(outdir, name + ".png"))
        plt.close(fig)


def main():
    mode = sys.argv[1]
    if mode == "load":
        draw(read(sys.argv[2]), sys.argv[3])
    elif mode == "merge":
        folder, yymm, first, last, outdir = sys.argv[2:7]
        files = []
        for day in range(int(first), int(last) + 1):
            files += sorted(glob.glob(os.path.join(folder, f"{yymm}{day:02d}*.csv")))
        merged = pd.concat([read(f) for f in files], ignore_index=True)
        merged.to_csv(os.path.join(outdir, "merged.csv"), header=False, index=False,
                      lineterminator="\r")
        draw(merged, outdir)


if __name__ == "__main__":
    main()
