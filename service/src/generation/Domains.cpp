#include "generation/Domains.h"

namespace service::generation {

namespace {

const char* const kAsk = "Ask before sending, publishing or paying for anything outside the workspace.";

std::vector<Domain> build()
{
    return {
        {"email",
         {"email", "newsletter", "mailchimp", "campaign", "drip", "inbox", "рассыл", "письм"},
         "Email marketing specialist",
         "campaigns and newsletters that get opened, read and clicked",
         "Email Growth Studio",
         "Turn every send into measurable revenue.",
         {{"Weekly newsletter", "newsletter", "One issue a week, drafted and scheduled"},
          {"Launch campaigns", "campaigns", "Sequences around launches and offers"},
          {"List health", "list_health", "Segments, clean-up and deliverability"}},
         {{"Subject line lab", "Writes and ranks subject lines before a send.",
           "Draft eight subject lines in three styles (plain, curious, benefit). Cut any over 50 characters. "
           "Rank them by clarity, then pick two for an A/B test."},
          {"Campaign recap", "Summarises how a send performed.",
           "Report opens, clicks, unsubscribes and revenue against the last four sends; name one thing to repeat and "
           "one to drop."}},
         {"web_search", "gmail", "google_sheets", "mailchimp"},
         {"Never email a list that has not opted in.", "Keep every send under 200 words unless asked."},
         {"https://mailchimp.com/resources/", "https://www.litmus.com/blog"},
         "Good emails have one goal, one call to action and a subject line under 50 characters. Send when the list is "
         "awake; measure clicks, not only opens.",
         {"campaign drafts", "send schedule", "performance recap"},
         {{"@strategist", "Campaign strategist", "a send plan with audience and goal", "writing the copy",
           "google_sheets"},
          {"@copywriter", "Email copywriter", "subject lines and body copy", "choosing the audience", "gmail"},
          {"@designer", "Email designer", "a mobile-ready layout", "the wording", "browser"},
          {"@analyst", "Campaign analyst", "a recap with the numbers that matter", "writing or sending",
           "google_sheets"}}},
        {"web",
         {"website", "landing", "web design", "web page", "figma", "wordpress", "сайт", "лендинг"},
         "Web designer",
         "pages that load fast, read clearly and turn visitors into sign-ups",
         "Web Studio",
         "Ship pages people understand in five seconds.",
         {{"Landing pages", "landing", "One page per offer, built to convert"},
          {"Site refresh", "refresh", "Audit and rework the pages you have"},
          {"Design system", "system", "Colours, type and components that stay consistent"}},
         {{"Page audit", "Reviews a page for clarity, speed and accessibility.",
           "Load the page, note the headline, the first call to action and the load time. List the five fixes with the "
           "biggest effect first, each with the reason."},
          {"Wireframe brief", "Turns an offer into a section-by-section page plan.",
           "For each section give its job, the headline, two lines of copy and the visual. Keep to seven sections or "
           "fewer."}},
         {"browser", "web_search", "figma", "image_generation"},
         {"Meet WCAG AA contrast on every page.", "Never publish to the live site without approval."},
         {"https://web.dev/learn", "https://www.nngroup.com/articles/"},
         "A page has one job. The headline says what it is, the sub-headline who it is for, the button what happens "
         "next.",
         {"wireframes", "page copy", "design review"},
         {{"@ux", "UX researcher", "the visitor's questions and the page plan", "visual design", "web_search"},
          {"@designer", "Visual designer", "mock-ups and assets", "writing the copy", "figma"},
          {"@builder", "Front-end builder", "the working page", "choosing the offer", "browser"}}},
        {"research",
         {"research", "competitor", "market", "analys", "report", "sources", "исследов", "конкурент"},
         "Research analyst",
         "answers backed by sources, with what is known and what is not",
         "Research Desk",
         "Decisions backed by evidence, not hunches.",
         {{"Competitor watch", "competitors", "Track what rivals ship and charge"},
          {"Market sizing", "market", "Who buys, how many, and for how much"},
          {"Deep dives", "deep_dive", "One question answered thoroughly"}},
         {{"Source check", "Rates each source before it is used.",
           "For every source note the publisher, the date and whether the claim is primary. Drop anything older than "
           "two "
           "years unless it is the only evidence, and say so."},
          {"Brief writer", "Writes findings as a one-page brief.",
           "Lead with the answer in two sentences, then three findings with sources, then open questions."}},
         {"web_search", "browser", "google_docs"},
         {"Cite a source for every claim.", "Say plainly when the evidence is thin."},
         {"https://scholar.google.com", "https://www.statista.com"},
         "Prefer primary sources: filings, pricing pages, changelogs, interviews. Separate facts from estimates.",
         {"research briefs", "source lists", "comparison tables"},
         {{"@scout", "Source scout", "a vetted list of sources", "drawing conclusions", "web_search"},
          {"@analyst", "Research analyst", "findings with evidence", "collecting sources", "google_docs"},
          {"@editor", "Brief editor", "the final one-page brief", "new research", "google_docs"}}},
        {"sales",
         {"sales", "lead", "prospect", "crm", "outreach", "pipeline", "b2b", "продаж"},
         "Sales development rep",
         "a pipeline of qualified leads and first conversations booked",
         "Revenue Team",
         "Fill the calendar with the right conversations.",
         {{"Lead lists", "leads", "Find and qualify accounts that fit"},
          {"Outreach", "outreach", "First messages and follow-ups"},
          {"CRM hygiene", "crm", "Keep deals and notes up to date"}},
         {{"Account fit", "Scores an account against the ideal customer.",
           "Check size, industry, region and a buying signal. Score 0-3 on each; pass accounts scoring 8 or more."},
          {"Follow-up cadence", "Plans follow-ups that stay polite.",
           "Three touches over ten days, each adding something new; stop at the first reply or a no."}},
         {"web_search", "gmail", "hubspot", "google_sheets"},
         {"Never send more than 50 cold emails a day.", "Log every contact in the CRM."},
         {"https://www.hubspot.com/sales", "https://www.linkedin.com/sales"},
         "Qualify before you pitch: budget, authority, need, timing. Personal first lines beat templates.",
         {"lead lists", "outreach drafts", "weekly pipeline report"},
         {{"@prospector", "Lead prospector", "a qualified lead list", "writing messages", "web_search"},
          {"@writer", "Outreach writer", "personal first messages", "finding leads", "gmail"},
          {"@closer", "Deal coordinator", "booked calls and CRM notes", "prospecting", "hubspot"}}},
        {"support",
         {"support", "customer", "ticket", "helpdesk", "faq", "refund", "поддержк", "клиент"},
         "Customer support agent",
         "fast, kind answers and tickets that do not bounce back",
         "Support Crew",
         "Every customer answered well the first time.",
         {{"Inbox replies", "replies", "Answer tickets within the hour"},
          {"Help centre", "help_centre", "Turn repeated questions into articles"},
          {"Escalations", "escalations", "Spot and route the hard cases"}},
         {{"Reply drafter", "Answers a ticket in the house voice.",
           "Thank, answer the question in the first two lines, give the next step, sign off. Link the help article "
           "when one exists."},
          {"Triage", "Sorts incoming tickets by urgency.",
           "Urgent: payment or outage. High: blocked user. Normal: how-to. Tag and route accordingly."}},
         {"gmail", "zendesk", "web_search"},
         {"Never promise refunds without approval.", "Reply in the customer's language."},
         {"https://www.zendesk.com/blog/", "https://www.helpscout.com/helpu/"},
         "Answer the question asked, then the next one they will have. Apologise once, fix twice.",
         {"ticket replies", "help articles", "weekly issue summary"},
         {{"@triage", "Ticket triager", "tagged and routed tickets", "writing replies", "zendesk"},
          {"@responder", "Support responder", "customer replies", "refund decisions", "gmail"},
          {"@writer", "Help centre writer", "articles for repeated questions", "answering tickets", "google_docs"}}},
        {"social",
         {"social", "instagram", "linkedin", "twitter", "tiktok", "post", "соцсет"},
         "Social media manager",
         "a steady calendar of posts that start conversations",
         "Social Studio",
         "Show up every day with something worth sharing.",
         {{"Content calendar", "calendar", "A month of posts planned ahead"},
          {"Community", "community", "Replies and conversations"},
          {"Growth experiments", "experiments", "Formats and timing tests"}},
         {{"Post drafter", "Writes posts in the channel's own style.",
           "Hook in the first line, one idea per post, a question or call to action at the end; adapt length per "
           "network."},
          {"Calendar planner", "Plans the month's themes.",
           "Four weekly themes, three posts each, mixing how-to, story and proof."}},
         {"browser", "image_generation", "google_sheets"},
         {"Never post without approval in the first month.", "No engagement bait."},
         {"https://blog.hootsuite.com", "https://buffer.com/resources/"},
         "Consistency beats virality. Native formats win; reply to every comment in the first hour.",
         {"post drafts", "content calendar", "monthly insights"},
         {{"@planner", "Content planner", "the monthly calendar", "writing posts", "google_sheets"},
          {"@creator", "Post creator", "posts with visuals", "scheduling", "image_generation"},
          {"@community", "Community manager", "replies and a weekly digest", "creating posts", "browser"}}},
        {"content",
         {"blog", "article", "seo", "copy", "writer", "content", "статьи", "текст"},
         "Content writer",
         "articles and copy that rank, read well and sound like you",
         "Content Studio",
         "Publish useful pieces on a steady rhythm.",
         {{"Blog articles", "articles", "Long-form posts that rank"},
          {"Web copy", "copy", "Pages, product text and ads"},
          {"Repurposing", "repurpose", "One piece into many formats"}},
         {{"Outline first", "Plans an article before drafting it.",
           "Search intent, working title, five to seven headings, the key point under each, sources to cite."},
          {"Edit pass", "Tightens a draft.",
           "Cut filler words, one idea per paragraph, active voice, check every claim has a source."}},
         {"web_search", "google_docs", "browser"},
         {"No plagiarism: cite and link every source.", "Match the brand voice guide."},
         {"https://developers.google.com/search/docs", "https://www.grammarly.com/blog/"},
         "Write for the reader's question first and the search engine second. Short paragraphs, concrete examples.",
         {"outlines", "article drafts", "edited copy"},
         {{"@researcher", "Topic researcher", "briefs with keywords and sources", "drafting", "web_search"},
          {"@writer", "Writer", "first drafts", "choosing topics", "google_docs"},
          {"@editor", "Editor", "publish-ready copy", "new topics", "google_docs"},
          {"@publisher", "Publisher", "scheduled posts with metadata", "editing", "browser"}}},
        {"finance",
         {"invoice", "bookkeep", "accounting", "expense", "budget", "finance", "счет", "бухгалт"},
         "Bookkeeping assistant",
         "clean books, paid invoices and no surprises at month end",
         "Finance Desk",
         "Books closed on time, every month.",
         {{"Invoices", "invoices", "Send, chase and reconcile"},
          {"Expenses", "expenses", "Receipts matched and categorised"},
          {"Reporting", "reporting", "Monthly figures in plain words"}},
         {{"Reconcile", "Matches payments to invoices.",
           "Match by amount and reference; flag partial payments; list anything older than 30 days unpaid."},
          {"Month-end summary", "Explains the month in numbers.",
           "Revenue, costs, cash at month end and the three biggest changes, each in one line."}},
         {"google_sheets", "gmail", "quickbooks"},
         {"Never move money.", "Flag anything over 1,000 USD for review."},
         {"https://quickbooks.intuit.com/learn-support/", "https://www.xero.com/blog/"},
         "Every transaction has a document. Categorise consistently; reconcile weekly so month end is a check, not a "
         "hunt.",
         {"reconciled ledger", "invoice reminders", "monthly summary"},
         {{"@clerk", "Bookkeeping clerk", "categorised transactions", "approving spend", "quickbooks"},
          {"@collector", "Collections assistant", "polite payment reminders", "bookkeeping", "gmail"},
          {"@controller", "Finance reviewer", "the monthly summary", "chasing payments", "google_sheets"}}},
        {"general",
         {},
         "Operations assistant",
         "the recurring work you describe, done the same careful way each time",
         "Operations Team",
         "Routine work, handled end to end.",
         {{"Daily routine", "routine", "The same tasks, every day"},
          {"Projects", "projects", "One-off pieces of work"},
          {"Inbox and requests", "requests", "Questions from you and your team"}},
         {{"Task breakdown", "Splits a request into steps.",
           "Restate the goal, list the steps with owners and dates, name what is unclear and ask once."},
          {"Status note", "Reports progress briefly.", "Done, doing, blocked — three lines, each with the next step."}},
         {"web_search", "google_docs", "gmail"},
         {"Confirm the goal before starting anything longer than an hour."},
         {"https://www.notion.so/help/guides"},
         "Keep a running checklist. Close every loop with a short note of what was done.",
         {"task lists", "status notes", "finished deliverables"},
         {{"@planner", "Planner", "a plan with steps and owners", "doing the work", "google_docs"},
          {"@operator", "Operator", "the finished work", "planning", "browser"},
          {"@reviewer", "Reviewer", "a quality check before delivery", "doing the work", "google_docs"}}},
    };
}

} // namespace

const std::vector<Domain>& domains()
{
    static const std::vector<Domain> all = [] {
        auto d = build();
        for (auto& domain : d)
            domain.constraints.push_back(kAsk);
        return d;
    }();
    return all;
}

const Domain& domainFor(const std::string& foldedBrief)
{
    const Domain* best = &domains().back();
    size_t bestHits = 0;
    for (const auto& d : domains()) {
        size_t hits = 0;
        for (const char* w : d.words)
            if (foldedBrief.find(w) != std::string::npos)
                ++hits;
        if (hits > bestHits) {
            best = &d;
            bestHits = hits;
        }
    }
    return *best;
}

const std::vector<MemberRole>& spareMembers()
{
    static const std::vector<MemberRole> spare = {
        {"@reviewer", "Quality reviewer", "a checked, consistent result", "producing the first draft", "google_docs"},
        {"@coordinator", "Coordinator", "the plan and the hand-offs on time", "the specialist work", "google_sheets"},
    };
    return spare;
}

} // namespace service::generation
