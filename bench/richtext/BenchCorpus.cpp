#include "BenchCorpus.h"

#include <QString>

#include <array>
#include <cstdint>

namespace halvex::bench {

namespace {

QString u8(const char* utf8) { return QString::fromUtf8(utf8); }

// A fixed-seed generator: the corpus must be the same on every run and every machine.
class Dice {
public:
    explicit Dice(uint64_t seed) : m_state(seed) {}
    uint32_t next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return uint32_t(m_state >> 33);
    }
    int below(int n) { return int(next() % uint32_t(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, size_t N>
    const T& pick(const std::array<T, N>& a)
    {
        return a[size_t(below(int(N)))];
    }

private:
    uint64_t m_state;
};

const std::array<const char*, 40> englishWords{
    "revenue",    "customers",    "the team",    "pipeline",     "quarter",          "growth",       "retention",
    "pricing",    "the market",   "competitors", "onboarding",   "support tickets",  "annual plans", "the dashboard",
    "conversion", "churn",        "the budget",  "hiring",       "logistics",        "suppliers",    "the launch",
    "feedback",   "the survey",   "margins",     "the forecast", "enterprise deals", "the roadmap",  "latency",
    "the API",    "integrations", "usage",       "the contract", "renewals",         "trial users",  "the funnel",
    "costs",      "the backlog",  "demand",      "inventory",    "the campaign"};
const std::array<const char*, 16> englishVerbs{"grew",          "dropped",     "stayed flat",
                                               "improved",      "slowed down", "doubled",
                                               "recovered",     "shifted",     "outperformed the plan",
                                               "lagged behind", "stabilised",  "accelerated",
                                               "moved",         "changed",     "held up",
                                               "declined"};
const std::array<const char*, 32> russianWords{
    "выручка", "клиенты",  "команда", "рынок",      "конкуренты", "продажи",   "логистика", "поставщики",
    "бюджет",  "прогноз",  "маржа",   "спрос",      "склад",      "отчёт",     "договор",   "воронка",
    "расходы", "запуск",   "опрос",   "интеграции", "тарифы",     "подписки",  "регион",    "партнёры",
    "сроки",   "качество", "сервис",  "доставка",   "найм",       "аналитика", "кампания",  "аудитория"};
const std::array<const char*, 10> russianVerbs{"выросла",        "снизилась",       "не изменилась",  "улучшилась",
                                               "замедлилась",    "удвоилась",       "восстановилась", "сместилась",
                                               "превзошла план", "отстала от плана"};
const std::array<const char*, 12> emoji{"🚀", "✅", "🔥", "📈", "📉", "💡", "⚠️", "👉", "🧭", "🛠️", "📊", "🇩🇪"};
const std::array<const char*, 8> hosts{"example.com",      "www.rbc.ru",           "news.example.org", "docs.vendor.io",
                                       "www.statista.com", "research.example.net", "habr.com",         "blog.acme.dev"};
const std::array<const char*, 6> languages{"python", "json", "bash", "sql", "cpp", ""};

class ReplyWriter {
public:
    explicit ReplyWriter(uint64_t seed) : m_dice(seed) {}

    QString reply()
    {
        m_out.clear();
        m_russian = m_dice.chance(30);
        switch (m_dice.below(10)) {
        case 0:
        case 1:
            shortAnswer();
            break;
        case 2:
            proseAnswer();
            break;
        case 3:
            codeAnswer();
            break;
        default:
            report();
            break;
        }
        return m_out;
    }

private:
    void sentence(int words)
    {
        QString s;
        for (int i = 0; i < words; ++i) {
            if (i > 0)
                s += u' ';
            s += m_russian ? u8(m_dice.pick(russianWords)) : u8(m_dice.pick(englishWords));
            if (i == 1)
                s += u' ' + (m_russian ? u8(m_dice.pick(russianVerbs)) : u8(m_dice.pick(englishVerbs)));
        }
        s[0] = s[0].toUpper();
        if (m_dice.chance(35))
            s += (m_dice.chance(50) ? (m_russian ? u8(" на ") : u8(" by ")) : u8(" "))
                + QString::number(m_dice.below(90) + 3) + u'%';
        if (m_dice.chance(10))
            s += m_russian ? u8(", и т.д") : u8(", e.g. in Q") + QString::number(m_dice.below(4) + 1);
        if (m_dice.chance(12))
            s += u8(" **") + (m_russian ? u8(m_dice.pick(russianWords)) : u8(m_dice.pick(englishWords))) + u8("**");
        if (m_dice.chance(8))
            s += u8(" `") + u8(m_dice.pick(englishWords)) + u8("`");
        s += m_dice.chance(85) ? u8(".") : m_dice.chance(50) ? u8("!") : u8("?");
        if (m_dice.chance(6))
            s += u' ' + u8(m_dice.pick(emoji));
        m_out += s;
    }

    void paragraph(int sentences)
    {
        for (int i = 0; i < sentences; ++i) {
            if (i > 0)
                m_out += u' ';
            sentence(5 + m_dice.below(10));
        }
        m_out += u8("\n\n");
    }

    void heading()
    {
        m_out += QString(m_dice.below(3) + 1, u'#') + u' ';
        if (m_dice.chance(30))
            m_out += u8(m_dice.pick(emoji)) + u' ';
        m_out += m_russian ? u8("Итоги: ") + u8(m_dice.pick(russianWords))
                           : u8("Findings: ") + u8(m_dice.pick(englishWords));
        m_out += u8("\n\n");
    }

    void sourcesLine()
    {
        const int n = 1 + m_dice.below(3);
        const int form = m_dice.below(3);
        m_out += m_russian ? (n == 1 ? u8("Источник: ") : u8("Источники: "))
                           : (n == 1 ? u8("Source: ") : u8("Sources: "));
        for (int i = 0; i < n; ++i) {
            const QString host = u8(m_dice.pick(hosts));
            const QString url = u8("https://") + host + u8("/") + QString::number(2020 + m_dice.below(7))
                + u8("/report-") + QString::number(m_dice.below(1000));
            if (i > 0)
                m_out += u8(", ");
            if (form == 0)
                m_out += u8("[") + u8(m_dice.pick(englishWords)) + u8(" report](") + url + u8(")");
            else if (form == 1 && n == 1)
                m_out += u8("**") + host + u8("** — ") + url;
            else
                m_out += url;
        }
        m_out += u'\n';
    }

    void numberedReport()
    {
        const int n = 2 + m_dice.below(6);
        const int style = m_dice.below(4); // plain, bold number, emoji number, padded number
        for (int i = 1; i <= n; ++i) {
            const QString number = QString::number(i) + u'.';
            if (style == 1)
                m_out += u8("**") + number + u8("** ");
            else if (style == 2)
                m_out += u8(m_dice.pick(emoji)) + u' ' + number + u' ';
            else if (style == 3)
                m_out += number + u8("   ");
            else
                m_out += number + u' ';
            m_out
                += u8("**") + (m_russian ? u8(m_dice.pick(russianWords)) : u8(m_dice.pick(englishWords))) + u8("** — ");
            sentence(6 + m_dice.below(10));
            if (m_dice.chance(40)) {
                m_out += u8("\n   ");
                sentence(6 + m_dice.below(6));
            }
            m_out += u'\n';
            if (m_dice.chance(35)) {
                m_out += u8("   ");
                sourcesLine();
            }
            if (m_dice.chance(20))
                m_out += u'\n';
        }
        m_out += u'\n';
    }

    void bullets()
    {
        const int n = 2 + m_dice.below(5);
        const QChar marker = m_dice.chance(70) ? u'-' : m_dice.chance(50) ? u'*' : u'•';
        for (int i = 0; i < n; ++i) {
            m_out += QString(m_dice.chance(15) ? 2 : 0, u' ') + marker + u' ';
            if (m_dice.chance(40))
                m_out += m_russian ? u8("Срок: ") : u8("Owner: ");
            sentence(4 + m_dice.below(8));
            m_out += u'\n';
        }
        m_out += u'\n';
    }

    void table()
    {
        const int cols = 2 + m_dice.below(4), rows = 2 + m_dice.below(8);
        for (int c = 0; c < cols; ++c)
            m_out += u8("| ") + (c == 0 ? u8("Metric") : u8("Q") + QString::number(c)) + u' ';
        m_out += u8("|\n");
        for (int c = 0; c < cols; ++c)
            m_out += c == 0 ? u8("|---") : u8("|:---:");
        m_out += u8("|\n");
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c)
                m_out += u8("| ")
                    + (c == 0 ? (m_russian ? u8(m_dice.pick(russianWords)) : u8(m_dice.pick(englishWords)))
                              : QString::number(m_dice.below(100000) / 100.0, 'f', 1))
                    + u' ';
            m_out += u8("|\n");
        }
        m_out += u'\n';
    }

    void code()
    {
        m_out += u8("```") + u8(m_dice.pick(languages)) + u'\n';
        const int lines = 3 + m_dice.below(15);
        for (int i = 0; i < lines; ++i)
            m_out += QString(4 * m_dice.below(3), u' ') + u8("value_") + QString::number(i)
                + u8(" = compute(**args, limit=") + QString::number(m_dice.below(500)) + u8(")  # 1. step\n");
        m_out += u8("```\n\n");
    }

    void shortAnswer()
    {
        paragraph(1 + m_dice.below(3));
        if (m_dice.chance(30))
            m_out += m_russian ? u8("Готово ✅") : u8("Done ✅");
    }

    void proseAnswer()
    {
        // One long line: the case readable-prose splitting exists for.
        paragraph(5 + m_dice.below(6));
    }

    void codeAnswer()
    {
        paragraph(1 + m_dice.below(2));
        code();
        if (m_dice.chance(50))
            bullets();
    }

    void report()
    {
        heading();
        paragraph(2 + m_dice.below(3));
        if (m_dice.chance(15))
            m_out += u8("GOAL_OUTPUT_COUNT: 3\nGOAL_ITEM 1: ") + u8(m_dice.pick(englishWords)) + u8("\nGOAL_ITEM 2: ")
                + u8(m_dice.pick(englishWords)) + u8("\n\n");
        numberedReport();
        if (m_dice.chance(50))
            table();
        if (m_dice.chance(60))
            bullets();
        if (m_dice.chance(25)) {
            m_out += m_russian ? u8("Дальше: 1. ") : u8("Next steps: 1. ");
            sentence(4);
            m_out += u8(" 2. ");
            sentence(4);
            m_out += u8(" 3) ");
            sentence(3);
            m_out += u8("\n\n");
        }
        if (m_dice.chance(30)) {
            m_out += u8("> ");
            sentence(8);
            m_out += u8("\n> ");
            sentence(6);
            m_out += u8("\n\n");
        }
        if (m_dice.chance(20))
            m_out += u8("---\n\n");
        if (m_dice.chance(50))
            sourcesLine();
    }

    Dice m_dice;
    QString m_out;
    bool m_russian = false;
};

} // namespace

QStringList assistantReplies()
{
    ReplyWriter writer(20261206);
    QStringList out;
    qsizetype bytes = 0;
    while (bytes < 2'500'000) {
        out.append(writer.reply());
        bytes += out.last().toUtf8().size();
    }
    return out;
}

} // namespace halvex::bench
