#!/usr/bin/env python3
"""Writes the movie fuzz target's large seeds into the directory given:
movies of thousands of keyframes and long lines. (The keyframe overflow,
more sections than the bound of 100000, is a unit test of the loader: as a
seed every run of it takes seconds.)"""
import os
import sys

KEY = ("NoOfFormula=1000\r\nHeightY=4\r\nMidPointX=-0.55\r\nMidPointY=0\r\nMax_Iterat=50\r\n"
       "CycleTest=3\r\nInterpolationList=(HeightY,+):(Degree,*)\r\n"
       "TextOutputList=(0,0,CycleTest=,CycleTest)\r\n")


def movie(count, sections, body=KEY):
    head = "[OUTPUT]\r\nWidth=64\r\nHeight=48\r\n[KEYS]\r\nCount=%d\r\nActual=1\r\n" % count
    return head + "".join("[KEY%d]\r\n%s" % (i + 1, body) for i in range(sections))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    seeds = {
        "keys_3000.ini": movie(3000, 3000),
        "keys_more_than_count.ini": movie(10, 2000),
        "long_lines.ini": movie(2, 2, KEY + "PictNameOrNotice=" + "x" * 60000 + "\r\n"
                                + "InterpolationList=" + "(HeightY,+):" * 5000 + "\r\n"),
    }
    for name, text in seeds.items():
        with open(os.path.join(out, name), "w", encoding="latin-1", newline="") as f:
            f.write(text)


if __name__ == "__main__":
    main()
