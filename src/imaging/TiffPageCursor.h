#pragma once
// A TIFF file opened at one of its pages, reusing the handle this thread
// last opened on the same file.
//
// libtiff (4.5) finds page N by walking the chain of the N pages before
// it, whichever call is used to get there, so reading every page of a long
// file on a fresh handle each costs time in the square of its length
// (2,000 pages took 15 s to split).  Each thread keeps its handle on the
// last multi-page file it read and moves it forward from page to page
// instead; the loader threads take a file's pages in ascending order, so
// a file is walked about once per thread.  A handle is reused only while
// the file's identity (device, inode, size, modification time) is
// unchanged, and is closed when the thread reads another file or ends.

#include "imaging/TiffFile.h"

#include <string>

namespace zelk {

// The file at `path` with page `pageIndex` (from 0) as its current
// directory.  The handle stays this thread's until its next call; a
// caller must not keep it beyond its own use.  Throws ImageError when the
// file cannot be opened or has no such page.
TiffFile& OpenTiffAtPage(const std::string& path, int pageIndex);

// The number of pages of an open file, walking its chain of directories.
int TiffPageCount(const TiffFile& file);

}  // namespace zelk
