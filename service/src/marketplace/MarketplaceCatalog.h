#pragma once
// The ready-made employees of the marketplace: fixed data, the same on every start, in the
// order the service lists them.
#include <optional>
#include <string>
#include <vector>

namespace service::marketplace {

struct SkillLine {
    std::string name;
    std::string description;
};

struct Listing {
    std::string id;
    std::string name;
    std::string service; // the area it serves, the marketplace's filter
    std::string sector;
    std::string creator;
    std::string description;
    std::vector<SkillLine> skills;
    std::vector<std::string> exampleTasks;
    std::vector<std::string> tools;
    int playbookSteps = 0;
    int baseInstalls = 0; // before this service's own hires
    double rating = 0;
};

const std::vector<Listing>& catalog();
const Listing* findListing(const std::string& id);

} // namespace service::marketplace
