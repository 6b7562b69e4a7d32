#pragma once
// The installed layout's per-user files, made when missing: the settings
// file (a copy of the shipped defaults) and the template workbook (a copy
// of the shipped one).  Each copy goes through a temporary name and reaches
// the disk before it takes its final name, so a user never sees half a
// file, and a file that is already there (the user's own, or one another
// start of the program made meanwhile) is never replaced.  Nothing is made
// in the portable layout.  False when the file is not there afterwards.

#include "platform/ProgramPlaces.h"

namespace zelk {

bool PrepareUserSettings(const ProgramPlaces& places);
bool PrepareUserTemplateWorkbook(const ProgramPlaces& places);

}  // namespace zelk
