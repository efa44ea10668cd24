#pragma once
// What the draft builder knows about each kind of work: the words that point to it, the role,
// skills, tools, rules and sources an employee for it starts with, and the members a team for
// it is made of. Plain data; the builders pick from it.
#include <string>
#include <vector>

namespace service::generation {

struct Skill {
    const char* name;
    const char* description;
    const char* content;
};

struct Choice {
    const char* label;
    const char* value;
    const char* hint;
};

struct MemberRole {
    const char* handle;
    const char* role;
    const char* out;
    const char* boundaries;
    const char* tool;
};

struct Domain {
    const char* key;
    std::vector<const char*> words; // folded (lower-case) stems found in a brief
    const char* role;
    const char* focus; // "… for you: <focus>"
    const char* teamName;
    const char* teamTagline;
    std::vector<Choice> scopes;
    std::vector<Skill> skills;
    std::vector<const char*> tools;
    std::vector<const char*> constraints;
    std::vector<const char*> urls;
    const char* knowledge;
    std::vector<const char*> outputs;
    std::vector<MemberRole> team; // in pipeline order
};

// Every domain; the last one is the general fallback.
const std::vector<Domain>& domains();
// The domain whose words the folded brief mentions most; the fallback when none.
const Domain& domainFor(const std::string& foldedBrief);
// Extra members when a brief asks for a bigger team than its domain has.
const std::vector<MemberRole>& spareMembers();

} // namespace service::generation
