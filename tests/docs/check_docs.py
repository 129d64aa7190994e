#!/usr/bin/python3
"""check_docs.py ROOT: the project's documents point at what is there. In
README.md, CONTRIBUTING.md, CHANGELOG.md and docs/*.md, every relative link
and image resolves to a file of the tree, and its #anchor, if any, to a
heading of that file; every tools/... command named in code resolves to a
file. One "PASS" or "FAIL" line per document, and a FAIL line per broken
reference; exit 1 when any fails."""

import functools
import glob
import os
import re
import sys

LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)")
CODE = re.compile(r"```.*?```|`[^`\n]+`", re.S)
TOOL = re.compile(r"(?<![\w/.-])tools/[\w./-]*[\w-]")


def slug(heading):
    """A heading's anchor as the usual Markdown renderers make it."""
    text = re.sub(r"[^\w\- ]", "", heading.strip().lower())
    return text.replace(" ", "-")


@functools.cache
def anchors(path):
    with open(path, encoding="utf-8") as f:
        return {slug(line.lstrip("#")) for line in f if line.startswith("#")}


def broken_references(root, document):
    with open(document, encoding="utf-8") as f:
        text = f.read()
    here = os.path.dirname(document)
    for target in LINK.findall(CODE.sub("", text)):
        if re.match(r"[a-z]+:", target):
            continue  # a web address or mail address: not checked here
        path, _, anchor = target.partition("#")
        resolved = os.path.normpath(os.path.join(here, path)) if path else document
        if not os.path.exists(resolved):
            yield f"link {target}: no {os.path.relpath(resolved, root)}"
        elif anchor and os.path.isfile(resolved) and anchor not in anchors(resolved):
            yield f"link {target}: no heading #{anchor}"
    for code in CODE.findall(text):
        for command in TOOL.findall(code):
            if not os.path.exists(os.path.join(root, command)):
                yield f"command {command}: not in the tree"


def main(root):
    documents = [os.path.join(root, name) for name in ("README.md", "CONTRIBUTING.md", "CHANGELOG.md")]
    documents += sorted(glob.glob(os.path.join(root, "docs", "*.md")))
    failed = False
    for document in filter(os.path.exists, documents):
        name = os.path.relpath(document, root)
        broken = list(broken_references(root, document))
        for problem in broken:
            print(f"FAIL {name}: {problem}")
        if not broken:
            print(f"PASS {name}: its links, images and tools/ commands resolve")
        failed |= bool(broken)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]) if len(sys.argv) == 2 else __doc__)
