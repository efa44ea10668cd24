#pragma once
// The five sections of a project profile, written from the description, the website's facts and
// the answers to the intake questions; a section the sources leave empty or unsure is listed as
// needing the user's input.
#include "core/Http.h"
#include "intake/IntakeSource.h"

#include <map>
#include <string>

namespace service::intake {

struct ProfileDraft {
    json overview;   // {"description", "product_audience", "desired_result", "competitors", "constraints"}
    json needsInput; // the keys of the sections above that still need the user
};

// `answers`: question key to answer text.
ProfileDraft writeProfile(const std::string& description, const IntakeSource& source,
                          const std::map<std::string, std::string>& answers);

} // namespace service::intake
