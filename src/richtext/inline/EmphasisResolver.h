#pragma once
// Pairs emphasis delimiter runs the way readers expect ("*a*", "**a**", "~~a~~", intraword "_"
// stays text) in time linear in the number of runs: each closer looks back only past openers
// that no earlier closer of its kind could use.
#include "richtext/inline/InlineNodes.h"

#include <vector>

namespace halvex::InlineMarkup {

class EmphasisResolver {
public:
    explicit EmphasisResolver(QList<Node>& nodes) : m_nodes(nodes) {}

    // A run of delimiter characters at nodes[node], with the flanking verdicts of its position.
    void push(qsizetype node, QChar ch, int count, bool canOpen, bool canClose);

    // Pairs the runs that lie after nodes[bottomNode] (all runs for -1) and forgets them.
    void resolve(qsizetype bottomNode);

private:
    struct Run {
        qsizetype node;
        QChar ch;
        int count;
        int original;
        bool canOpen;
        bool canClose;
        int prev;
        int next;
    };
    void unlink(int run);
    void pair(Run& opener, Run& closer);

    QList<Node>& m_nodes;
    std::vector<Run> m_runs;
    int m_tail = -1;
};

} // namespace halvex::InlineMarkup
