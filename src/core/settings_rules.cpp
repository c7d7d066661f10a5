#include "core/settings_rules.h"
