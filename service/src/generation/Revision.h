#pragma once
// Revising a worker draft from a plain instruction, decided from its words alone (any letter
// case) so that tests and the app can rely on it:
//   a line "Change only pipeline step N …"   every edit below touches step N only; the rest of
//                                            the draft stays exactly as it was
//   "rename to X" / "call it X"              renames the worker (or step N)
//   "make step N a browse|tool|llm step"     retypes the step ("make it a … step" when scoped)
//   "add a browse|tool|llm step …"           appends one (after step N when scoped); the rest of
//                                            the sentence is its prompt or instructions
//   "remove step N" / "remove the X step"    removes it ("remove it" when scoped)
//   "every hour|day|week" / "manual"         changes the trigger (not when scoped)
//   anything else                            becomes a sentence at the end of every llm step's
//                                            prompt (of step N's prompt or instructions)
#include <nlohmann/json.hpp>

#include <string>
#include <variant>

namespace service::generation {

// The revised draft with "mode": "ready", or why the instruction cannot apply to it (a step
// number or name the playbook does not have). The draft's playbook must be a list of objects.
std::variant<nlohmann::json, std::string> reviseDraft(const nlohmann::json& draft, const std::string& instruction);

} // namespace service::generation
