#include "session/model/RootScreen.h"

namespace halvex {

RootScreen rootScreen(const SessionState& state)
{
    switch (state.kind()) {
    case SessionState::Kind::unknown:
        return RootScreen::splash;
    case SessionState::Kind::loggedOut:
        return RootScreen::signIn;
    case SessionState::Kind::loggedIn:
        return RootScreen::main;
    }
    return RootScreen::splash;
}

} // namespace halvex
