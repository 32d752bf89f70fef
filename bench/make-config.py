#!/usr/bin/env python3
"""Writes sample inputs for the renumbering benchmark.

  make-config.py areas SIZE_MB PATH   a scenery configuration of about SIZE_MB megabytes
  make-config.py line SIZE_BYTES PATH one line of exactly SIZE_BYTES bytes, CR LF included

The configuration looks like one grown over years of installing add-ons: a [General] section,
then areas whose header and layer numbers are shuffled, of mixed letter case and zero fill, with
optional keys and blank lines, all in CR LF. The output is the same for the same arguments, and
the area count is printed.
"""

import random
import sys

ICAO = [a + b + c + d for a in "EKLS" for b in "DGHKLR" for c in "ABLMRT" for d in "ADFLNSX"]
PLACES = ["Heathrow", "Schiphol", "Frankfurt", "Kastrup", "Arlanda", "Barajas", "Innsbruck",
          "Lugano", "Sion", "St. Moritz", "Zell am See", "Lukla", "Queenstown", "Juneau",
          "Ketchikan", "Aspen", "Telluride", "Catalina", "Nantucket", "Bar Harbor"]
KINDS = ["", " Airport", " Airfield", " Int'l", " Regional", " Heliports", " Photo Scenery",
         " Mesh 38m", " Landclass", " Autogen", " Coastline", " Night Lighting"]
MAKERS = ["", " by J. Doe", " (freeware)", " v1.0", " v2.1", " v3.02 SP1", " - Custom"]
FOLDERS = ["Addon Scenery", "Addon Scenery\\Europe", "Addon Scenery\\North America",
           "Addon Scenery\\Asia", "Scenery\\Addons", "Addon Scenery\\Mesh"]


def Area(rng, number, layer):
    title = rng.choice(ICAO) + " " + rng.choice(PLACES) + rng.choice(KINDS) + rng.choice(MAKERS)
    # Old files carry every spelling of the header that the simulator accepts.
    style = rng.random()
    if style < 0.85:
        header = "[Area.%03d]" % number
    elif style < 0.95:
        header = "[Area.%d]" % number
    else:
        header = "[area.%04d]" % number
    lines = [header, "Title=" + title]
    if rng.random() < 0.6:
        lines.append("Texture_ID=%d" % rng.randint(1, 9999))
    if rng.random() < 0.5:
        lines.append("Remote=")
    lines.append("Local=" + rng.choice(FOLDERS) + "\\" + title.replace("'", ""))
    lines.append(("Layer=%d" if rng.random() < 0.95 else "layer=%d") % layer)
    lines.append("Active=" + ("TRUE" if rng.random() < 0.8 else "FALSE"))
    lines.append("Required=FALSE")
    if rng.random() < 0.05:
        lines.append("Exclude=FALSE")
    lines.append("")
    return "\r\n".join(lines) + "\r\n"


def WriteAreas(sizeMb, path):
    rng = random.Random(sizeMb)
    target = sizeMb * 1000 * 1000
    # The typical area takes about 165 bytes; shuffled numbers need a count up front, so take a
    # few too many and leave gaps, as deleted areas do.
    count = target // 150 + 1
    numbers = list(range(1, count + 1))
    rng.shuffle(numbers)
    written = 0
    areas = 0
    with open(path, "w", encoding="latin-1", newline="") as out:
        out.write("[General]\r\nTitle=FS9 World Scenery\r\nDescription=FS9 Scenery Data\r\n"
                  "Cache_size=100\r\nClean_on_Exit=TRUE\r\n\r\n")
        chunk = []
        while written < target:
            number = numbers[areas % count]
            layer = number if rng.random() < 0.7 else rng.randint(1, count)
            text = Area(rng, number, layer)
            chunk.append(text)
            written += len(text)
            areas += 1
            if len(chunk) == 10000:
                out.write("".join(chunk))
                chunk = []
        out.write("".join(chunk))
    print(areas)


def WriteLine(sizeBytes, path):
    # Text without CR, LF or Ctrl-Z, so that the whole file is one line.
    filler = bytes(32 + i % 95 for i in range(1024 * 1024))
    with open(path, "wb") as out:
        out.write(b"Title=")
        left = sizeBytes - len("Title=") - 2
        while left > 0:
            piece = filler[:left]
            out.write(piece)
            left -= len(piece)
        out.write(b"\r\n")


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("areas", "line"):
        sys.exit(__doc__)
    if sys.argv[1] == "areas":
        WriteAreas(int(sys.argv[2]), sys.argv[3])
    else:
        WriteLine(int(sys.argv[2]), sys.argv[3])


if __name__ == "__main__":
    main()
