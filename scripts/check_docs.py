#!/usr/bin/env python3
"""Checks that every relative link and picture in README.md and docs/*.md names a file of the checkout.

Usage: check_docs.py SOURCE_DIR. Prints each broken link as FILE:LINE: TARGET and exits 1 when there is one."""
import pathlib
import re
import sys

LINK = re.compile(r"\]\(([^)\s]+)\)")


def broken_links(root: pathlib.Path):
    pages = [root / "README.md", *sorted((root / "docs").rglob("*.md"))]
    for page in pages:
        for number, line in enumerate(page.read_text(encoding="utf-8").splitlines(), 1):
            for target in LINK.findall(line):
                if re.match(r"[a-z]+:", target) or target.startswith("#"):
                    continue  # a web address, or a heading of the same page
                path = target.split("#", 1)[0]
                if not (page.parent / path).exists():
                    yield f"{page.relative_to(root)}:{number}: {target}"


def main():
    broken = list(broken_links(pathlib.Path(sys.argv[1])))
    for link in broken:
        print(link)
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
