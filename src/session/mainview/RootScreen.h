#pragma once
#include "session/auth/SessionState.h"
#include "session/mainview/MainViewModel.h"

namespace halvex {

// unknown → splash, loggedOut → the sign-in form, loggedIn → the main window.
RootScreen rootScreen(const SessionState& state);

} // namespace halvex
