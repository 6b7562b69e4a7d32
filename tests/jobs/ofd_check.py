#!/usr/bin/env python3
"""Checks the OFD twins of a run's output tree with a real XML parser and,
where Chromium and ofd.js are at hand, with a real OFD reader.

  ofd_check.py OUTPUT_DIR [--page-diff TOOL --ofdjs OFD_JS] [--source DIR]
               [--shots DIR --shot-name NAME [--shot-text]]

Every PDF must have an OFD twin of the same name.  Structure: OFD.xml in the
OFD namespace with a 32-character DocID, a creation date and the creator,
DocRoot pointing at a Document.xml with MaxUnitID, PageArea, PublicRes and
DocumentRes, one Content.xml per page, every image file present, every ID
unique and at most MaxUnitID, every reference naming an ID.  Text: the
TextCode text of each page equals the page's text in pdftotext (blanks
ignored).

Reader (OFD_JS is ofd.js's browser bundle, tests/jobs/ofd_twins_check.sh):
ofd.js opens each twin in headless Chromium; the text it lays on each page
(what its search and copy see) must be the TextCode text, drawn with no
colour; each page it draws is compared with poppler's drawing of the PDF
page at the same size, and, with --source (a per-file run), a one-page twin
also with its source image itself.  The mean grey difference over 4 x 4
pixel cells must be at most THRESHOLD (SOURCE_THRESHOLD against the source)
and at most BLANK_SHARE of an empty white page's difference from the same
reference (but BLANK_FLOOR is always allowed).  --shots saves
the first page of each kind (bitonal, grey, colour) at half size as
DIR/ofd-NAME-KIND.png; with --shot-text the first among pages with
recognised text, also as DIR/ofd-NAME-KIND-shown.png with that text red.
"""
import argparse, base64, html as html_module, math, os, pathlib, re, shutil, subprocess, sys
import tempfile, zipfile
import xml.etree.ElementTree as ET

NS = "{http://www.ofdspec.org/2016}"
# Limits of the mean grey difference (0..255) of a drawn page from poppler's
# drawing of the PDF page, and from the source image.  The second is wider:
# readers and a plain area scaling put fine print up to half a pixel apart
# (9.2 on the corpus's dense G4 text; one pixel apart gives over 20).
THRESHOLD = 6.0
SOURCE_THRESHOLD = 12.0
# A drawn page must also lie within BLANK_SHARE of an empty page's distance
# from the reference (else a mostly white page would pass empty), though
# never closer than BLANK_FLOOR, the two renderers' disagreement on a plain
# page (up to 1.4 on the corpus's mostly white pages, which lie 3.4 and more
# from empty).
BLANK_SHARE = 0.3
BLANK_FLOOR = 2.0
# ofd.js draws images at 96 pixels per inch whatever scale it is given for
# the page, so the page is drawn at that scale too.
PX_PER_MM = 96 / 25.4

failures = []
shots_taken = set()


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def resolve(base, location):
    return location.lstrip("/") if location.startswith("/") else base + location


