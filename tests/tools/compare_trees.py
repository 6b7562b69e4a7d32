#!/usr/bin/env python3
"""Compares two trees of program outputs, file by file, for
tests/compare_outputs.sh.

    compare_trees.py BEFORE_DIR AFTER_DIR

Prints "identical" or "differs: <the first difference>" and exits 0 or 1.

The trees must hold the same files and directories under the same names,
and every file the same bytes, except for what a run stamps with its own
time or with a random identifier:

- PDF: the dates of /CreationDate and /ModDate, the dates of the XMP
  metadata and the hex digits of the trailer /ID.  Digits are masked in
  place, so the byte offsets of the cross-reference table still have to
  agree.  Where that leaves a difference, both are compared again with
  their streams uncompressed by qpdf and the creation date in the header
  of an embedded ICC profile masked as well (it changes the compressed
  bytes).  With ZELK_COMPARE_PDF=content in the environment, PDFs are
  compared instead by what a reader takes from them, for a change that
  alters only their metadata or structure: the pages (pdfinfo: sizes,
  boxes, rotation), the images (pdfimages -list without object numbers,
  and the bytes pdfimages -all extracts) and the text with its word boxes
  (pdftotext -bbox).
- DOCX: compared member by member (names, order, compression method,
  contents; in docProps/core.xml the created and modified dates masked),
  then the rest of the package (directory entries, local headers, stored
  data, bytes around the package) with the members' ZIP times left out.
- RTF (and .doc, which may be RTF): the digits of \\creatim, \\revtim,
  \\printim and \\buptim.
- Result lists (files under a Logs directory) and the console files of the
  run (console/*): dates, times of day and elapsed times in the text (also
  the progress line's time spent and estimate of the rest), and the date in
  a list's file name.
"""

import io
import os
import re
import subprocess
import sys
import tempfile
import zipfile

LOG_DATE = re.compile(r"\d{4}年\d{1,2}月\d{1,2}日")
LOG_TIME_OF_DAY = re.compile(r"(?<=日 )\d{1,2}时\d{1,2}")
LOG_ELAPSED = re.compile(r"历时(?:\d+时)?(?:\d+分)?\d+秒")
# The console's progress line: the time spent and the estimate of the rest,
# which a run shows only once it has one.
PROGRESS_ELAPSED = re.compile(r"已用(?:\d+时)?(?:\d+分)?\d+秒(?:，剩余(?:不到1分钟|约(?:\d+时)?(?:\d+分)?))?")

PDF_DATE = re.compile(rb"(/(?:CreationDate|ModDate)\s*\()([^)]*)(\))")
XMP_DATE = re.compile(rb"(<xmp:(?:CreateDate|ModifyDate|MetadataDate)>)([^<]*)(</xmp:)")
PDF_ID = re.compile(rb"(/ID\s*\[\s*)(<[0-9A-Fa-f\s]*>)(\s*)(<[0-9A-Fa-f\s]*>)")
CORE_DATE = re.compile(rb"(<dcterms:(?:created|modified)[^>]*>)([^<]*)(</dcterms:)")
RTF_TIME = re.compile(rb"\\(?:creatim|revtim|printim|buptim)(?:\\(?:yr|mo|dy|hr|min|sec)-?\d+)*")


def mask_digits(data):
    """Replaces every ASCII digit with 0, keeping the length."""
    return re.sub(rb"[0-9]", b"0", data)


def mask_hex(data):
    """Replaces every hex digit with 0, keeping the length."""
    return re.sub(rb"[0-9A-Fa-f]", b"0", data)


def normalise_pdf(data):
    data = PDF_DATE.sub(lambda m: m.group(1) + mask_digits(m.group(2)) + m.group(3), data)
    data = XMP_DATE.sub(lambda m: m.group(1) + mask_digits(m.group(2)) + m.group(3), data)
    return PDF_ID.sub(
        lambda m: m.group(1) + mask_hex(m.group(2)) + m.group(3) + mask_hex(m.group(4)), data)


# The header of an ICC profile, in a PDF's output intent, up to its
# signature "acsp": the creation date is the 12 bytes before it.
ICC_HEAD = re.compile(rb"(stream\r?\n.{24})(.{12})(acsp)", re.S)


def normalise_pdf_uncompressed(data):
    """The PDF with its streams uncompressed (qpdf), so that the creation
    date inside an embedded ICC profile can be masked too, then normalised
    as above; qpdf writes equal inputs equally."""
    with tempfile.TemporaryDirectory() as work:
        source, target = os.path.join(work, "in.pdf"), os.path.join(work, "out.pdf")
        with open(source, "wb") as f:
            f.write(data)
        subprocess.run(["qpdf", "--stream-data=uncompress", "--object-streams=disable",
                        source, target], check=False, capture_output=True)
        with open(target, "rb") as f:
            data = f.read()
    data = ICC_HEAD.sub(lambda m: m.group(1) + b"0" * 12 + m.group(3), data)
    return normalise_pdf(data)


