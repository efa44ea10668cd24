// The demo project's profile and goals: the brief holds its description and the four marked
// sections the intake writes, and its goals show progress, a review and a finished one.
#include "demo/DemoSeed.h"

#include "core/Http.h"
#include "goals/GoalStore.h"
#include "projects/ProjectOverview.h"

namespace service {

namespace {

const char* const kProject = "p-demo-launch";

void seedProfile(Service& s)
{
    const std::string description = "Launch the spring release to existing customers and two new segments.";
    const json overview{
        {"product_audience",
         "A self-serve analytics workspace for B2B teams of 10 to 200 seats. The spring release adds shared "
         "dashboards and scheduled reports. First audience: existing customers on annual plans; then two new "
         "segments, e-commerce operators and agencies reporting to clients."},
        {"desired_result",
         "500 new sign-ups and 3 published customer case studies by the end of May, with at least 40% of "
         "existing accounts trying shared dashboards in their first month."},
        {"competitors",
         "Teams compare us with spreadsheet templates and two larger BI suites. We are quicker to set up and "
         "priced per seat with a 20% annual discount; both competitors launch new plans in April."},
        {"constraints",
         "Budget: $100 a month for the project's employees. EU customers first, so data stays in the EU region. "
         "Plain, honest tone — no countdown timers or invented scarcity. The webinar date is fixed for May 14."}};
    s.db->execute("UPDATE projects SET brief = ?, overview = ? WHERE id = ?",
                  {description + "\n\n" + overviewDocument(overview), overview.dump(), std::string(kProject)});
}

void seedGoals(Service& s, long long uid)
{
    const std::string scope = projectGoalScope(kProject);
    const json goals[] = {
        {{"id", "g-demo-signups"},
         {"objective", "Reach 500 sign-ups from the spring launch"},
         {"title", "500 spring sign-ups"},
         {"status", "running"},
         {"target", 500},
         {"current", 212},
         {"unit", "sign-ups"},
         {"execution_mode", "recurring"},
         {"version", 3},
         {"definition_of_done", "500 new accounts created from launch channels by May 31."}},
        {{"id", "g-demo-cases"},
         {"objective", "Publish three customer case studies"},
         {"status", "awaiting_review"},
         {"target", 3},
         {"current", 1},
         {"unit", "case studies"},
         {"execution_mode", "recurring"},
         {"version", 2},
         {"definition_of_done", "Three approved case studies live on the blog."},
         {"pending_review",
          {{"run_id", "run-demo-case-1"},
           {"acceptance_status", "pending"},
           {"review_deadline", "2031-05-20T12:00:00Z"}}}},
        {{"id", "g-demo-pricing"},
         {"objective", "Collect competitor pricing for the launch page"},
         {"status", "completed"},
         {"target", 1},
         {"current", 1},
         {"unit", "result"},
         {"execution_mode", "once"},
         {"version", 2},
         {"definition_of_done", "A table of competitor plans and prices."}},
    };
    // Dated so that the list, newest first, opens on the running goal.
    int age = static_cast<int>(std::size(goals));
    for (const auto& goal : goals)
        s.db->execute("INSERT INTO chat_goals (id, user_id, scope, json, created_at) VALUES (?, ?, ?, ?, ?)",
                      {goal["id"].get<std::string>(), uid, scope, goal.dump(),
                       "2025-03-0" + std::to_string(age--) + "T09:00:00.000Z"});
}

} // namespace

void seedProjectProfile(Service& s, long long userId)
{
    seedProfile(s);
    seedGoals(s, userId);
}

} // namespace service