def check_package(path):
    """The pages of the package: (Content.xml root, page width and height in
    millimetres, the kind of its image) each."""
    z = zipfile.ZipFile(path)
    names = set(z.namelist())
    ofd = ET.fromstring(z.read("OFD.xml"))
    if ofd.tag != NS + "OFD":
        fail(f"{path}: root {ofd.tag}")
    info = ofd.find(f"{NS}DocBody/{NS}DocInfo")
    if len(info.findtext(NS + "DocID", "")) != 32 or not info.findtext(NS + "CreationDate"):
        fail(f"{path}: DocID or CreationDate")
    if not (info.findtext(NS + "Creator") or "").startswith("zelk "):
        fail(f"{path}: creator {info.findtext(NS + 'Creator')}")
    doc_path = resolve("", ofd.findtext(f"{NS}DocBody/{NS}DocRoot"))
    base = doc_path[: doc_path.rfind("/") + 1]
    doc = ET.fromstring(z.read(doc_path))
    common = doc.find(NS + "CommonData")
    tags = [child.tag[len(NS):] for child in common]
    if tags[:2] != ["MaxUnitID", "PageArea"] or "PublicRes" not in tags or "DocumentRes" not in tags:
        fail(f"{path}: CommonData {tags}")
    max_id = int(common.findtext(NS + "MaxUnitID"))
    ids, refs, kinds = [], [], {}

    def collect(root):
        for node in root.iter():
            if "ID" in node.attrib:
                ids.append(int(node.attrib["ID"]))
            refs.extend(int(node.attrib[a]) for a in ("ResourceID", "Font") if a in node.attrib)

    collect(doc)
    for kind in ("PublicRes", "DocumentRes"):
        res_path = resolve(base, common.findtext(NS + kind))
        res = ET.fromstring(z.read(res_path))
        collect(res)
        media_dir = resolve(res_path[: res_path.rfind("/") + 1], res.get("BaseLoc", "")) + "/"
        for media in res.iter(NS + "MultiMedia"):
            file = media_dir + media.findtext(NS + "MediaFile", "")
            if file not in names:
                fail(f"{path}: missing {file}")
            else:
                kinds[int(media.get("ID"))] = image_kind(z.read(file))
    pages = []
    for page in doc.find(NS + "Pages"):
        content = ET.fromstring(z.read(resolve(base, page.get("BaseLoc"))))
        collect(content)
        box = [float(v) for v in content.findtext(f"{NS}Area/{NS}PhysicalBox").split()]
        image = content.find(f".//{NS}ImageObject")
        kind = kinds.get(int(image.get("ResourceID"))) if image is not None else None
        pages.append((content, box[2], box[3], kind))
    if len(set(ids)) != len(ids) or max(ids) > max_id or not set(refs) <= set(ids):
        fail(f"{path}: IDs not unique, above MaxUnitID {max_id} or dangling")
    return pages


def image_kind(data):
    """"bitonal", "grey" or "colour" from a PNG's or JPEG's header."""
    if data.startswith(b"\x89PNG"):
        depth, colour_type = data[24], data[25]
        return "bitonal" if depth == 1 and colour_type == 0 else (
            "grey" if colour_type in (0, 4) else "colour")
    at = 2
    while at + 9 < len(data):  # JPEG: walk the markers to the frame header
        marker, length = data[at + 1], int.from_bytes(data[at + 2:at + 4], "big")
        if marker in (0xC0, 0xC1, 0xC2):
            return "grey" if data[at + 9] == 1 else "colour"
        at += 2 + length
    return None


def page_text(content):
    return "".join(code.text or "" for code in content.iter(NS + "TextCode"))


def squeezed(text):
    return re.sub(r"\s+", "", text)


def page_pixels(width_mm, height_mm):
    """The page's size in pixels as the reader draws it (96 per inch)."""
    return math.ceil(width_mm * PX_PER_MM - 0.01), math.ceil(height_mm * PX_PER_MM - 0.01)


