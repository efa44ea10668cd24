#pragma once
// TokenFormat lives next to TokenDisplay; both write the same "◆ " prefix.
#include "core/format/TokenDisplay.h"
