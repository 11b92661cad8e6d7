#!/usr/bin/env python3
"""The .deb's generated files, the same bytes from the same sources.

  package_files.py SOURCE_DIR OUT_DIR APP_ID MAINTAINER HOMEPAGE

writes into OUT_DIR:
  changelog.gz           CHANGELOG.md as a Debian changelog, gzipped without
                         name or time
  versomat.1.gz          the manual page, from the desktop entry's comment and
                         description.en.txt, gzipped alike
  copyright              LICENSE in Debian's machine-readable format
  APP_ID.metainfo.xml    packaging/metainfo.xml.in filled in for AppStream

The unreleased version is dated SOURCE_DATE_EPOCH (now when it is unset). A
newest heading in CHANGELOG.md that is not the version in VERSION stops here,
so no package ships a changelog that ends a version early.
"""
import email.utils
import gzip
import html
import os
import re
import sys
import time
from datetime import datetime, timezone

HEADING = re.compile(r"^## (\S+) – (\d{4}-\d{2}-\d{2}|unreleased)$")


def fail(message):
    sys.exit(f"package_files: {message}")


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def releases(changelog):
    """[(version, date or None, [item text])], newest first."""
    found = []
    for line in changelog.splitlines():
        heading = HEADING.match(line)
        if heading:
            version, date = heading.groups()
            found.append((version, None if date == "unreleased" else date, []))
        elif line.startswith("## "):
            fail(f"CHANGELOG.md: a heading that is not '## VERSION – YYYY-MM-DD' or '– unreleased': {line}")
        elif found and line.startswith("- "):
            found[-1][2].append(line[2:])
        elif found and found[-1][2] and line.startswith("  "):
            found[-1][2][-1] += "\n" + line[2:]
        elif found and line.strip():
            fail(f"CHANGELOG.md: a line that is neither an item nor its continuation: {line}")
    if not found:
        fail("CHANGELOG.md holds no release")
    for version, date, items in found:
        if not items:
            fail(f"CHANGELOG.md: {version} lists no change")
    if any(date is None for _, date, _ in found[1:]):
        fail("CHANGELOG.md: only the newest version may be unreleased")
    return found


def release_time(date):
    if date is not None:
        return datetime.strptime(date, "%Y-%m-%d").replace(tzinfo=timezone.utc)
    return datetime.fromtimestamp(int(os.environ.get("SOURCE_DATE_EPOCH", time.time())), timezone.utc)


def debian_changelog(found, maintainer):
    entries = []
    for version, date, items in found:
        lines = [f"versomat ({version}) {'unstable' if date else 'UNRELEASED'}; urgency=medium", ""]
        lines += ["  * " + item.replace("\n", "\n    ") for item in items]
        lines += ["", f" -- {maintainer}  {email.utils.format_datetime(release_time(date))}"]
        entries.append("\n".join(lines) + "\n")
    return "\n".join(entries)


def copyright_file(license_text, maintainer, homepage):
    holder = re.search(r"^Copyright \(c\) (.+)$", license_text, re.M) or fail("LICENSE names no copyright holder")
    terms = license_text[holder.end():].strip().splitlines()
    body = "\n".join(" " + line if line.strip() else " ." for line in terms)
    return ("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
            f"Upstream-Name: Versomat\nUpstream-Contact: {maintainer}\nSource: {homepage}\n\n"
            f"Files: *\nCopyright: {holder.group(1)}\nLicense: Expat\n\n"
            f"License: Expat\n{body}\n")


def manual_page(source, found, version):
    comment = desktop_values(read(os.path.join(source, "ui", "versomat.desktop")), "Comment")[""]
    text = read(os.path.join(source, "packaging", "description.en.txt"))
    # roff reads a line starting with "." or "'" as a request.
    description = "\n.PP\n".join(re.sub(r"^([.'])", r"\\&\1", p.strip(), flags=re.M)
                                   for p in re.split(r"\n\s*\n", text.strip()))
    return (f'.TH VERSOMAT 1 "{release_time(found[0][1]):%Y-%m-%d}" "Versomat {version}" "User Commands"\n'
            f".SH NAME\nversomat \\- {comment[0].lower() + comment[1:]}\n"
            ".SH SYNOPSIS\n.B versomat\n"
            f".SH DESCRIPTION\n{description}\n"
            ".SH EXIT STATUS\nWithout a display, versomat says so in one line and exits with status 1;\n"
            "run it headless with\n.BR xvfb-run (1).\n")


def write_gzip(path, text):
    with open(path, "wb") as raw:
        with gzip.GzipFile(filename="", mode="wb", fileobj=raw, compresslevel=9, mtime=0) as z:
            z.write(text.encode("utf-8"))


def desktop_values(entry, key):
    """{language or "": value} for KEY and KEY[lang] in a desktop entry."""
    return {m.group(1) or "": m.group(2) for m in re.finditer(rf"^{key}(?:\[([\w@]+)\])?=(.*)$", entry, re.M)}


def translated(tag, values, indent):
    lines = []
    for lang, text in sorted(values.items()):
        attribute = f' xml:lang="{lang}"' if lang else ""
        lines.append(f"<{tag}{attribute}>{html.escape(text, quote=False)}</{tag}>")
    return f"\n{indent}".join(lines)


def metainfo(source, found, app_id, homepage):
    entry = read(os.path.join(source, "ui", "versomat.desktop"))
    paragraphs = []
    for lang in ("en", "de"):
        text = read(os.path.join(source, "packaging", f"description.{lang}.txt"))
        for paragraph in re.split(r"\n\s*\n", text.strip()):
            attribute = "" if lang == "en" else f' xml:lang="{lang}"'
            paragraphs.append(f"<p{attribute}>{html.escape(' '.join(paragraph.split()), quote=False)}</p>")
    release_lines = []
    for version, date, items in found:
        kind = "stable" if date else "development"
        points = "".join(f"<li>{html.escape(' '.join(item.split()), quote=False)}</li>" for item in items)
        release_lines.append(f'<release version="{version}" date="{release_time(date):%Y-%m-%d}" type="{kind}">'
                             f"<description><ul>{points}</ul></description></release>")
    filled = {
        "@ID@": app_id,
        "@HOMEPAGE@": homepage,
        "@NAMES@": translated("name", desktop_values(entry, "Name"), "  "),
        "@SUMMARIES@": translated("summary", desktop_values(entry, "Comment"), "  "),
        "@DESCRIPTIONS@": "\n    ".join(paragraphs),
        "@RELEASES@": "\n    ".join(release_lines),
    }
    return re.sub("|".join(map(re.escape, filled)), lambda m: filled[m.group(0)],
                  read(os.path.join(source, "packaging", "metainfo.xml.in")))


def main(source, out, app_id, maintainer, homepage):
    found = releases(read(os.path.join(source, "CHANGELOG.md")))
    version = read(os.path.join(source, "VERSION")).strip()
    if found[0][0] != version:
        fail(f"CHANGELOG.md's newest version is {found[0][0]}, VERSION says {version}")
    os.makedirs(out, exist_ok=True)
    write_gzip(os.path.join(out, "changelog.gz"), debian_changelog(found, maintainer))
    write_gzip(os.path.join(out, "versomat.1.gz"), manual_page(source, found, version))
    with open(os.path.join(out, "copyright"), "w", encoding="utf-8") as f:
        f.write(copyright_file(read(os.path.join(source, "LICENSE")), maintainer, homepage))
    with open(os.path.join(out, f"{app_id}.metainfo.xml"), "w", encoding="utf-8") as f:
        f.write(metainfo(source, found, app_id, homepage))


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
