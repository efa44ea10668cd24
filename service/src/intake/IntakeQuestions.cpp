#include "intake/IntakeQuestions.h"

#include "intake/PlainText.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace service::intake {

namespace {

int count(const std::string& text, std::initializer_list<const char*> words)
{
    int n = 0;
    for (const char* w : words)
        for (size_t at = text.find(w); at != std::string::npos; at = text.find(w, at + 1))
            ++n;
    return n;
}

bool mentions(const std::string& text, std::initializer_list<const char*> words) { return count(text, words) > 0; }

using Options = std::array<std::vector<std::string>, 4>; // by Trade

struct Candidate {
    const char* key;
    const char* question;
    const char* hint;
    Options options;
};

const std::vector<Candidate>& candidates()
{
    static const std::vector<Candidate> all{
        {"desired_result",
         "What should this project achieve first?",
         "Pick the outcome that would make the project worth it.",
         {{{"More wholesale accounts with cafés and restaurants", "More online pre-orders for collection",
            "Busier weekdays in the shop", "A new product line people ask for"},
           {"A steadier flow of new client enquiries", "Larger projects with existing clients",
            "The studio known in a new sector", "A fixed-price service that sells itself"},
           {"More trial sign-ups", "More trials turning into paying customers", "Customers staying longer",
            "A new feature launched to the market"},
           {"More new customers", "More sales to existing customers", "Something new launched",
            "Less routine work for the team"}}}},
        {"audience",
         "Who should the project reach first?",
         "The group whose “yes” matters most right now.",
         {{{"Local families and regulars", "Cafés and restaurants buying wholesale", "People ordering cakes for events",
            "Offices ordering catering"},
           {"Cultural institutions", "Early-stage start-ups", "Established brands planning a refresh",
            "Product teams that need a design system"},
           {"Small businesses", "Mid-sized companies", "Developers and technical teams", "Enterprise buyers"},
           {"Individual consumers", "Small businesses", "Larger companies", "Public sector and non-profits"}}}},
        {"competitors",
         "Who do customers compare you with?",
         nullptr,
         {{{"Other independent bakeries nearby", "Supermarket bakery aisles", "Coffee chains", "Not sure yet"},
           {"Larger branding agencies", "Freelance designers", "In-house design teams", "Not sure yet"},
           {"Established market leaders", "Spreadsheets and manual work", "Other start-ups", "Not sure yet"},
           {"Bigger established players", "Small local alternatives", "Customers doing it themselves",
            "Not sure yet"}}}},
        {"deadline",
         "When should the first results land?",
         nullptr,
         {{{"Within two weeks", "Within a month", "This quarter", "No fixed deadline"}, {}, {}, {}}}},
        {"budget",
         "What can the project spend each month?",
         nullptr,
         {{{"Under $100", "$100 to $500", "$500 to $2,000", "Not decided yet"}, {}, {}, {}}}},
        {"channels",
         "Where should the work show up?",
         nullptr,
         {{{"Website and e-mail", "Social media", "In person", "Partners and marketplaces"}, {}, {}, {}}}},
        {"tone",
         "How should the project sound to customers?",
         nullptr,
         {{{"Warm and personal", "Plain and practical", "Bold and playful", "Calm and premium"}, {}, {}, {}}}},
    };
    return all;
}

// True when the texts already settle the candidate's decision.
bool answeredBy(const std::string& key, const std::string& text)
{
    if (key == "budget")
        return mentions(text, {"budget", "$", "€", "£", "per month", "a month"});
    if (key == "deadline")
        return mentions(text, {"deadline", "by the end of", "launch date", "within "});
    if (key == "competitors")
        return mentions(text, {"competitor", "compete", "versus", " vs ", "alternative to"});
    return false;
}

} // namespace

bool isOfferedOption(const std::string& text)
{
    for (const auto& c : candidates())
        for (const auto& options : c.options)
            if (std::find(options.begin(), options.end(), text) != options.end())
                return true;
    return false;
}

std::string evidenceText(const std::string& label, const std::string& description, const IntakeSource& source)
{
    std::string all = label + "\n" + description + "\n" + source.title + "\n" + source.digest;
    for (const auto& fact : source.facts)
        all += "\n" + fact;
    return all;
}

Trade tradeOf(const std::string& text)
{
    const std::string t = lowerAscii(text);
    const int food = count(
        t,
        {"bake", "bread", "café", "cafe", "restaurant", "coffee", "food", "kitchen", "cake", "menu", "loaf", "loaves"});
    const int design = count(t, {"design", "studio", "agency", "brand", "identity", "creative", "typography"});
    const int software = count(t, {"software", " app", "saas", "platform", "api", "developer", "subscription"});
    const int best = std::max({food, design, software});
    if (best == 0)
        return Trade::general;
    return best == food ? Trade::food : best == design ? Trade::design : Trade::software;
}

json intakeQuestions(const std::string& label, const std::string& description, const IntakeSource& source)
{
    const Trade trade = tradeOf(evidenceText(label, description, source));
    const std::string told = lowerAscii(description);
    // A read website settles more, so fewer questions are left to ask.
    const size_t wanted = source.read() ? 5 : 6;
    json out = json::array();
    for (const auto& c : candidates()) {
        if (out.size() == wanted)
            break;
        if (answeredBy(c.key, told))
            continue;
        const auto& byTrade = c.options[size_t(trade)];
        json q{{"key", c.key}, {"question", c.question}, {"options", byTrade.empty() ? c.options[0] : byTrade}};
        if (c.hint)
            q["hint"] = c.hint;
        out.push_back(std::move(q));
    }
    return out;
}

} // namespace service::intake
