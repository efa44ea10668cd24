// The one left-to-right pass over an inline run. Code spans, autolinks, bare addresses and
// mentions are read whole where they start; brackets and emphasis runs are kept on stacks and
// resolved when a "]" or the end of the run arrives.
#include "richtext/inline/EmphasisResolver.h"
#include "richtext/inline/InlineNodes.h"
#include "richtext/inline/InlineScanner.h"

#include "richtext/MarkdownChars.h"

#include <QHash>

#include <vector>

namespace halvex::InlineMarkup {

namespace {

using MarkdownChars::isWhite;

bool isFlankPunctuation(QChar c) { return c.unicode() < 0x80 ? isAsciiPunctuation(c) : c.isPunct() || c.isSymbol(); }

// Where each length of backtick run occurs, so an opening run finds its closer without
// searching: openers come in text order, so each list is walked once.
class BacktickRuns {
public:
    explicit BacktickRuns(QStringView s)
    {
        for (qsizetype i = 0; i < s.size();) {
            if (s[i] != u'`') {
                ++i;
                continue;
            }
            const qsizetype start = i;
            while (i < s.size() && s[i] == u'`')
                ++i;
            m_runs[i - start].starts.push_back(start);
        }
    }
    qsizetype closerAfter(qsizetype from, qsizetype length)
    {
        const auto it = m_runs.find(length);
        if (it == m_runs.end())
            return -1;
        Runs& runs = it.value();
        while (runs.next < runs.starts.size() && runs.starts[runs.next] < from)
            ++runs.next;
        return runs.next < runs.starts.size() ? runs.starts[runs.next] : -1;
    }

private:
    struct Runs {
        std::vector<qsizetype> starts;
        size_t next = 0;
    };
    QHash<qsizetype, Runs> m_runs;
};

class Interpreter {
public:
    explicit Interpreter(QStringView s) : m_s(s), m_backticks(s), m_emphasis(m_nodes) {}

    QList<Node> run()
    {
        bool sourceLine = isSourceLine(m_s, 0);
        for (qsizetype i = 0; i < m_s.size();) {
            const QChar c = m_s[i];
            if (c == u'\n' || c == u'\r') {
                i += c == u'\r' && i + 1 < m_s.size() && m_s[i + 1] == u'\n' ? 2 : 1;
                add(Node::Kind::lineBreak);
                sourceLine = isSourceLine(m_s, i);
            } else if (c == u'\\') {
                i = escape(i);
            } else if (c == u'`') {
                i = codeSpan(i);
            } else if (c == u'*' || c == u'_' || c == u'~') {
                i = delimiterRun(i);
            } else if (c == u'[' || (c == u'!' && i + 1 < m_s.size() && m_s[i + 1] == u'[')) {
                m_brackets.push_back(
                    {add(Node::Kind::text, c == u'!' ? QStringLiteral("![") : QStringLiteral("[")), c == u'!'});
                m_nodes.back().sealed = true;
                i += c == u'!' ? 2 : 1;
            } else if (c == u']') {
                i = closeBracket(i);
            } else if (c == u'<') {
                i = autolink(i, sourceLine);
            } else if (c == u'h' || c == u'H') {
                i = bareAddress(i, sourceLine);
            } else if (c == u'@') {
                i = mention(i);
            } else {
                text(c);
                ++i;
            }
        }
        m_emphasis.resolve(-1);
        return std::move(m_nodes);
    }

private:
    struct Bracket {
        qsizetype node;
        bool image;
    };

    qsizetype add(Node::Kind kind, QString text = {}, QString target = {})
    {
        Node node;
        node.kind = kind;
        node.text = std::move(text);
        node.target = std::move(target);
        m_nodes.append(std::move(node));
        return m_nodes.size() - 1;
    }

    void text(QStringView t)
    {
        if (m_nodes.isEmpty() || m_nodes.back().kind != Node::Kind::text || m_nodes.back().sealed)
            add(Node::Kind::text);
        m_nodes.back().text += t;
    }
    void text(QChar c) { text(QStringView(&c, 1)); }

    qsizetype escape(qsizetype i)
    {
        if (i + 1 < m_s.size() && isAsciiPunctuation(m_s[i + 1])) {
            text(m_s[i + 1]);
            return i + 2;
        }
        // Before a line end the backslash marks a hard break: the line end writes the break.
        if (i + 1 < m_s.size() && (m_s[i + 1] == u'\n' || m_s[i + 1] == u'\r'))
            return i + 1;
        text(m_s[i]);
        return i + 1;
    }

