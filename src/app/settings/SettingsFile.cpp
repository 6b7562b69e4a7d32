#include "app/settings/SettingsFile.h"
