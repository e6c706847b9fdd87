#!/usr/bin/env python3
"""Whole-value torture of the shipped documents (content/documents/).

Every value of a document, each attribute and each element's text, is set in
turn to each extreme of EXTREMES; each attribute is deleted once and each
element (but the root) doubled once. Every such variant, one change away from
the shipped document, goes through the fuzz target that reads the document,
run on single inputs under its sanitizers.

The variants are made at run time, a batch at a time, in a scratch folder
(/dev/shm where there is one), and each batch runs in one process of the
target: when an input crashes, runs out of time or of memory, the finding
is appended to the report, the variant is kept in <build>/torture-findings/
as <target>_<document>_<number>.xml to be replayed alone
(build-fuzz/fuzz_<target> FILE), and the batch goes on after it.

    fuzz/torture.py [--build build-fuzz] [--jobs 6] [--report FILE] [--count] [target ...]

scripts/torture.sh builds the targets first and runs this.
"""
import argparse
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import xml.dom.minidom

EXTREMES = ["-1", "0", "-0.0", "1e-40", "1e30", "-1e30", "2147483648", "4294967296",
            "inf", "nan", "", "abc", "12abc", " 3 "]

# Which targets read which document. "mirel.xml" holds the backgrounds and
# the platform's resources; the sound target reads its input as both sound
# documents.
TARGETS = {
    "levels": ["levels.xml"],
    "patterns": ["patterns.xml"],
    "player": ["player.xml"],
    "backgrounds": ["mirel.xml"],
    "resources": ["mirel.xml", "sprites.xml", "player.xml"],
    "text": ["text.xml"],
    "sounds": ["sounds.xml", "music.xml"],
}


def element_path(node):
    """The element's place, e.g. resources/level[1]/event[12]/params[1], with the
    element's "name" attribute where it has one."""
    parts = []
    while node is not None and node.nodeType == node.ELEMENT_NODE:
        index = 1
        sibling = node.previousSibling
        while sibling is not None:
            if sibling.nodeType == sibling.ELEMENT_NODE and sibling.tagName == node.tagName:
                index += 1
            sibling = sibling.previousSibling
        name = node.getAttribute("name")
        parts.append(f"{node.tagName}[{index}]" + (f"(name={name})" if name else ""))
        node = node.parentNode
    return "/".join(reversed(parts))


def elements(node):
    for child in node.childNodes:
        if child.nodeType == child.ELEMENT_NODE:
            yield child
            yield from elements(child)


def text_child(element):
    """The element's one text node, when it holds text and no elements."""
    children = [c for c in element.childNodes if c.nodeType != c.COMMENT_NODE]
    if len(children) == 1 and children[0].nodeType == children[0].TEXT_NODE \
            and children[0].data.strip():
        return children[0]
    return None


def changes(dom):
    """Every change of the document: (element number, kind, name, value), the
    element counted in document order with the root as 0."""
    listed = []
    for n, element in enumerate(all_elements(dom)):
        for name in list(element.attributes.keys()):
            listed += [(n, "attribute", name, value) for value in EXTREMES]
            listed.append((n, "attribute", name, None))
        if text_child(element) is not None:
            listed += [(n, "text", "", value) for value in EXTREMES]
        if n > 0:
            listed.append((n, "double", "", None))
    return listed


def all_elements(dom):
    if not hasattr(dom, "listed"):
        dom.listed = [dom.documentElement] + list(elements(dom.documentElement))
    return dom.listed


def describe(dom, change):
    n, kind, name, value = change
    where = element_path(all_elements(dom)[n])
    if kind == "double":
        return f"{where}\telement\tdoubled"
    what = f"@{name}" if kind == "attribute" else "text"
    return f"{where}\t{what}\t" + ("deleted" if value is None else repr(value))


def variant(dom, change):
    """The document's text with the change made; the document stays as it was."""
    n, kind, name, value = change
    element = all_elements(dom)[n]
    if kind == "attribute":
        old = element.getAttribute(name)
        if value is None:
            element.removeAttribute(name)
        else:
            element.setAttribute(name, value)
        text = dom.toxml(encoding="utf-8")
        element.setAttribute(name, old)
    elif kind == "text":
        node = text_child(element)
        old, node.data = node.data, value
        text = dom.toxml(encoding="utf-8")
        node.data = old
    else:
        copy = element.cloneNode(True)
        element.parentNode.insertBefore(copy, element.nextSibling)
        text = dom.toxml(encoding="utf-8")
        element.parentNode.removeChild(copy)
    return text


# The lines of a report that say what went wrong.
REPORT_LINE = re.compile(r"ERROR: |runtime error|SUMMARY: |out-of-memory|ALARM|timeout|"
                         r"deadly signal|terminate called|#[0-9] 0x")


def append(path, text):
    """Appends in one write, so the reports of parallel batches never mix."""
    fd = os.open(path, os.O_WRONLY | os.O_APPEND | os.O_CREAT, 0o644)
    try:
        os.write(fd, text.encode())
    finally:
        os.close(fd)


def first_lines(lines):
    picked = [line.rstrip() for line in lines if REPORT_LINE.search(line)][:8]
    return "\n".join("    " + line for line in picked) or "    (no sanitizer line)"


