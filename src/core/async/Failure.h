#pragma once
// How a view model routes a failed request: silence for a cancellation, the session for a
// 401, the standard error text for everything else.
#include "core/APIError.h"

#include <QString>

#include <exception>
#include <optional>

namespace halvex {

struct Failure {
    enum class Route { silent, lostSession, show };
    Route route = Route::show;
    QString text; // the standard error text when shown

    static Failure of(const std::exception_ptr& error);
    // The text a view model shows for `error`: nothing for a cancellation, and nothing for a
    // lost session, which `lostSession` reports instead.
    template <typename LostSession>
    static std::optional<QString> shown(const std::exception_ptr& error, LostSession lostSession)
    {
        const Failure failure = of(error);
        if (failure.route == Route::lostSession)
            lostSession();
        return failure.route == Route::show ? std::optional<QString>(failure.text) : std::nullopt;
    }
};

inline Failure Failure::of(const std::exception_ptr& error)
{
    if (isCancellation(error))
        return {Route::silent, {}};
    try {
        std::rethrow_exception(error);
    } catch (const APIError& e) {
        if (e.kind() == APIError::Kind::unauthorized)
            return {Route::lostSession, {}};
        return {Route::show, e.description()};
    } catch (const std::exception& e) {
        return {Route::show, errorText(e)};
    } catch (...) {
        return {Route::show, QStringLiteral("Unknown error")};
    }
}

} // namespace halvex