def write_viewer(ofdjs, ofd_path, scratch):
    """An HTML page that has ofd.js open the package and draw the page named
    by its fragment (#N; #N-shown paints its invisible text red, on top), or
    with #text every page, with the text each page carries (what the
    reader's search and copy see) in <pre id="text-N"> and the number of
    characters drawn visibly in <pre id="visible-N">."""
    data = base64.b64encode(pathlib.Path(ofd_path).read_bytes()).decode()
    (scratch / "data.js").write_text(f'var OFD_DATA = "{data}";\n')
    html = scratch / "viewer.html"
    html.write_text(f"""<!DOCTYPE html><html><head><meta charset="utf-8">
<style>html,body{{margin:0;padding:0;background:#fff;overflow:hidden}}</style>
<script src="{pathlib.Path(ofdjs).resolve().as_uri()}"></script>
<script src="data.js"></script></head><body><script>
var raw = atob(OFD_DATA), bytes = new Uint8Array(raw.length);
for (var i = 0; i < raw.length; i++) bytes[i] = raw.charCodeAt(i);
ofd.parseOfdDocument({{ofd: bytes.buffer, success: function(docs) {{
  ofd.setPageScale({PX_PER_MM});
  var pages = ofd.renderOfdByScale(docs[0]), which = location.hash.substring(1).split("-");
  pages.forEach(function(page, n) {{
    page.style.marginBottom = "0";
    if (which[0] != "text") {{
      if (n != which[0]) return;
      document.body.appendChild(page);
      // The text lies under the image where the settings order it so.
      if (which[1] == "shown") page.querySelectorAll("text").forEach(function(t) {{
        t.setAttribute("fill", "red"); t.setAttribute("fill-opacity", "0.7");
        t.parentNode.style.zIndex = 100000; }});
      return;
    }}
    document.body.appendChild(page);
    var texts = Array.prototype.slice.call(page.querySelectorAll("text")), shown = 0;
    texts.forEach(function(t) {{
      if (getComputedStyle(t).fillOpacity != 0) shown += t.textContent.length; }});
    var pre = document.createElement("pre");
    pre.id = "text-" + n;
    pre.textContent = texts.map(function(t) {{ return t.textContent; }}).join("");
    document.body.appendChild(pre);
    pre = document.createElement("pre");
    pre.id = "visible-" + n;
    pre.textContent = shown;
    document.body.appendChild(pre);
  }});
}}, fail: function(e) {{
  var pre = document.createElement("pre");
  pre.id = "failed";
  pre.textContent = String(e);
  document.body.appendChild(pre);
}}}});
</script></body></html>""")
    return html


def chromium(args, *options):
    return subprocess.run([args.chromium, "--headless", "--no-sandbox", "--disable-gpu",
                           "--hide-scrollbars", "--allow-file-access-from-files",
                           "--virtual-time-budget=20000", *options],
                          capture_output=True, text=True, timeout=180)


def compare(args, rendered, reference, size, threshold, what):
    """Fails unless the rendered page is within `threshold` grey levels of
    the reference and much nearer to it than an empty page is."""
    out = subprocess.run([args.page_diff, str(rendered), str(reference), *map(str, size)],
                         capture_output=True, text=True)
    diff, blank = map(float, out.stdout.split()) if out.returncode == 0 else (255.0, 0.0)
    limit = min(threshold, max(BLANK_SHARE * blank, BLANK_FLOOR))
    print(f"  {what}: mean difference {diff:.2f} (limit {limit:.2f}, empty page {blank:.2f})")
    if diff > limit:
        fail(f"{what}: ofd.js page differs by {diff:.2f} > {limit:.2f}")


def source_of(args, ofd_path):
    """The one source image an OFD of a per-file run was made from."""
    relative = pathlib.Path(ofd_path).relative_to(args.output).with_suffix("")
    found = [p for p in (pathlib.Path(args.source) / relative.parent).glob(relative.name + ".*")
             if p.suffix.lower() in (".tif", ".tiff", ".jpg", ".jpeg", ".png")]
    return found[0] if len(found) == 1 else None