def normalise_rtf(data):
    return RTF_TIME.sub(lambda m: mask_digits(m.group(0)), data)


def normalise_core_xml(data):
    return CORE_DATE.sub(lambda m: m.group(1) + mask_digits(m.group(2)) + m.group(3), data)


def decode_text(data):
    for codec in ("utf-8", "gb18030"):
        try:
            return data.decode(codec), codec
        except UnicodeDecodeError:
            pass
    return data.decode("latin-1"), "latin-1"


def normalise_log_text(text):
    text = LOG_DATE.sub("####年##月##日", text)
    text = LOG_TIME_OF_DAY.sub("##时##", text)
    text = PROGRESS_ELAPSED.sub("已用#秒", text)
    return LOG_ELAPSED.sub("历时#秒", text)


def normalise_log(data):
    text, codec = decode_text(data)
    return normalise_log_text(text).encode(codec)


def first_difference(a, b):
    """Describes where two byte strings part: by line for UTF-8 text, else
    by byte offset."""
    try:
        lines_a = a.decode("utf-8").splitlines()
        lines_b = b.decode("utf-8").splitlines()
    except UnicodeDecodeError:
        lines_a = lines_b = None
    if lines_a is not None and lines_a != lines_b:
        for number, (la, lb) in enumerate(zip(lines_a, lines_b), 1):
            if la != lb:
                column = next((i for i, (ca, cb) in enumerate(zip(la, lb)) if ca != cb),
                              min(len(la), len(lb)))
                start = max(0, column - 40)
                return "line {} column {}: {!r} / {!r}".format(
                    number, column + 1, la[start:column + 40], lb[start:column + 40])
        return "line counts {} and {}".format(len(lines_a), len(lines_b))
    limit = min(len(a), len(b))
    for i in range(limit):
        if a[i] != b[i]:
            start = max(0, i - 24)
            return "at byte {} (sizes {} and {}): {!r} / {!r}".format(
                i, len(a), len(b), a[start:i + 24], b[start:i + 24])
    return "one is a prefix of the other (sizes {} and {})".format(len(a), len(b))


CORE_PROPERTIES = "docProps/core.xml"


def local_entry(data, info):
    """A member's local header with its time and date zeroed (and, for the
    core properties, whose dates change its data, its checksum and sizes),
    and its stored data (empty for the core properties)."""
    start = info.header_offset
    header = bytearray(data[start:start + 30])
    names = int.from_bytes(header[26:28], "little") + int.from_bytes(header[28:30], "little")
    header[10:14] = bytes(4)
    stored = data[start + 30 + names:start + 30 + names + info.compress_size]
    if info.filename == CORE_PROPERTIES:
        header[14:26] = bytes(12)
        stored = b""
    return bytes(header) + data[start + 30:start + 30 + names], stored


def directory_entry(info):
    """What the central directory says of a member, but for its time."""
    fields = (info.create_version, info.create_system, info.extract_version, info.flag_bits,
              info.compress_type, info.internal_attr, info.external_attr, info.extra,
              info.comment, info.volume)
    if info.filename != CORE_PROPERTIES:
        fields += (info.CRC, info.compress_size, info.file_size)
    return fields


def compare_package(a, za, b, zb):
    """Compares the ZIP structure of two packages whose members agree."""
    if za.comment != zb.comment:
        return "package comments differ"
    for ia, ib in zip(za.infolist(), zb.infolist()):
        if directory_entry(ia) != directory_entry(ib):
            return "{}: directory entries {} / {}".format(
                ia.filename, directory_entry(ia), directory_entry(ib))
        header_a, stored_a = local_entry(a, ia)
        header_b, stored_b = local_entry(b, ib)
        if header_a != header_b:
            return "{}: local header {}".format(ia.filename, first_difference(header_a, header_b))
        if stored_a != stored_b:
            return "{}: stored data {}".format(ia.filename, first_difference(stored_a, stored_b))
    lead_a = a[:min((i.header_offset for i in za.infolist()), default=0)]
    lead_b = b[:min((i.header_offset for i in zb.infolist()), default=0)]
    tail_a, tail_b = a[a.rfind(b"PK\x05\x06") + 22 + len(za.comment):], \
        b[b.rfind(b"PK\x05\x06") + 22 + len(zb.comment):]
    if lead_a != lead_b or tail_a != tail_b:
        return "bytes before or after the package differ"
    return None