def run_batch(job):
    """Makes the variants numbered first..last-1 of the document and runs them
    through the target, going on after each input that fails. Returns the
    number of inputs that failed."""
    target, document, first, last, settings = job
    dom = xml.dom.minidom.parse(os.path.join(settings["documents"], document))
    listed = changes(dom)[first:last]
    folder = os.path.join(settings["scratch"], f"{target}_{document}_{first}")
    os.makedirs(folder, exist_ok=True)
    names = {}
    for number, change in enumerate(listed, first):
        file = os.path.join(folder, f"{document[:-4]}_{number:05d}.xml")
        with open(file, "wb") as f:
            f.write(variant(dom, change))
        names[file] = describe(dom, change)
    files = list(names)
    binary = os.path.join(settings["build"], f"fuzz_{target}")
    log_path = os.path.join(folder, "run.log")
    report = settings["report"]
    failed = 0
    while files:
        with open(log_path, "w") as log:
            subprocess.run([binary, *settings["options"], *files], stdout=log,
                           stderr=subprocess.STDOUT, env=settings["env"], check=False)
        with open(log_path, errors="replace") as log:
            lines = log.readlines()
        done, running, failure = set(), None, []
        for line in lines:
            if line.startswith("Running: "):
                running, failure = line[len("Running: "):].strip(), []
            elif line.startswith("Executed ") and running is not None:
                done.add(running)
                running = None
            elif running is not None:
                failure.append(line)
        if running is not None:
            where, what, value = names[running].split("\t")
            kept = os.path.join(settings["kept"], f"{target}_{os.path.basename(running)}")
            shutil.copyfile(running, kept)
            append(report, f"- **{target}** `{document}` `{where}` {what} = `{value}` "
                           f"(`{os.path.relpath(kept)}`)\n{first_lines(failure)}\n\n")
            failed += 1
            files = files[files.index(running) + 1:]
            continue
        rest = [f for f in files if f not in done]
        if rest:
            # The process ended outside an input, at start or at exit: the
            # inputs it did not run are counted as failed, and the batch is
            # named.
            append(report, f"- **{target}** `{document}`: a run of variants "
                           f"{os.path.basename(files[0])}..{os.path.basename(files[-1])} "
                           f"ended outside an input\n{first_lines(lines)}\n\n")
            failed += len(rest)
        elif any("LeakSanitizer" in line for line in lines):
            append(report, f"- **{target}** `{document}`: a leak in variants "
                           f"{os.path.basename(files[0])}..{os.path.basename(files[-1])}\n"
                           f"{first_lines(lines)}\n\n")
            failed += 1
        break
    shutil.rmtree(folder, ignore_errors=True)
    return failed


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(here, "..", "build-fuzz"))
    parser.add_argument("--documents", default=os.path.join(here, "..", "content", "documents"))
    parser.add_argument("--jobs", type=int, default=6)
    parser.add_argument("--batch", type=int, default=200, help="variants per process")
    parser.add_argument("--timeout", type=int, default=10, help="seconds per input")
    parser.add_argument("--malloc-limit-mb", type=int, default=256)
    parser.add_argument("--rss-limit-mb", type=int, default=2048)
    parser.add_argument("--report", help="where findings are appended "
                                         "(default <build>/torture-findings.md)")
    parser.add_argument("--count", action="store_true", help="only count the variants")
    parser.add_argument("targets", nargs="*", help="of " + ", ".join(TARGETS) + " (default all)")
    args = parser.parse_args()
    for target in args.targets:
        if target not in TARGETS:
            parser.error(f"no target '{target}'; the targets are " + ", ".join(TARGETS))

    build = os.path.abspath(args.build)
    targets = args.targets or list(TARGETS)
    scratch = "/dev/shm" if os.path.isdir("/dev/shm") else tempfile.gettempdir()
    settings = {
        "build": build,
        "documents": os.path.abspath(args.documents),
        "scratch": scratch,
        "report": os.path.abspath(args.report or os.path.join(build, "torture-findings.md")),
        "kept": os.path.join(build, "torture-findings"),
        "env": dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy",
                    ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0:quarantine_size_mb=64",
                    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"),
        "options": [f"-timeout={args.timeout}", f"-malloc_limit_mb={args.malloc_limit_mb}",
                    f"-rss_limit_mb={args.rss_limit_mb}"],
    }

    counts, jobs = [], []
    for target in targets:
        for document in TARGETS[target]:
            n = len(changes(xml.dom.minidom.parse(os.path.join(settings["documents"], document))))
            counts.append((target, document, n))
            jobs += [(target, document, first, min(first + args.batch, n), settings)
                     for first in range(0, n, args.batch)]
    total = sum(n for _, _, n in counts)
    for target, document, n in counts:
        print(f"torture {target:12} {document:13} {n:6} variants")
    print(f"torture {'all':26} {total:6} variants")
    if args.count:
        return 0

    append(settings["report"], f"## Torture run of {time.strftime('%Y-%m-%d %H:%M')}, "
                               f"{total} variants: " +
           ", ".join(f"{t} `{d}` {n}" for t, d, n in counts) + "\n\n")
    shutil.rmtree(settings["kept"], ignore_errors=True)
    os.makedirs(settings["kept"])
    settings["scratch"] = tempfile.mkdtemp(prefix="mirel_torture_", dir=scratch)
    start = time.time()
    failed = 0
    try:
        with concurrent.futures.ProcessPoolExecutor(max_workers=args.jobs) as pool:
            for n in pool.map(run_batch, jobs):
                failed += n
    finally:
        shutil.rmtree(settings["scratch"], ignore_errors=True)
    seconds = int(time.time() - start)
    append(settings["report"], f"Ended after {seconds} s: {failed} of {total} variants failed.\n\n")
    print(f"torture: {failed} of {total} variants failed in {seconds} s; see {settings['report']}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
