"""The command line every seed script shares: write the one seed named to a file."""

import sys


def write_named_seed(doc, seeds, argv):
    """Write seeds()[argv[0]] to the file of that name; a usage line from doc and 2 otherwise."""
    names = sorted(seeds())
    if len(argv) != 1 or argv[0] not in names:
        print(doc.strip().splitlines()[2].strip() + "\n    NAME: " + " ".join(names), file=sys.stderr)
        return 2
    with open(argv[0], "wb") as out:
        out.write(seeds()[argv[0]])
    return 0
