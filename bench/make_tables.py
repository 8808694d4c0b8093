#!/usr/bin/env python3
"""Writes the benchmark tables: NAME.tbx for qelpro and NAME.dat for gnuplot, same numbers.

    make_tables.py DIR GROUPS POINTS NAME [SEED] [--common-x]
Each group is a random walk; X is the point number. With --common-x the table has one X
column shared by every group (the compact layout of the largest tables) and no .dat is written.
"""
import random
import sys

args = [a for a in sys.argv[1:] if not a.startswith("--")]
common_x = "--common-x" in sys.argv
out, groups, points, name = args[0], int(args[1]), int(args[2]), args[3]
rng = random.Random(int(args[4]) if len(args) > 4 else 1)
walks = []
for g in range(groups):
    v, walk = 100.0 * (g + 1), []
    for _ in range(points):
        v += rng.gauss(0, 1)
        walk.append(round(v, 3 if not common_x else 1))
    walks.append(walk)

lines = ["TopTit=\tRandom walks", "Title=\tqelPro benchmark", "Version=\t 1 ",
         "Type=\t 1 \tTypeOpt\t 0 ", "Group=\t %d " % groups, "Count=\t %d " % points,
         "Xlegend=\tstep", "Ylegend=\tvalue", "Zlegend=\t", ""]
if common_x:
    lines += ["{Begin}\t" + "".join(" %d \t" % (g + 1) for g in range(groups)),
              "{Group}\t" + "\t".join("walk %d" % (g + 1) for g in range(groups)),
              "{Data}\tcommonX"]
    for p in range(points):
        lines.append("%d\t%d\t" % (p + 1, p + 1) + "\t".join("%g" % walks[g][p] for g in range(groups)))
else:
    lines += ["{Begin}\t" + "".join(" %d \t\t" % (g + 1) for g in range(groups)),
              "{Group}\t" + "".join("walk %d\t\t" % (g + 1) for g in range(groups)),
              "{Data}" + "\tx\ty" * groups]
    for p in range(points):
        lines.append("%d" % (p + 1) + "".join("\t %d\t %g" % (p + 1, walks[g][p]) for g in range(groups)))
lines.append("{End}")
with open("%s/%s.tbx" % (out, name), "w", newline="") as f:
    f.write("\r\n".join(lines) + "\r\n")
if not common_x:
    with open("%s/%s.dat" % (out, name), "w") as f:
        for p in range(points):
            f.write("%d %s\n" % (p + 1, " ".join("%g" % walks[g][p] for g in range(groups))))
