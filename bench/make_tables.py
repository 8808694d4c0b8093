#!/usr/bin/env python3
"""Writes the benchmark tables: NAME.tbx for qelpro and NAME.dat for gnuplot, same numbers.

    make_tables.py DIR GROUPS POINTS NAME [SEED]
Each group is a random walk; X is the point number.
"""
import random
import sys

out, groups, points, name = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
rng = random.Random(int(sys.argv[5]) if len(sys.argv) > 5 else 1)
walks = []
for g in range(groups):
    v, walk = 100.0 * (g + 1), []
    for _ in range(points):
        v += rng.gauss(0, 1)
        walk.append(round(v, 3))
    walks.append(walk)

lines = ["TopTit=\tRandom walks", "Title=\tqelPro benchmark", "Version=\t 1 ",
         "Type=\t 1 \tTypeOpt\t 0 ", "Group=\t %d " % groups, "Count=\t %d " % points,
         "Xlegend=\tstep", "Ylegend=\tvalue", "Zlegend=\t", "",
         "{Begin}\t" + "".join(" %d \t\t" % (g + 1) for g in range(groups)),
         "{Group}\t" + "".join("walk %d\t\t" % (g + 1) for g in range(groups)),
         "{Data}" + "\tx\ty" * groups]
for p in range(points):
    lines.append("%d" % (p + 1) + "".join("\t %d\t %g" % (p + 1, walks[g][p]) for g in range(groups)))
lines.append("{End}")
with open("%s/%s.tbx" % (out, name), "w", newline="") as f:
    f.write("\r\n".join(lines) + "\r\n")
with open("%s/%s.dat" % (out, name), "w") as f:
    for p in range(points):
        f.write("%d %s\n" % (p + 1, " ".join("%g" % walks[g][p] for g in range(groups))))
