// A line of a shard's record, as a killed run or another machine may leave
// it: whatever parses is written back to a line that parses the same, its
// host and job in the escaped form the writer gives them (a tab or a byte
// that is no UTF-8 stays escaped, so the summary keeps one line per run).

#include "run/ResultLog.h"
#include "run/ShardRecord.h"

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelk;
  const auto line = ParseShardRecordLine(fuzz::Text(data, size));
  if (!line) return 0;
  const auto again = ParseShardRecordLine(ShardRecordLine(*line));
  fuzz::Require(again && again->Started == line->Started && again->Pid == line->Pid &&
                    again->Host == ListItemText(line->Host) &&
                    again->Job == ListItemText(line->Job) &&
                    again->End.has_value() == line->End.has_value(),
                "a parsed line is written back to itself");
  return 0;
}
