#pragma once
// The ready-made workflows of the workflow marketplace: fixed data, the same on every start,
// listed before the workers users publish.
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace service::workers {

struct Workflow {
    std::string id;
    std::string name;
    std::string description;
    std::string role;
    std::string creatorFullName;
    std::string creatorHandle;
    int baseInstalls = 0; // before this service's own installs
    nlohmann::json playbook;
};

const std::vector<Workflow>& workflowCatalog();
const Workflow* findWorkflow(const std::string& id);
// How many different tools the playbook's tool steps use.
size_t toolsIn(const nlohmann::json& playbook);

} // namespace service::workers
