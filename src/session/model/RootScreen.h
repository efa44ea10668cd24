#pragma once
#include "session/model/SessionState.h"

namespace halvex {

enum class RootScreen { splash, signIn, main };

// unknown → splash, loggedOut → the sign-in form, loggedIn → the main window.
RootScreen rootScreen(const SessionState& state);

} // namespace halvex
