#pragma once
// Reading pages: the entry points every job uses to load a page, count the
// pages of a file and learn a page's depth.
//
// Sources are recognised by content, not by name: TIFF (every page, every
// compression libtiff decodes), JPEG, PNG, BMP and PDF (pages rendered).
// Every failure (unreadable or damaged file, unknown format, page beyond the
// end, image beyond the size limits) is an ImageError naming the file; the
// libraries print nothing.  All functions may run in several threads at once.

#include "imaging/Page.h"

#include <string>

namespace zelk {

// `page` counts from 1; 0 also means the first page.
Page LoadPage(const std::string& path, int page);

// The same page with its pixels left undecoded where its stored form can
// stand for it (TIFF strips, a baseline JPEG stream): writers copy that
// form when their encoding matches and decode it only when they need
// pixels.  Other pages are decoded as by LoadPage.  The stored data is
// read whole now, so the page does not depend on the file afterwards; its
// compressed data is checked when a writer copies or decodes it.
Page ReadPage(const std::string& path, int page);

// The number of pages in the file: 1 for single-image formats.
int GetPageCount(const std::string& path);

}  // namespace zelk
