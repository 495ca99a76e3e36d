#!/usr/bin/python3
# Writes the export lists of the two test libraries that stand in for
# gdiplus.dll: every flat-API name forwarded to the real library, except the
# start-up and shut-down of the library's own; the second list lacks the last
# name. names.txt holds the names in binding order.
names = [n.strip() for n in open("names.txt") if n.strip()]
own = {"GdiplusStartup", "GdiplusShutdown"}


def write(path, library, skip):
    with open(path, "w") as f:
        f.write("LIBRARY %s\nEXPORTS\n" % library)
        for n in names:
            if n in skip:
                continue
            f.write("  %s\n" % n if n in own else "  %s = gdiplus.%s\n" % (n, n))
        f.write("  FakeGdiPlusSetMode\n  FakeGdiPlusLog\n")


write("gdipfake.def", "gdipfake.dll", set())
write("gdipshort.def", "gdipshort.dll", {names[-1]})
