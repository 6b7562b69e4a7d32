#include "imaging/Page.h"
