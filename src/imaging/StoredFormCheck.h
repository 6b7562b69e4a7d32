#pragma once
// Whether a page's stored form may be copied as it stands: damaged data
// must fail its page, as it does when the page is decoded, not slip into
// an output unseen.

#include "imaging/Page.h"

namespace zelk {

// True when the page's pixels were decoded from the source (the data then
// decoded cleanly already), or when its stored strips or JPEG stream
// decode without damage now (without building pixels).
bool StoredFormDecodes(const Page& page);

}  // namespace zelk