def render_and_compare(args, ofd_path, pdf_path, pages, scratch):
    """Has ofd.js open the package, checks the text it finds on each page,
    draws every page and judges the drawing."""
    html = write_viewer(args.ofdjs, ofd_path, scratch)
    dom = html_module.unescape(chromium(args, "--dump-dom", html.as_uri() + "#text").stdout)
    refused = re.search(r'<pre id="failed">([^<]*)', dom)
    if refused or 'id="text-' not in dom:
        fail(f"{ofd_path}: ofd.js did not open it ({refused.group(1) if refused else 'no page'})")
        return
    for index, (content, width_mm, height_mm, kind) in enumerate(pages):
        what = f"{ofd_path} page {index + 1}"
        reader = re.search(rf'<pre id="text-{index}">(.*?)</pre>', dom, re.S)
        if reader is None or squeezed(reader.group(1)) != squeezed(page_text(content)):
            fail(f"{what}: the text ofd.js finds differs from the TextCode text")
        visible = re.search(rf'<pre id="visible-{index}">(\d+)</pre>', dom)
        if visible is None or visible.group(1) != "0":
            fail(f"{what}: ofd.js draws recognised text visibly")
        size = page_pixels(width_mm, height_mm)
        rendered = scratch / f"page-{index}.png"
        rendered.unlink(missing_ok=True)
        chromium(args, f"--window-size={size[0]},{size[1]}", f"--screenshot={rendered}",
                 f"{html.as_uri()}#{index}")
        # In colour: both pictures are made grey the same way by the judge.
        subprocess.run(["pdftoppm", "-f", str(index + 1), "-l", str(index + 1),
                        "-scale-to-x", str(size[0]), "-scale-to-y", str(size[1]),
                        "-singlefile", pdf_path, str(scratch / "pdf")], check=True)
        compare(args, rendered, scratch / "pdf.ppm", size, THRESHOLD,
                what + " against the PDF page")
        source = source_of(args, ofd_path) if args.source and len(pages) == 1 else None
        if source:
            compare(args, rendered, source, size, SOURCE_THRESHOLD,
                    what + f" against {source.name}")
        wanted = bool(page_text(content)) == args.shot_text
        if args.shots and kind and kind not in shots_taken and wanted:
            shots_taken.add(kind)
            os.makedirs(args.shots, exist_ok=True)
            # Half size: the pictures are for a human look, not for judging.
            # With text, a second one shows where the invisible text lies.
            for suffix in ("", "-shown") if args.shot_text else ("",):
                shot = pathlib.Path(args.shots) / f"ofd-{args.shot_name}-{kind}{suffix}.png"
                chromium(args, f"--window-size={size[0]},{size[1]}",
                         "--force-device-scale-factor=0.5", f"--screenshot={shot.resolve()}",
                         f"{html.as_uri()}#{index}{suffix}")
                print(f"  saved {shot}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("output")
    parser.add_argument("--page-diff")
    parser.add_argument("--ofdjs")
    parser.add_argument("--chromium", default=shutil.which("chromium"))
    parser.add_argument("--source")
    parser.add_argument("--shots")
    parser.add_argument("--shot-name", default="page")
    parser.add_argument("--shot-text", action="store_true")
    args = parser.parse_args()
    render = bool(args.page_diff and args.ofdjs and args.chromium)
    pdfs = sorted(pathlib.Path(args.output).rglob("*.pdf"))
    pdfs = [p for p in pdfs if "Error" not in p.relative_to(args.output).parts]
    if not pdfs:
        fail("no PDF in " + args.output)
    with tempfile.TemporaryDirectory() as scratch:
        for pdf in pdfs:
            ofd = pdf.with_suffix(".ofd")
            if not ofd.exists():
                fail(f"{pdf}: no OFD twin")
                continue
            pages = check_package(ofd)
            count = int(re.search(r"Pages:\s+(\d+)",
                                  subprocess.run(["pdfinfo", str(pdf)], capture_output=True,
                                                 text=True).stdout).group(1))
            if count != len(pages):
                fail(f"{ofd}: {len(pages)} pages, the PDF has {count}")
            for index, (content, _, _, _) in enumerate(pages):
                pdf_text = subprocess.run(["pdftotext", "-f", str(index + 1), "-l", str(index + 1),
                                           str(pdf), "-"], capture_output=True, text=True).stdout
                if squeezed(page_text(content)) != squeezed(pdf_text):
                    fail(f"{ofd} page {index + 1}: TextCode text differs from the PDF's")
            if render:
                render_and_compare(args, str(ofd), str(pdf), pages, pathlib.Path(scratch))
    print(f"{len(pdfs)} OFD twins checked" + ("" if render else " (reader check skipped)"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
