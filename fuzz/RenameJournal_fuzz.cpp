// The rename journal as stored: whatever decodes encodes back to a journal
// that decodes to the same names and phase.

#include "jobs/RenameJournal.h"

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelk;
  const auto journal = DecodeRenameJournal(fuzz::Text(data, size));
  if (!journal) return 0;
  const auto again = DecodeRenameJournal(EncodeRenameJournal(*journal));
  fuzz::Require(again && again->Owner == journal->Owner && again->Entries == journal->Entries &&
                    again->Phase == journal->Phase,
                "a decoded journal encodes back to itself");
  return 0;
}