    qsizetype codeSpan(qsizetype i)
    {
        qsizetype end = i;
        while (end < m_s.size() && m_s[end] == u'`')
            ++end;
        const qsizetype length = end - i;
        const qsizetype closer = m_backticks.closerAfter(end, length);
        if (closer < 0) {
            text(m_s.sliced(i, length));
            return end;
        }
        QString code = m_s.sliced(end, closer - end).toString();
        code.replace(QLatin1String("\r\n"), QLatin1String(" "));
        code.replace(u'\n', u' ').replace(u'\r', u' ');
        if (code.size() >= 2 && code.front() == u' ' && code.back() == u' ' && !code.trimmed().isEmpty())
            code = code.sliced(1, code.size() - 2);
        add(Node::Kind::code, std::move(code));
        return closer + length;
    }

    qsizetype delimiterRun(qsizetype i)
    {
        const QChar ch = m_s[i];
        qsizetype end = i;
        while (end < m_s.size() && m_s[end] == ch)
            ++end;
        const qsizetype count = end - i;
        if (ch == u'~' && count != 2) {
            text(m_s.sliced(i, count));
            return end;
        }
        const QChar before = i > 0 ? m_s[i - 1] : QChar(u' ');
        const QChar after = end < m_s.size() ? m_s[end] : QChar(u' ');
        const bool beforeWhite = isWhite(before), afterWhite = isWhite(after);
        const bool beforePunct = isFlankPunctuation(before), afterPunct = isFlankPunctuation(after);
        const bool left = !afterWhite && (!afterPunct || beforeWhite || beforePunct);
        const bool right = !beforeWhite && (!beforePunct || afterWhite || afterPunct);
        const bool canOpen = ch == u'_' ? left && (!right || beforePunct) : left;
        const bool canClose = ch == u'_' ? right && (!left || afterPunct) : right;
        const qsizetype node = add(Node::Kind::delimiter);
        m_nodes[node].delimiter = ch;
        m_nodes[node].remaining = int(std::min<qsizetype>(count, 1 << 30));
        if (canOpen || canClose)
            m_emphasis.push(node, ch, m_nodes[node].remaining, canOpen, canClose);
        return end;
    }

    qsizetype closeBracket(qsizetype i)
    {
        if (m_brackets.empty()) {
            text(m_s[i]);
            return i + 1;
        }
        const Bracket bracket = m_brackets.back();
        m_brackets.pop_back();
        const qsizetype depth = qsizetype(m_brackets.size());
        const bool active = bracket.image || depth >= m_inactive;
        m_inactive = std::min(m_inactive, depth);
        const LinkTail tail = active ? readLinkTail(m_s, i + 1) : LinkTail{};
        if (tail.end < 0) {
            text(m_s[i]);
            return i + 1;
        }
        m_emphasis.resolve(bracket.node);
        Node& open = m_nodes[bracket.node];
        open.kind = Node::Kind::linkOpen;
        open.image = bracket.image;
        open.emptyLabel = bracket.node == m_nodes.size() - 1;
        open.target = tail.destination;
        add(Node::Kind::linkClose);
        // No link inside a link: the brackets still open around this one stay text.
        if (!bracket.image)
            m_inactive = depth;
        return tail.end;
    }

    qsizetype autolink(qsizetype i, bool sourceLine)
    {
        QString target;
        const qsizetype end = readAutolink(m_s, i, &target);
        if (end < 0) {
            text(m_s[i]);
            return i + 1;
        }
        QString label
            = target.startsWith(QLatin1String("mailto:")) ? m_s.sliced(i + 1, end - i - 2).toString() : target;
        addAddress(std::move(label), std::move(target), sourceLine);
        return end;
    }

    qsizetype bareAddress(qsizetype i, bool sourceLine)
    {
        const qsizetype end = readBareAddress(m_s, i);
        if (end < 0) {
            text(m_s[i]);
            return i + 1;
        }
        const QString address = m_s.sliced(i, end - i).toString();
        addAddress(address, address, sourceLine);
        return end;
    }

    void addAddress(QString label, QString target, bool sourceLine)
    {
        const qsizetype node = add(Node::Kind::address, std::move(label), std::move(target));
        m_nodes[node].folded = sourceLine;
    }

    qsizetype mention(qsizetype i)
    {
        const qsizetype end = readMention(m_s, i);
        if (end < 0) {
            text(m_s[i]);
            return i + 1;
        }
        add(Node::Kind::mention, m_s.sliced(i, end - i).toString());
        return end;
    }

    QStringView m_s;
    QList<Node> m_nodes;
    BacktickRuns m_backticks;
    EmphasisResolver m_emphasis;
    std::vector<Bracket> m_brackets;
    // The brackets this deep in the stack and below may no longer open a link (images still may).
    qsizetype m_inactive = 0;
};

} // namespace

QList<Node> interpret(QStringView text) { return Interpreter(text).run(); }

} // namespace halvex::InlineMarkup
