#!/usr/bin/env python3
"""The two web files of a release, byte for byte the same on every run.

  release_pack.py page WEB_DIR OUT.html   the page as one file that opens from disk
  release_pack.py zip WEB_DIR FOLDER OUT.zip   WEB_DIR as FOLDER/ inside a zip

Both take their time stamp from SOURCE_DATE_EPOCH. The page is built from
WEB_DIR/index.html alone, so a new style sheet, script or icon needs no change
here; a reference this cannot bring inside stops the release instead of
shipping a page that breaks on a USB stick. The page carries the folder's
LICENSES.txt as a comment at its top.
"""
import base64
import html
import mimetypes
import os
import re
import sys
import time
import zipfile
from urllib.parse import unquote, urlsplit

COMMENT_OR_TAG = re.compile(
    r"<!--.*?-->|<link\b(?P<link>[^>]*)>|<script\b(?P<script>[^>]*)>(?P<body>.*?)</script\s*>", re.S | re.I)
ATTRIBUTE = re.compile(r"""([^\s"'>/=]+)(?:\s*=\s*("[^"]*"|'[^']*'|[^\s"'=<>`]+))?""")
REFERENCE = re.compile(r"""<[a-z][^>]*?\s(?:src|href|srcset|poster)\s*=\s*["']?([^"'\s>]*)""", re.I)
ICON_RELS = {"icon", "shortcut", "mask-icon"}
# A web app manifest and a home screen's icon mean nothing from disk; the
# hints to fetch early name files that are inside the page now.
DROPPED_RELS = {"manifest", "apple-touch-icon", "preload", "modulepreload", "prefetch"}
# The folder's licences, which the page in one file carries as a comment.
LICENSES = "LICENSES.txt"


def fail(message):
    sys.exit(f"release_pack: {message}")


def attributes(text):
    found = {}
    for name, value in ATTRIBUTE.findall(text):
        if value[:1] in "\"'":
            value = value[1:-1]
        found[name.lower()] = html.unescape(value)
    return found


def local_file(web_dir, url):
    """The file a relative URL names, or None for one with a scheme or none at all."""
    parts = urlsplit(url)
    if parts.scheme or parts.netloc or not parts.path:
        return None
    path = os.path.normpath(os.path.join(web_dir, unquote(parts.path)))
    if os.path.commonpath([path, os.path.abspath(web_dir)]) != os.path.abspath(web_dir) or not os.path.isfile(path):
        fail(f"{url} is not a file in {web_dir}")
    return path


def read_text(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def data_url(path, mime):
    mime = mime or mimetypes.guess_type(path)[0] or fail(f"no media type known for {path}")
    with open(path, "rb") as f:
        return f"data:{mime};base64,{base64.b64encode(f.read()).decode('ascii')}"


def inline_script(source):
    # Inside <script> the HTML parser ends the element at "</script" and
    # reads "<!--" and "<script" specially; "\x3C" is "<" in every
    # JavaScript string, template and regular expression where these occur.
    return re.sub(r"<(?=!--|/?script)", lambda _: "\\x3C", source, flags=re.I)


def single_page(web_dir, out):
    source = read_text(os.path.join(web_dir, "index.html"))
    web_dir = os.path.abspath(web_dir)
    pieces = []      # inlined texts, kept out of the page until its own tags are checked
    deferred = []    # scripts that ran after parsing: they go to the end of <body>

    def piece(text):
        pieces.append(text)
        return f"\0{len(pieces) - 1}\0"

    def replace(match):
        if match.group("link") is not None:
            attrs = attributes(match.group("link"))
            rels = set(attrs.get("rel", "").lower().split())
            path = local_file(web_dir, attrs.get("href", ""))
            if path is None:
                return match.group(0)
            if rels & DROPPED_RELS:
                return ""
            if "stylesheet" in rels:
                css = read_text(path)
                if re.search(r"</style|url\(\s*(?!['\"]?(data:|#))", css, re.I):
                    fail(f"{path} holds </style or a url() to another file")
                media = f' media="{html.escape(attrs["media"])}"' if "media" in attrs else ""
                return f"<style{media}>\n" + piece(css) + "</style>"
            if rels & ICON_RELS:
                url = data_url(path, attrs.get("type"))
                return "<link" + piece(re.sub(r"""\shref\s*=\s*("[^"]*"|'[^']*'|[^\s>]+)""",
                                              lambda _: f' href="{url}"', match.group("link"), flags=re.I)) + ">"
            fail(f"cannot take <link rel={attrs.get('rel')!r} href={attrs['href']!r}> into one file")
        if match.group("script") is not None:
            attrs = attributes(match.group("script"))
            path = local_file(web_dir, attrs.get("src", ""))
            if path is None:
                return match.group(0)
            kind = f' type="{html.escape(attrs["type"])}"' if "type" in attrs else ""
            script = f"<script{kind}>\n" + piece(inline_script(read_text(path))) + "</script>"
            if "defer" in attrs or "async" in attrs or attrs.get("type") == "module":
                deferred.append(script)
                return ""
            return script
        return match.group(0)

    # A tag taken out leaves no empty line behind.
    page = re.sub(r"\n[ \t]*(?=\n)", "", COMMENT_OR_TAG.sub(replace, source))
    for reference in REFERENCE.findall(re.sub(r"<!--.*?-->", "", page, flags=re.S)):
        if local_file(web_dir, reference) is not None:
            fail(f"index.html refers to {reference}, which one file cannot hold")
    end = page.lower().rfind("</body>")
    if end < 0:
        end = len(page)
    page = page[:end] + "".join(s + "\n" for s in deferred) + page[end:]
    # Filled in by position, not by re.sub, so that no "$" or "\" in a file means anything.
    page = re.sub("\0(\\d+)\0", lambda m: pieces[int(m.group(1))], page)
    licences = read_text(os.path.join(web_dir, LICENSES))
    if re.search(r"--!?>|<!--", licences):
        fail(f"{LICENSES} holds a comment's start or end, which one file's comment cannot")
    doctype = re.match(r"\s*<!DOCTYPE[^>]*>\n?", page, re.I)
    head = doctype.end() if doctype else 0
    page = page[:head] + f"<!--\n{licences}-->\n" + page[head:]
    with open(out, "w", encoding="utf-8", newline="") as f:
        f.write(page)


def folder_zip(web_dir, folder, out):
    stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]  # zip dates begin in 1980

    def entry(name, mode):
        info = zipfile.ZipInfo(name, stamp)
        info.create_system = 3  # Unix, so that unzip applies the modes below
        info.external_attr = mode << 16 | (0x10 if name.endswith("/") else 0)
        return info

    names = []
    for here, dirs, files in os.walk(web_dir):
        dirs.sort()
        rel = os.path.relpath(here, web_dir)
        names += [(os.path.normpath(os.path.join(rel, d)) + "/", None) for d in dirs]
        names += [(os.path.normpath(os.path.join(rel, f)), os.path.join(here, f)) for f in files]
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        z.writestr(entry(folder + "/", 0o40755), b"")
        for name, path in sorted(names):
            if path is None:
                z.writestr(entry(f"{folder}/{name}", 0o40755), b"")
            else:
                with open(path, "rb") as f:
                    z.writestr(entry(f"{folder}/{name}", 0o100644), f.read(), zipfile.ZIP_DEFLATED, 9)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "page":
        single_page(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 5 and sys.argv[1] == "zip":
        folder_zip(*sys.argv[2:])
    else:
        sys.exit(__doc__)
