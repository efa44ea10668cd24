#pragma once
// The apps an employee can be connected to, and the small logo the service draws for each.
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace service {

struct Connector {
    const char* slug;
    const char* name;
    const char* category;
    bool oauth; // connects through a consent page; the others take a key
    const char* colour;
};

const std::vector<Connector>& connectors();
const Connector* findConnector(const std::string& slug);
// The catalogue entry, its logo at `origin`/connectors/logos/<slug>.svg.
nlohmann::json connectorJson(const Connector& c, const std::string& origin);
// A rounded square in the app's colour with its initial.
std::string connectorLogoSvg(const Connector& c);

} // namespace service
