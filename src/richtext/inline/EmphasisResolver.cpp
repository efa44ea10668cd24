#include "richtext/inline/EmphasisResolver.h"

#include <array>

namespace halvex::InlineMarkup {

namespace {

int charIndex(QChar ch) { return ch == u'*' ? 0 : ch == u'_' ? 1 : 2; }

} // namespace

void EmphasisResolver::push(qsizetype node, QChar ch, int count, bool canOpen, bool canClose)
{
    m_runs.push_back({node, ch, count, count, canOpen, canClose, m_tail, -1});
    const int index = int(m_runs.size()) - 1;
    if (m_tail >= 0)
        m_runs[m_tail].next = index;
    m_tail = index;
}

void EmphasisResolver::unlink(int run)
{
    Run& r = m_runs[run];
    if (r.prev >= 0)
        m_runs[r.prev].next = r.next;
    if (r.next >= 0)
        m_runs[r.next].prev = r.prev;
    else
        m_tail = r.prev;
}

void EmphasisResolver::pair(Run& opener, Run& closer)
{
    EmphasisTag tag = EmphasisTag::strike;
    int use = 2;
    if (closer.ch != u'~') {
        use = opener.count >= 2 && closer.count >= 2 ? 2 : 1;
        tag = use == 2 ? EmphasisTag::strong : EmphasisTag::italic;
    }
    opener.count -= use;
    closer.count -= use;
    // Delimiters are used from the inside out: a later pair wraps an earlier one.
    Node& open = m_nodes[opener.node];
    open.openTags.prepend(char(tag));
    open.remaining = opener.count;
    Node& close = m_nodes[closer.node];
    close.closeTags.append(char(tag));
    close.remaining = closer.count;
}

void EmphasisResolver::resolve(qsizetype bottomNode)
{
    int closer = -1;
    for (int run = m_tail; run >= 0 && m_runs[run].node > bottomNode; run = m_runs[run].prev)
        closer = run;
    // Per closer kind (character, can it open, original length mod 3): the position below which
    // an earlier closer of that kind already found no opener.
    std::array<qsizetype, 18> openersBottom;
    openersBottom.fill(bottomNode);

    while (closer >= 0) {
        Run& c = m_runs[closer];
        if (!c.canClose) {
            closer = c.next;
            continue;
        }
        const int kind = charIndex(c.ch) * 6 + (c.canOpen ? 3 : 0) + c.original % 3;
        int opener = c.prev;
        bool found = false;
        for (; opener >= 0 && m_runs[opener].node > openersBottom[kind]; opener = m_runs[opener].prev) {
            const Run& o = m_runs[opener];
            if (o.ch != c.ch || !o.canOpen)
                continue;
            // A run that may both open and close pairs only when the lengths do not sum to a
            // multiple of 3, so "*a**b*" keeps its inner pair as text.
            const bool either = o.canClose || c.canOpen;
            if (either && (o.original + c.original) % 3 == 0 && (o.original % 3 != 0 || c.original % 3 != 0))
                continue;
            found = true;
            break;
        }
        if (!found) {
            openersBottom[kind] = c.node - 1;
            const int next = c.next;
            if (!c.canOpen)
                unlink(closer);
            closer = next;
            continue;
        }
        Run& o = m_runs[opener];
        pair(o, c);
        o.next = closer; // the runs between can no longer pair with anything outside
        c.prev = opener;
        if (o.count == 0)
            unlink(opener);
        if (c.count == 0) {
            const int next = c.next;
            unlink(closer);
            closer = next;
        }
    }
    while (m_tail >= 0 && m_runs[m_tail].node > bottomNode)
        unlink(m_tail);
}

} // namespace halvex::InlineMarkup