def compare_docx(a, b):
    """Returns None when the packages agree member by member, else why not."""
    try:
        za = zipfile.ZipFile(io.BytesIO(a))
        zb = zipfile.ZipFile(io.BytesIO(b))
    except zipfile.BadZipFile as error:
        return "not a ZIP package: {}".format(error) if a != b else None
    names_a = [i.filename for i in za.infolist()]
    names_b = [i.filename for i in zb.infolist()]
    if names_a != names_b:
        return "members {} / {}".format(names_a, names_b)
    for ia, ib in zip(za.infolist(), zb.infolist()):
        if ia.compress_type != ib.compress_type:
            return "{}: compression {} / {}".format(ia.filename, ia.compress_type, ib.compress_type)
        da, db = za.read(ia), zb.read(ib)
        if ia.filename == CORE_PROPERTIES:
            da, db = normalise_core_xml(da), normalise_core_xml(db)
        if da != db:
            return "{}: {}".format(ia.filename, first_difference(da, db))
    # The members agree; so must the rest of the package, but for the
    # times the members were written.
    return compare_package(a, za, b, zb)


def is_log(relative):
    parts = relative.split(os.sep)
    return "Logs" in parts[:-1] or parts[0] == "console"


def pdf_content(data):
    """What a reader takes from a PDF: pages, images and text."""
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "in.pdf")
        with open(path, "wb") as f:
            f.write(data)

        def run(*command):
            return subprocess.run(command, cwd=work, capture_output=True, check=True).stdout

        pages = run("pdfinfo", "-f", "1", "-l", "100000", "-box", path)
        pages = b"\n".join(line for line in pages.splitlines()
                           if line.startswith(b"Page") or line.startswith(b"Pages"))
        # Object numbers ("object ID") change with the document's structure.
        images = b"\n".join(b" ".join(line.split()[:10] + line.split()[12:])
                            for line in run("pdfimages", "-list", path).splitlines())
        run("pdfimages", "-all", path, os.path.join(work, "image"))
        extracted = []
        for name in sorted(os.listdir(work)):
            if name.startswith("image"):
                with open(os.path.join(work, name), "rb") as f:
                    extracted.append(name.encode() + b" " + f.read())
        text = run("pdftotext", "-bbox", "-enc", "UTF-8", path, "-")
        # The head names the document's title and metadata.
        text = b"\n".join(line for line in text.splitlines()
                          if not re.search(rb"<title>|<meta ", line))
        return [(b"pages", pages), (b"images", images)] + \
            [(b"image", e) for e in extracted] + [(b"text", text)]


def compare_pdf_content(a, b):
    for (what, da), (_, db) in zip(pdf_content(a), pdf_content(b)):
        if da != db:
            return "{}: {}".format(what.decode(), first_difference(da, db))
    return None


def compare_file(relative, a, b):
    lower = relative.lower()
    if lower.endswith(".docx"):
        return compare_docx(a, b)
    if lower.endswith(".pdf") and os.environ.get("ZELK_COMPARE_PDF") == "content":
        return compare_pdf_content(a, b)
    if lower.endswith(".pdf"):
        a, b = normalise_pdf(a), normalise_pdf(b)
        if a != b:
            a, b = normalise_pdf_uncompressed(a), normalise_pdf_uncompressed(b)
    elif lower.endswith((".rtf", ".doc")):
        a, b = normalise_rtf(a), normalise_rtf(b)
    elif is_log(relative):
        a, b = normalise_log(a), normalise_log(b)
    return None if a == b else first_difference(a, b)


def listing(root):
    """Maps each normalised relative path to (kind, real relative path)."""
    entries = {}
    for directory, dirs, files in os.walk(root):
        for name in dirs + files:
            full = os.path.join(directory, name)
            relative = os.path.relpath(full, root)
            key = normalise_log_text(relative) if is_log(relative) else relative
            if os.path.islink(full):
                kind = "link"
            elif os.path.isdir(full):
                kind = "dir"
            else:
                kind = "file"
            entries[key] = (kind, relative)
    return entries


def compare_trees(before, after):
    """Returns None when the trees agree, else the first difference found."""
    a, b = listing(before), listing(after)
    only_a = sorted(set(a) - set(b))
    only_b = sorted(set(b) - set(a))
    if only_a or only_b:
        return "only before: {}; only after: {}".format(only_a[:5], only_b[:5])
    for key in sorted(a):
        kind_a, rel_a = a[key]
        kind_b, rel_b = b[key]
        if kind_a != kind_b:
            return "{}: {} / {}".format(key, kind_a, kind_b)
        if kind_a == "link":
            if os.readlink(os.path.join(before, rel_a)) != os.readlink(os.path.join(after, rel_b)):
                return "{}: links differ".format(key)
        if kind_a != "file":
            continue
        with open(os.path.join(before, rel_a), "rb") as fa, open(os.path.join(after, rel_b), "rb") as fb:
            why = compare_file(rel_a, fa.read(), fb.read())
        if why:
            return "{}: {}".format(key, why)
    return None


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: compare_trees.py BEFORE_DIR AFTER_DIR\n")
        return 2
    why = compare_trees(argv[1], argv[2])
    print("identical" if why is None else "differs: " + why)
    return 0 if why is None else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
