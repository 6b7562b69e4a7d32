#pragma once
// What tells the jobs apart inside the run frame: their status texts, the
// heads and tails of their result-list lines and how a failed item is
// recorded.  Each job's row is part of its descriptor (JobCatalog.h).

#include <string>

#include "run/JobId.h"

namespace zelk {

// Order of the two summary lines.
enum class SummaryOrder {
  SuccessFirst,                 // always the success line first
  FailureFirst,                 // always the failure line first
  FailureFirstAfterFailedLast,  // failure line first when the last row failed
};

// What a failed item's line in the failure list holds.
enum class FailureLine {
  ItemPath,              // the row's path
  PathWithoutExtension,  // the file's path without its last extension
  ParentDirectory,       // the file's directory, with a trailing separator
};

// How a failed item's source is put into the Error tree.
enum class ErrorCopy {
  None,
  CopyDirectory,  // the whole directory, subdirectories included
  CopyFile,       // the file, under its own name
  MoveFile,       // the file leaves the source tree
};

struct JobTexts {
  bool NeedsTargetDir;       // the output box must not be empty
  const char* Searching;     // status while scanning, ends with one blank
  const char* NoneFound;     // status when the scan found nothing
  const char* CancelledInScan;  // status when a stop request ends the run, in the scan or later
  const char* SuccessHeader;  // header suffix of the success list
  const char* FailureHeader;  // header suffix of the failure list
  const char* SuccessHead;    // success summary head
  const char* SecondSuccessHead;  // after a failed last row; empty when none
  const char* Unit;               // "个图像目录" or "个图像文件"
  const char* FailureTail;
  const char* Finished;           // status at the end of a run
  const char* WorkingWord;        // status while an item runs: word & path
  const char* PageWord;           // status during page work: word & path & page text
  const char* PageOf;             // between page number and page count
  const char* WorkingCell;        // "状态" cell while an item runs
  const char* DoneWord;           // "状态" cell after success
  const char* FailedWord;         // "状态" cell after failure
  SummaryOrder Order;
  FailureLine FailureLineKind;
  ErrorCopy ErrorCopyKind;
};

}  // namespace zelk
