#include "marketplace/MarketplaceCatalog.h"

#include <sstream>

namespace service::marketplace {

namespace {

// One row per employee; lists are "|"-separated, a skill is "name: description".
struct Row {
    const char* id;
    const char* name;
    const char* service;
    const char* sector;
    const char* creator;
    const char* description;
    const char* skills;
    const char* tasks;
    const char* tools;
    int steps;
    int installs;
    double rating;
};

const Row kRows[] = {
    {"mk-newsletter-writer", "Newsletter Writer", "Email Marketing", "marketing", "Halvex Studio",
     "Drafts a weekly newsletter from your updates, links and tone of voice, and schedules it for the best send time.",
     "Subject lines: ranks eight options before every send|Issue planning: turns a pile of links into one story",
     "Write this week's newsletter from these notes|Give me five subject lines for the launch email|Plan next month's "
     "issues",
     "gmail|mailchimp|web_search", 4, 1840, 4.8},
    {"mk-drip-architect", "Drip Campaign Architect", "Email Marketing", "marketing", "Halvex Studio",
     "Designs onboarding and nurture sequences, writes each email and sets the delays between them.",
     "Sequence design: maps each email to a step of the customer journey|Copy: short emails with one call to action",
     "Build a 5-email onboarding sequence|Rewrite our trial-ending email|Map a win-back sequence",
     "mailchimp|gmail|google_sheets", 5, 1215, 4.7},
    {"mk-list-doctor", "List Health Doctor", "Email Marketing", "marketing", "Nora Lindqvist",
     "Cleans and segments your mailing list, watches bounce and complaint rates and keeps you out of spam folders.",
     "Segmentation: groups subscribers by behaviour|Deliverability: spots what hurts inbox placement",
     "Segment our list by engagement|Find why open rates dropped|Draft a re-permission email",
     "mailchimp|google_sheets", 3, 640, 4.5},
    {"mk-campaign-analyst", "Campaign Analyst", "Email Marketing", "marketing", "Halvex Studio",
     "Reads every send's numbers and tells you in plain words what worked, what did not and what to try next.",
     "Recaps: opens, clicks and revenue against your last sends|Tests: plans A/B tests worth running",
     "Recap last month's campaigns|Which subject lines worked best?|Plan three A/B tests", "google_sheets|mailchimp", 3,
     905, 4.6},
    {"mk-landing-page-designer", "Landing Page Designer", "Web Design", "design", "Halvex Studio",
     "Plans, writes and lays out landing pages that explain the offer in five seconds and ask for one action.",
     "Wireframes: a section-by-section plan|Conversion copy: headlines that say what it is and who it is for",
     "Design a landing page for our webinar|Rework the pricing page|Write three hero headlines",
     "figma|browser|image_generation", 5, 2120, 4.9},
    {"mk-site-auditor", "Website Auditor", "Web Design", "design", "Kai Moreno",
     "Audits your site for speed, accessibility and clarity and hands you a ranked list of fixes.",
     "Page audits: load time, contrast and structure|Fix lists: the biggest wins first",
     "Audit our home page|Check the checkout for accessibility|Why is the blog slow?", "browser|web_search", 4, 1033,
     4.6},
    {"mk-brand-stylist", "Brand Stylist", "Web Design", "design", "Iris Okafor",
     "Keeps colours, type and components consistent across your pages and builds a small design system.",
     "Design tokens: colours, spacing and type scales|Component review: consistent buttons, cards and forms",
     "Draft a colour palette for our rebrand|Review our buttons for consistency|Write the style guide",
     "figma|image_generation", 3, 588, 4.4},
    {"mk-web-copy-editor", "Web Copy Editor", "Web Design", "design", "Halvex Studio",
     "Rewrites page copy so visitors understand what you do, who it is for and what to do next.",
     "Clarity edits: shorter sentences, concrete words|Microcopy: buttons, forms and errors that help",
     "Edit our About page|Rewrite the sign-up form labels|Tighten the features section", "browser|google_docs", 3, 760,
     4.5},
    {"mk-market-researcher", "Market Researcher", "Research", "research", "Halvex Studio",
     "Sizes markets, finds who buys and why, and writes it up with sources you can check.",
     "Market sizing: top-down and bottom-up estimates|Source checks: primary sources first",
     "Size the market for our product in Germany|Who are the buyers of HR software?|Summarise this industry report",
     "web_search|browser|google_docs", 5, 2410, 4.8},
    {"mk-competitor-watch", "Competitor Watch", "Research", "research", "Leo Brandt",
     "Follows your competitors' pricing, launches and hiring and sends a short weekly brief.",
     "Change tracking: pricing and changelog pages|Briefs: what changed and why it matters",
     "What did our competitors ship this month?|Compare pricing of the top five|Set up a weekly watch",
     "web_search|browser", 4, 1676, 4.7},
    {"mk-literature-scout", "Literature Scout", "Research", "research", "Mira Sato",
     "Finds papers and reports on a question, reads them and summarises the evidence for and against.",
     "Paper search: finds the studies that matter|Evidence tables: claims, methods and strength",
     "Find studies on four-day work weeks|Summarise the evidence on this drug|Build a reading list",
     "web_search|google_docs", 4, 720, 4.6},
    {"mk-customer-interviewer", "Customer Insight Analyst", "Research", "research", "Halvex Studio",
     "Turns interview notes and survey answers into themes, quotes and decisions.",
     "Coding: tags themes across interviews|Synthesis: the three things customers keep saying",
     "Find themes in these 12 interviews|Draft a customer survey|Summarise churn reasons", "google_docs|google_sheets",
     3, 530, 4.5},
    {"mk-lead-prospector", "Lead Prospector", "Sales", "sales", "Halvex Studio",
     "Finds companies that fit your ideal customer, qualifies them and fills a lead sheet with contacts and reasons.",
     "Account fit: scores size, industry and buying signals|Research notes: one line on why each lead fits",
     "Find 30 SaaS companies hiring sales reps|Qualify this list of leads|Build our ideal customer profile",
     "web_search|google_sheets|hubspot", 4, 1988, 4.7},
    {"mk-outreach-writer", "Outreach Writer", "Sales", "sales", "Theo Vance",
     "Writes personal first emails and follow-ups that sound like you, never like a template.",
     "First lines: personal, specific openers|Follow-ups: three touches that add something new",
     "Write a cold email to this prospect|Draft a follow-up sequence|Improve our reply rate", "gmail|hubspot", 3, 1402,
     4.6},
    {"mk-crm-keeper", "CRM Keeper", "Sales", "sales", "Halvex Studio",
     "Keeps deals, contacts and notes in your CRM up to date and flags deals that have gone quiet.",
     "Pipeline hygiene: stages, dates and next steps|Deal alerts: what needs a nudge today",
     "Clean up stale deals|Which deals need follow-up this week?|Summarise the pipeline", "hubspot|google_sheets", 3,
     690, 4.4},
    {"mk-support-responder", "Support Responder", "Customer Support", "support", "Halvex Studio",
     "Answers customer tickets in your voice within the hour and hands the hard ones to you with a summary.",
     "Replies: answer first, then the next step|Triage: urgent, high and normal, routed right",
     "Answer these five tickets|Draft a reply to an angry customer|Sort today's inbox", "zendesk|gmail", 4, 2255, 4.8},
    {"mk-help-centre-writer", "Help Centre Writer", "Customer Support", "support", "Aya Nakamura",
     "Turns repeated questions into clear help articles with steps and screenshots.",
     "Article writing: one task per article|Gap finding: questions with no article yet",
     "Write an article on resetting passwords|Which questions need articles?|Rewrite our billing FAQ",
     "zendesk|google_docs|browser", 3, 812, 4.5},
    {"mk-churn-rescuer", "Churn Rescuer", "Customer Support", "support", "Halvex Studio",
     "Spots customers about to leave, writes the save message and tells you why they were unhappy.",
     "Risk signals: usage drops and unhappy tickets|Save offers: the right message for the reason",
     "Who is likely to cancel this month?|Write a win-back message|Summarise cancellation reasons",
     "gmail|google_sheets", 3, 455, 4.3},
    {"mk-social-planner", "Social Media Planner", "Social Media", "marketing", "Halvex Studio",
     "Plans a month of posts across your networks, writes them and suggests the visuals.",
     "Calendars: themes for each week|Post writing: hooks and native formats per network",
     "Plan next month's LinkedIn posts|Write five posts about our launch|Turn this blog post into a thread",
     "google_sheets|image_generation|browser", 4, 1760, 4.7},
    {"mk-community-manager", "Community Manager", "Social Media", "marketing", "Lena Fischer",
     "Replies to comments and messages, keeps conversations friendly and sends you a weekly digest.",
     "Replies: warm, fast, on brand|Digests: what people asked and felt this week",
     "Reply to today's comments|Draft community guidelines|What are people asking about?", "browser|gmail", 3, 610,
     4.4},
    {"mk-short-video-scripter", "Short Video Scripter", "Social Media", "marketing", "Halvex Studio",
     "Writes scripts for short videos: the hook, the beats and the call to action, timed to the second.",
     "Hooks: the first two seconds|Beat sheets: scripts timed for 30 and 60 seconds",
     "Script a 30-second product demo|Give me ten video hooks|Turn this post into a reel script", "google_docs", 3, 948,
     4.6},
    {"mk-seo-writer", "SEO Blog Writer", "Content", "content", "Halvex Studio",
     "Researches keywords, outlines and writes blog articles that answer the reader's question and rank.",
     "Outlines: search intent and headings first|Edit passes: tight, sourced, on brand",
     "Write an article on remote onboarding|Find keywords for our product|Refresh our top three posts",
     "web_search|google_docs|browser", 5, 2630, 4.8},
    {"mk-case-study-writer", "Case Study Writer", "Content", "content", "Sage Whitaker",
     "Interviews your customers from your notes and writes case studies with numbers and quotes.",
     "Story structure: problem, change, result|Proof: numbers and quotes that sell",
     "Write a case study from this call|Draft interview questions|Turn this case study into a one-pager", "google_docs",
     3, 701, 4.5},
    {"mk-content-repurposer", "Content Repurposer", "Content", "content", "Halvex Studio",
     "Turns one article, talk or video into posts, emails and snippets for every channel.",
     "Slicing: the five best ideas in a piece|Formats: native to each channel",
     "Repurpose this webinar|Turn this article into an email and three posts|Make quotes from this talk",
     "google_docs|image_generation", 3, 1122, 4.6},
    {"mk-bookkeeper", "Bookkeeping Assistant", "Finance", "finance", "Halvex Studio",
     "Categorises transactions, matches receipts and reconciles your books every week.",
     "Reconciliation: payments matched to invoices|Categories: consistent, audit-ready",
     "Reconcile last week's payments|Categorise these expenses|What is still unpaid?", "quickbooks|google_sheets", 4,
     1390, 4.7},
    {"mk-invoice-chaser", "Invoice Chaser", "Finance", "finance", "Milo Haddad",
     "Sends polite reminders for unpaid invoices and tells you who has paid and who needs a call.",
     "Reminders: polite, firm, on schedule|Ageing report: who owes what and for how long",
     "Remind clients with overdue invoices|Which invoices are over 30 days?|Draft a final notice", "gmail|quickbooks",
     3, 870, 4.5},
    {"mk-recruiting-coordinator", "Recruiting Coordinator", "Recruiting", "people", "Halvex Studio",
     "Writes job posts, screens applications against your criteria and schedules interviews.",
     "Job posts: clear, inclusive, specific|Screening: criteria applied the same way to everyone",
     "Write a job post for a designer|Screen these 40 applications|Schedule interviews for next week",
     "gmail|google_calendar|google_sheets", 4, 1075, 4.6},
    {"mk-sourcer", "Talent Sourcer", "Recruiting", "people", "Nova Reyes",
     "Finds candidates who fit a role, writes personal outreach and tracks replies.",
     "Search strings: finds the right profiles|Outreach: personal first messages",
     "Find ten senior backend engineers in Berlin|Write outreach for this role|Track replies in a sheet",
     "web_search|gmail|google_sheets", 3, 640, 4.4},
    {"mk-data-analyst", "Data Analyst", "Data & Analytics", "analytics", "Halvex Studio",
     "Answers business questions from your spreadsheets and exports, with charts and a short explanation.",
     "Analysis: the question first, then the numbers|Charts: one message per chart",
     "Why did revenue dip in March?|Build a cohort table from this export|Chart weekly sign-ups",
     "google_sheets|python", 4, 1950, 4.8},
    {"mk-kpi-reporter", "KPI Reporter", "Data & Analytics", "analytics", "Halvex Studio",
     "Builds your weekly KPI report, compares it to targets and explains the three biggest changes.",
     "Dashboards: the numbers that matter, nothing else|Commentary: what changed and why",
     "Build our weekly KPI report|Set targets for next quarter|Explain this week's numbers", "google_sheets", 3, 1210,
     4.6},
};

std::vector<std::string> split(const std::string& text)
{
    std::vector<std::string> out;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, '|');)
        if (!part.empty())
            out.push_back(part);
    return out;
}

Listing listing(const Row& r)
{
    Listing l{r.id, r.name,         r.service,      r.sector, r.creator,  r.description,
              {},   split(r.tasks), split(r.tools), r.steps,  r.installs, r.rating};
    for (const auto& skill : split(r.skills)) {
        const size_t colon = skill.find(": ");
        l.skills.push_back({skill.substr(0, colon), colon == std::string::npos ? "" : skill.substr(colon + 2)});
    }
    return l;
}

} // namespace

const std::vector<Listing>& catalog()
{
    static const std::vector<Listing> all = [] {
        std::vector<Listing> out;
        for (const auto& r : kRows)
            out.push_back(listing(r));
        return out;
    }();
    return all;
}

const Listing* findListing(const std::string& id)
{
    for (const auto& l : catalog())
        if (l.id == id)
            return &l;
    return nullptr;
}

} // namespace service::marketplace
