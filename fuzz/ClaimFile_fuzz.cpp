// The owner text a claim file, a journal and a temporary name's token hold,
// as another process or a damaged file may leave it.

#include "filesafety/ProcessOwner.h"

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelk;
  const std::string text = fuzz::Text(data, size);
  if (const auto owner = ParseOwner(text)) {
    const auto again = ParseOwner(DescribeOwner(*owner));
    fuzz::Require(again && again->Host == owner->Host && again->Pid == owner->Pid &&
                      again->StartTicks == owner->StartTicks,
                  "a parsed owner describes itself back");
  }
  StateOfToken(text);
  return 0;
}
