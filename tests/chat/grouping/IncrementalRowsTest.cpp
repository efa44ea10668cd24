#include "support/MessageFixtures.h"

#include "chat/viewmodel/grouping/ChatRowBuilder.h"
#include "chat/viewmodel/grouping/IncrementalChatRows.h"

#include <gtest/gtest.h>

#include <random>

using namespace halvex;
using namespace halvex::ChatStepGrouping;
using fixtures::message;

namespace {

// A message of one of the shapes a chat streams: turns, running and finished steps of a piece
// of work, hand-offs, images that gather into chips, answers and spend lines.
ChatMessage randomMessage(std::mt19937& random, qint64 id)
{
    const QByteArray work
        = "\"work_kind\":\"chat_turn\",\"work_id\":\"w" + QByteArray::number(int(random() % 3)) + "\"";
    switch (random() % 7) {
    case 0:
        return message(id, "user", "go on");
    case 1:
        return message(id, "step", "Searching the web", R"({"tool":"web_search","status":"running",)" + work + "}");
    case 2:
        return message(id, "step", "Opened a page",
                       R"({"tool":"browser_navigate","status":"done","kind":"tool_done",)" + work + "}");
    case 3:
        return message(id, "step", "Asking @ada",
                       R"({"tool":"delegate_to_teammate","status":"running","from":"bo",)" + work + "}");
    case 4:
        return message(id, "assistant", "", R"({"image":{"url":"https://a.example/x.png"},)" + work + "}");
    case 5:
        return message(id, "assistant", "", R"({"kind":"turn_spend","tokens":10,)" + work + "}");
    default:
        return message(id, "assistant", "Here it is.", "{" + work + "}");
    }
}

// Kinds, ids and revisions of the rows, readable when two lists differ.
std::string shape(const QList<ChatRowItem>& rows)
{
    std::string out;
    for (const ChatRowItem& row : rows) {
        out += std::to_string(int(row.kind())) + ":";
        for (qint64 id : row.scrollIds())
            out += std::to_string(id) + ",";
        out += "#" + std::to_string(row.revision() % 1000) + " ";
    }
    return out;
}

void expectSameRows(IncrementalChatRows& incremental, const QList<ChatMessage>& list, ChatSurface surface, int edit)
{
    const QList<ChatRowItem> expected = rows(list, surface);
    const QList<ChatRowItem>& got = incremental.update(list);
    ASSERT_EQ(shape(got), shape(expected)) << "edit " << edit;
    ASSERT_TRUE(got == expected) << "edit " << edit;
}

// The same, told where the list first changed (as the view model tells the screen): the rows
// still equal a full rebuild, and the rows it says it kept are the very rows of the update before.
void expectSameRowsHinted(IncrementalChatRows& incremental, const QList<ChatMessage>& list, ChatSurface surface,
                          qsizetype unchangedBefore, int edit)
{
    const QList<ChatRowItem> before = incremental.rows();
    const QList<ChatRowItem>& got = incremental.update(list, unchangedBefore);
    ASSERT_TRUE(got == rows(list, surface)) << "hinted edit " << edit;
    ASSERT_LE(incremental.keptRows(), before.size()) << "hinted edit " << edit;
    for (qsizetype i = 0; i < incremental.keptRows(); ++i)
        ASSERT_EQ(got[i].revision(), before[i].revision()) << "hinted edit " << edit << " row " << i;
}

} // namespace

// Whatever the edit — a step changing in place, a new message, an older page, a removal, an id
// listed twice — the kept rows plus the regrouped tail equal grouping the whole list again.
TEST(IncrementalRows, EveryEditGivesTheRowsOfAFullRebuild)
{
    for (ChatSurface surface : {ChatSurface::solo, ChatSurface::team}) {
        std::mt19937 random(7);
        IncrementalChatRows incremental(surface);
        IncrementalChatRows hinted(surface);
        QList<ChatMessage> list;
        qint64 nextId = 1;
        for (int i = 0; i < 60; ++i)
            list.append(randomMessage(random, nextId++));
        hinted.update(list);
        for (int edit = 0; edit < 600; ++edit) {
            const qsizetype at = list.isEmpty() ? 0 : qsizetype(random() % size_t(list.size()));
            qsizetype changedFrom = 0;
            switch (random() % 6) {
            case 0:
            case 1:
                changedFrom = list.size();
                list.append(randomMessage(random, nextId++));
                break;
            case 2:
                // Mostly near the end, where a streaming turn changes.
                if (!list.isEmpty()) {
                    const qsizetype near
                        = edit % 2 ? at : qMax<qsizetype>(0, list.size() - 1 - qsizetype(random() % 8));
                    list[near] = randomMessage(random, list[near].id);
                    changedFrom = near;
                }
                break;
            case 3:
                list.prepend(randomMessage(random, -qint64(edit) - 1000));
                break;
            case 4:
                if (!list.isEmpty())
                    list.remove(at);
                changedFrom = at;
                break;
            default:
                if (!list.isEmpty()) {
                    // The same id twice for one update, then gone again.
                    list.insert(at, randomMessage(random, list[at].id));
                    expectSameRows(incremental, list, surface, edit);
                    expectSameRowsHinted(hinted, list, surface, at, edit);
                    list.remove(at);
                    changedFrom = at;
                }
            }
            expectSameRows(incremental, list, surface, edit);
            expectSameRowsHinted(hinted, list, surface, changedFrom, edit);
        }
    }
}
