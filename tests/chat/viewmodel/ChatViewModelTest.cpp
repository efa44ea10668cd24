#include "ChatVMFixture.h"

using namespace halvex;
using namespace halvex::test;

TEST_F(ChatVMTest, IngestReplacesInPlaceSortsLateEventsAndIgnoresDuplicates)
{
    auto vm = startedAgentChat({messageJSON(1, "user", "hi"), messageJSON(3, "assistant", "hello")});
    ASSERT_EQ(ids(vm->messages()), QList<qint64>({1, 3}));

    const int before = vm->messagesVersion();
    vm->ingest(vm->messages()[1]);
    EXPECT_EQ(vm->messagesVersion(), before) << "an identical event must not bump the version";

    vm->ingest(message(3, "assistant", "hello, edited"));
    EXPECT_EQ(vm->messages()[1].content, QStringLiteral("hello, edited"));
    EXPECT_EQ(vm->messagesVersion(), before + 1);

    vm->ingest(message(2, "step", "search"));
    EXPECT_EQ(ids(vm->messages()), QList<qint64>({1, 2, 3}));
    // The index was dropped by the sort; a lookup after it must still find the right slot.
    vm->ingest(message(3, "assistant", "final"));
    EXPECT_EQ(vm->messages()[2].content, QStringLiteral("final"));
    EXPECT_EQ(vm->messages().size(), 3);
}

TEST_F(ChatVMTest, StepUpdateThatOvertookItsInsertStaysSettled)
{
    auto vm = startedAgentChat({messageJSON(1, "user", "go")});
    vm->ingest(decodeJSON<ChatMessage>(messageJSON(2, "step", "Searched the web", R"({"status":"done"})")));
    vm->ingest(decodeJSON<ChatMessage>(messageJSON(2, "step", "Searching the web", R"({"status":"running"})")));
    EXPECT_EQ(vm->messages().last().content, QStringLiteral("Searched the web"));
    // Progress while running still replaces, and a failure replaces a running copy.
    vm->ingest(decodeJSON<ChatMessage>(messageJSON(3, "step", "Reading 1 of 3", R"({"status":"running"})")));
    vm->ingest(decodeJSON<ChatMessage>(messageJSON(3, "step", "Reading 2 of 3", R"({"status":"running"})")));
    EXPECT_EQ(vm->messages().last().content, QStringLiteral("Reading 2 of 3"));
    vm->ingest(decodeJSON<ChatMessage>(messageJSON(3, "step", "Page unreachable", R"({"status":"failed"})")));
    EXPECT_EQ(vm->messages().last().content, QStringLiteral("Page unreachable"));
}

TEST_F(ChatVMTest, StreamEventsReachTheListAndReconnectIsShown)
{
    auto vm = startedAgentChat({messageJSON(1, "user", "hi")});
    EXPECT_TRUE(vm->isThinking());
    server.streams()[0]->push("event: ready\n\ndata: " + messageJSON(2, "assistant", "done") + "\n\n");
    ASSERT_TRUE(processUntil([&] { return vm->messages().size() == 2; }));
    EXPECT_FALSE(vm->isThinking());
    server.streams()[0]->close();
    ASSERT_TRUE(processUntil([&] { return clock.pendingCount() > 0 && clock.nextDueIn() == 1000; }));
    clock.advance(1000);
    ASSERT_TRUE(processUntil([&] { return vm->isReconnecting(); }));
    ASSERT_TRUE(processUntil([&] { return server.streams().size() == 2; }));
    server.streams()[1]->push("event: ready\n\n");
    ASSERT_TRUE(processUntil([&] { return !vm->isReconnecting(); }));
}

TEST_F(ChatVMTest, LateHistoryAfterStopIsDropped)
{
    server.on("GET", chat, FakeResponse::held(FakeResponse::json(historyJSON({messageJSON(9, "user", "other")}))));
    auto vm = agentChat();
    auto started = vm->start();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    vm->stop();
    server.releaseHeld();
    drainEvents();
    EXPECT_TRUE(vm->messages().isEmpty());
    EXPECT_FALSE(vm->historyLoaded());
    EXPECT_TRUE(server.streams().isEmpty()) << "a stopped chat opens no stream";
}

TEST_F(ChatVMTest, NewerLoadWinsOverAnOlderOneInFlight)
{
    server.enqueue("GET", chat, FakeResponse::held(FakeResponse::json(historyJSON({messageJSON(1, "user", "old")}))));
    server.on("GET", chat, FakeResponse::json(historyJSON({messageJSON(2, "user", "new")})));
    auto vm = agentChat();
    auto first = vm->loadHistory(false);
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    runTask(vm->loadHistory(false));
    server.releaseHeld();
    drainEvents();
    EXPECT_EQ(ids(vm->messages()), QList<qint64>({2}));
}

TEST_F(ChatVMTest, MergeKeepsExpandedStepsAndEarlierPages)
{
    auto vm = startedAgentChat({messageJSON(10, "user", "a"), messageJSON(11, "step", "full text")}, true);
    server.on(
        "GET", chat,
        FakeResponse::json(historyJSON(
            {messageJSON(11, "step", "full…", R"({"_truncated":true})"), messageJSON(12, "assistant", "ok")}, true)));
    runTask(vm->loadHistory(true));
    EXPECT_EQ(ids(vm->messages()), QList<qint64>({10, 11, 12}));
    EXPECT_EQ(vm->messages()[1].content, QStringLiteral("full text"));
}

TEST_F(ChatVMTest, TruncatedStepIsFetchedOnceInAnAgentChatNeverInATeamChat)
{
    server.on("GET", chat + QStringLiteral("/step/5"), FakeResponse::json(messageJSON(5, "step", "whole")));
    auto vm = startedAgentChat({messageJSON(4, "user", "go")});
    const ChatMessage shortened = decodeJSON<ChatMessage>(messageJSON(5, "step", "who…", R"({"_truncated":true})"));
    vm->ingest(shortened);
    ASSERT_TRUE(processUntil(
        [&] { return vm->messages().size() == 2 && vm->messages()[1].content == QStringLiteral("whole"); }));
    vm->ingest(shortened);
    drainEvents();
    EXPECT_EQ(server.count("GET", chat + QStringLiteral("/step/5")), 1);
    EXPECT_EQ(vm->messages()[1].content, QStringLiteral("whole"));

    server.on("GET", team, FakeResponse::json(R"({"messages":[],"agents":[]})"));
    auto teamVm = teamChat();
    runTask(teamVm->start());
    teamVm->ingest(shortened);
    drainEvents();
    EXPECT_EQ(server.count("GET", team + QStringLiteral("/step/5")), 0);
    EXPECT_EQ(server.count("GET", chat + QStringLiteral("/step/5")), 1);
}

TEST_F(ChatVMTest, HealPollAsksForWhatIsNewerEveryEightSeconds)
{
    auto vm = startedAgentChat({});
    server.clearRequests();
    clock.advance(ChatViewModel::healIntervalMs);
    drainEvents();
    EXPECT_EQ(server.count("GET", chat), 0) << "nothing to heal from in an empty chat";

    vm->ingest(message(7, "user", "hi"));
    server.on("GET", chat,
              FakeResponse::json(historyJSON({messageJSON(7, "user", "hi"), messageJSON(8, "assistant", "yo")})));
    clock.advance(ChatViewModel::healIntervalMs);
    ASSERT_TRUE(processUntil([&] { return vm->messages().size() == 2; }));
    const RecordedRequest heal = server.last();
    ASSERT_EQ(heal.path, chat);
    EXPECT_EQ(heal.query, (QList<QPair<QString, QString>>{{QStringLiteral("since"), QStringLiteral("7")}}));

    vm->stop();
    server.clearRequests();
    clock.advance(ChatViewModel::healIntervalMs * 3);
    drainEvents();
    EXPECT_EQ(server.count("GET", chat), 0) << "a stopped chat stops healing";
}

TEST_F(ChatVMTest, SendReconcilesTheOptimisticTurnById)
{
    auto vm = startedAgentChat({});
    server.on("POST", chat,
              FakeResponse::held(
                  FakeResponse::json(R"({"status":"queued","message":)" + messageJSON(20, "user", "plan it") + "}")));
    vm->setInput(QStringLiteral("  plan it \n"));
    auto sending = vm->send();
    EXPECT_EQ(ids(vm->messages()), QList<qint64>({-1}));
    EXPECT_TRUE(vm->input().isEmpty());
    EXPECT_TRUE(vm->isThinking());
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    EXPECT_EQ(server.last().jsonObject().value(QStringLiteral("text")), JSONValue(QStringLiteral("plan it")));
    // The stream delivers the stored turn before the answer arrives: no duplicate afterwards.
    vm->ingest(message(20, "user", "plan it"));
    server.releaseHeld();
    ASSERT_TRUE(processUntil(
        [&] { return !vm->messages().isEmpty() && vm->messages().last().id > 0 && vm->messages().size() == 1; }));
    EXPECT_EQ(ids(vm->messages()), QList<qint64>({20}));
}

TEST_F(ChatVMTest, FailedSendRestoresTheComposerWithinFiveFilesAndTheNextSendClearsTheError)
{
    auto vm = startedAgentChat({});
    server.on("POST", chat + QStringLiteral("/files"), [](const RecordedRequest& r) {
        QByteArray files;
        for (int i = 0; i < int(r.body.count("filename=")); ++i)
            files += QByteArray(i ? "," : "") + R"({"name":"f","size":1,"mime":"text/plain"})";
        return FakeResponse::json("{\"files\":[" + files + "]}");
    });
    QList<ChatViewModel::LocalFile> three;
    for (int i = 0; i < 3; ++i)
        three.append({QStringLiteral("f%1.txt").arg(i), "x"});
    runTask(vm->addFiles(three));
    server.on("POST", chat, FakeResponse::held(FakeResponse::json(500, R"({"error":"boom"})")));
    vm->setInput(QStringLiteral("hello"));
    auto sending = vm->send();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    // Staged while the turn was on its way: with the turn's three back, only two fit.
    runTask(vm->addFiles(three));
    EXPECT_EQ(vm->staged().size(), 3);
    server.releaseHeld();
    ASSERT_TRUE(processUntil([&] { return vm->error().has_value(); }));
    EXPECT_TRUE(vm->messages().isEmpty());
    EXPECT_EQ(vm->input(), QStringLiteral("hello"));
    EXPECT_EQ(vm->staged().size(), ChatViewModel::maxStaged);
    EXPECT_FALSE(vm->isThinking());

    server.on("POST", chat, FakeResponse::json(R"({"status":"ok"})"));
    runTask(vm->send());
    EXPECT_FALSE(vm->error().has_value());
}

TEST_F(ChatVMTest, WhileUploadingNothingIsSentOrAdded)
{
    auto vm = startedAgentChat({});
    server.on("POST", chat + QStringLiteral("/files"),
              FakeResponse::held(FakeResponse::json(R"({"files":[{"name":"a.txt","size":1,"mime":"text/plain"}]})")));
    server.on("POST", chat, FakeResponse::json(R"({"status":"ok"})"));
    vm->setInput(QStringLiteral(" \n "));
    runTask(vm->send());
    auto upload = vm->addFiles({{QStringLiteral("a.txt"), "x"}});
    EXPECT_TRUE(vm->isUploading());
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    vm->setInput(QStringLiteral("now"));
    runTask(vm->send());
    EXPECT_EQ(server.count("POST", chat), 0);
    EXPECT_EQ(vm->input(), QStringLiteral("now"));
    // A second pick while the first upload runs could not be counted against the five.
    EXPECT_FALSE(vm->canAttach());
    runTask(vm->addFiles({{QStringLiteral("b.txt"), "y"}}));
    EXPECT_EQ(server.count("POST", chat + QStringLiteral("/files")), 1);
    server.releaseHeld();
    ASSERT_TRUE(processUntil([&] { return !vm->isUploading(); }));
    EXPECT_EQ(vm->staged().size(), 1);
    EXPECT_TRUE(vm->canAttach());
}

TEST_F(ChatVMTest, UploadsStageAtMostFiveAndSkipLargeFiles)
{
    auto vm = startedAgentChat({});
    server.on("POST", chat + QStringLiteral("/files"), [](const RecordedRequest& r) {
        const int parts = int(r.body.count("filename="));
        QByteArray files;
        for (int i = 0; i < parts; ++i)
            files += QByteArray(i ? "," : "") + R"({"name":"f","size":1,"mime":"text/plain"})";
        return FakeResponse::json("{\"files\":[" + files + "]}");
    });
    QList<ChatViewModel::LocalFile> files;
    files.append({QStringLiteral("huge.bin"), QByteArray(ChatViewModel::maxUploadBytes + 1, 'x')});
    for (int i = 0; i < 7; ++i)
        files.append({QStringLiteral("f%1.txt").arg(i), "x"});
    runTask(vm->addFiles(files));
    EXPECT_EQ(vm->staged().size(), 5);
    EXPECT_FALSE(server.last().body.contains("huge.bin"));
    runTask(vm->addFiles({{QStringLiteral("g.txt"), "x"}}));
    EXPECT_EQ(server.count("POST", chat + QStringLiteral("/files")), 1) << "no room left: nothing is uploaded";

    auto teamVm = teamChat();
    runTask(teamVm->addFiles({{QStringLiteral("g.txt"), "x"}}));
    EXPECT_EQ(teamVm->errorText(), QStringLiteral("Files are not ready yet — wait for the roster to load."));
}

TEST_F(ChatVMTest, OlderPageWithTheSameBoundIsFetchedOnce)
{
    auto vm = startedAgentChat({messageJSON(50, "user", "a"), messageJSON(51, "assistant", "b")}, true);
    server.on("GET", chat,
              FakeResponse::held(FakeResponse::json(historyJSON({messageJSON(49, "assistant", "z")}, true))));
    server.clearRequests();
    EXPECT_TRUE(vm->loadOlderHistory());
    EXPECT_FALSE(vm->loadOlderHistory());
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    EXPECT_EQ(server.last().query,
              (QList<QPair<QString, QString>>{{QStringLiteral("before"), QStringLiteral("50")},
                                              {QStringLiteral("limit"), QStringLiteral("50")}}));
    server.releaseHeld();
    ASSERT_TRUE(processUntil([&] { return !vm->isLoadingOlder(); }));
    EXPECT_EQ(ids(vm->messages()), QList<qint64>({49, 50, 51}));
    EXPECT_EQ(server.count("GET", chat), 1);
}

TEST_F(ChatVMTest, InitialMessageShowsWorkingUntilTheReplyCompletes)
{
    server.on("GET", chat, FakeResponse::json(historyJSON({})));
    server.on("POST", chat, FakeResponse::json(R"({"status":"ok","message":)" + messageJSON(1, "user", "start") + "}"));
    auto vm = agentChat(QStringLiteral("start"));
    EXPECT_TRUE(vm->isThinking());
    runTask(vm->start());
    ASSERT_TRUE(processUntil([&] { return !vm->messages().isEmpty() && vm->messages()[0].id == 1; }));
    EXPECT_TRUE(vm->isThinking());
    vm->ingest(decodeJSON<ChatMessage>(messageJSON(2, "assistant", "calling", R"({"tool_calls":[{"id":"t"}]})")));
    EXPECT_TRUE(vm->isThinking());
    vm->ingest(message(3, "step", "search"));
    vm->ingest(message(4, "assistant", "done"));
    EXPECT_FALSE(vm->isThinking());
}

TEST_F(ChatVMTest, ReadIsMarkedOnceAfterTheDebounce)
{
    server.on("GET", chat, FakeResponse::json(historyJSON({})));
    auto vm = agentChat();
    int reads = 0;
    vm->onRead = [&] { ++reads; };
    runTask(vm->start());
    ASSERT_TRUE(processUntil([&] { return server.count("POST", chat + QStringLiteral("/read")) == 1; }));
    vm->ingest(message(1, "assistant", "a"));
    clock.advance(600);
    vm->ingest(message(2, "assistant", "b"));
    clock.advance(1100);
    drainEvents();
    EXPECT_EQ(server.count("POST", chat + QStringLiteral("/read")), 1);
    clock.advance(100);
    ASSERT_TRUE(processUntil([&] { return server.count("POST", chat + QStringLiteral("/read")) == 2; }));
    ASSERT_TRUE(processUntil([&] { return reads == 2; }));
}

TEST_F(ChatVMTest, CacheRestoresTheChatAndOptimisticTurnsStayOut)
{
    {
        auto vm = startedAgentChat({messageJSON(1, "user", "a"), messageJSON(2, "assistant", "b")}, true);
        server.on("POST", chat, FakeResponse::held(FakeResponse::json(R"({"status":"ok"})")));
        auto sending = vm->send(QStringLiteral("pending"));
        vm->stop();
    }
    auto reopened = agentChat();
    EXPECT_EQ(ids(reopened->messages()), QList<qint64>({1, 2}));
    EXPECT_TRUE(reopened->hasMoreHistory());
}

TEST_F(ChatVMTest, ChatSwitchedMidLoadNeverShowsTheOldChatsMessages)
{
    server.on("GET", chat,
              FakeResponse::held(FakeResponse::json(historyJSON({messageJSON(9, "user", "agent secret")}))));
    auto old = agentChat();
    auto loading = old->start();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    // The switch: the old screen stops, the new one starts on the team.
    old->stop();
    server.on("GET", team,
              FakeResponse::json(R"({"messages":[)" + messageJSON(100, "user", "team turn") + R"(],"agents":[]})"));
    auto fresh = teamChat();
    runTask(fresh->start());
    int versions = 0;
    QObject::connect(fresh.get(), &ChatViewModel::messagesChanged, [&] { ++versions; });
    server.releaseHeld();
    drainEvents();
    EXPECT_EQ(ids(fresh->messages()), QList<qint64>({100}));
    EXPECT_EQ(versions, 0);
    EXPECT_TRUE(old->messages().isEmpty());
    EXPECT_FALSE(cache.touched(QStringLiteral("a1")).has_value()) << "a dropped result must not reach the cache";
}

TEST_F(ChatVMTest, StartingTwiceLeavesOneStream)
{
    server.on("GET", chat, FakeResponse::json(historyJSON({messageJSON(1, "user", "hi")})));
    auto vm = agentChat();
    runTask(vm->start());
    ASSERT_TRUE(processUntil([&] { return server.streams().size() == 1; }));
    runTask(vm->start());
    ASSERT_TRUE(processUntil([&] { return server.streams().size() == 2 && !server.streams()[0]->isOpen(); }));
    EXPECT_TRUE(server.streams()[1]->isOpen());
    server.streams()[1]->push("data: " + messageJSON(2, "assistant", "once") + "\n\n");
    ASSERT_TRUE(processUntil([&] { return vm->messages().size() == 2; }));
    // One heal poll too: a single request per interval.
    server.clearRequests();
    clock.advance(ChatViewModel::healIntervalMs);
    ASSERT_TRUE(processUntil([&] { return server.count("GET", chat) >= 1; }));
    drainEvents();
    EXPECT_EQ(server.count("GET", chat), 1);
    EXPECT_EQ(ids(vm->messages()), QList<qint64>({1, 2}));
}

TEST_F(ChatVMTest, ReplyStreamedBeforeTheSendAnswerEndsTheTurn)
{
    auto vm = startedAgentChat({});
    server.on("POST", chat,
              FakeResponse::held(
                  FakeResponse::json(R"({"status":"accepted","message":)" + messageJSON(20, "user", "go") + "}")));
    auto sending = vm->send(QStringLiteral("go"));
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    server.streams()[0]->push("event: message-insert\ndata: " + messageJSON(20, "user", "go")
                              + "\n\n"
                                "event: message-insert\ndata: "
                              + messageJSON(21, "assistant", "done") + "\n\n");
    ASSERT_TRUE(processUntil([&] { return vm->messages().size() == 3; }));
    EXPECT_TRUE(vm->isThinking()) << "the optimistic turn is still last";
    server.releaseHeld();
    ASSERT_TRUE(processUntil([&] { return vm->messages().size() == 2; }));
    EXPECT_EQ(ids(vm->messages()), QList<qint64>({20, 21}));
    EXPECT_FALSE(vm->isThinking());
}

TEST_F(ChatVMTest, ReconnectCatchesUpOnUpdatesTheGapHid)
{
    auto vm = startedAgentChat(
        {messageJSON(1, "user", "go"), messageJSON(2, "step", "searching", R"({"status":"running"})")});
    server.streams()[0]->close();
    // Meanwhile the step finished and the answer came: neither reaches a closed stream.
    server.on("GET", chat,
              FakeResponse::json(
                  historyJSON({messageJSON(1, "user", "go"), messageJSON(2, "step", "searched", R"({"status":"done"})"),
                               messageJSON(3, "assistant", "found it")})));
    ASSERT_TRUE(processUntil([&] { return clock.nextDueIn() == 1000; }));
    clock.advance(1000);
    ASSERT_TRUE(processUntil([&] { return server.streams().size() == 2; }));
    EXPECT_TRUE(vm->isReconnecting());
    server.streams()[1]->push("event: ready\n\n");
    ASSERT_TRUE(processUntil([&] { return vm->messages().size() == 3; }));
    EXPECT_EQ(vm->messages()[1].content, QStringLiteral("searched"));
    EXPECT_FALSE(vm->isReconnecting());
    EXPECT_TRUE(vm->isStreamReady());
    EXPECT_FALSE(vm->isThinking());
}

// What the screen is told stayed the same between versions: a streamed append keeps every
// message before it, a step changing in place keeps those before the step, a late event that
// sorts into the middle keeps nothing, and a version too old to tell keeps nothing.
TEST_F(ChatVMTest, UnchangedSinceTellsHowManyLeadingMessagesStayed)
{
    auto vm = startedAgentChat({messageJSON(1, "user", "hi"), messageJSON(3, "assistant", "hello")});
    const int start = vm->messagesVersion();
    EXPECT_EQ(vm->unchangedSince(start), 2);

    vm->ingest(message(5, "step", "Searching"));
    vm->ingest(message(6, "step", "Reading"));
    EXPECT_EQ(vm->unchangedSince(start), 2);
    EXPECT_EQ(vm->unchangedSince(vm->messagesVersion() - 1), 3);

    const int beforeEdit = vm->messagesVersion();
    vm->ingest(message(5, "step", "Searched"));
    EXPECT_EQ(vm->unchangedSince(beforeEdit), 2);
    EXPECT_EQ(vm->unchangedSince(start), 2);

    const int beforeLate = vm->messagesVersion();
    vm->ingest(message(2, "step", "late"));
    EXPECT_EQ(ids(vm->messages()), QList<qint64>({1, 2, 3, 5, 6}));
    EXPECT_EQ(vm->unchangedSince(beforeLate), 0);

    const int recent = vm->messagesVersion();
    for (qint64 id = 10; id < 10 + ChatViewModel::changesKept; ++id)
        vm->ingest(message(id, "step", "more"));
    EXPECT_EQ(vm->unchangedSince(recent), 0) << "older than the changes kept";
    EXPECT_EQ(vm->unchangedSince(vm->messagesVersion() + 1), 0);
    EXPECT_EQ(vm->unchangedSince(-1), 0);
}

// Streamed events reach the cache as appends and edits in place; whatever else happened in between (a late event
// sorted into place, an edit, another writer of the same chat), the cache holds the newest 50
// confirmed messages.
TEST_F(ChatVMTest, CacheFollowsStreamedEventsThroughSortsEditsAndOtherWriters)
{
    auto vm = startedAgentChat({messageJSON(1, "user", "hi")});
    const QString key = QStringLiteral("a1");
    const auto expectNewest = [&](const char* when) {
        QList<qint64> confirmed;
        for (const ChatMessage& m : vm->messages())
            if (m.id >= 0)
                confirmed.append(m.id);
        const auto entry = cache.touched(key);
        ASSERT_TRUE(entry && entry->messages) << when;
        EXPECT_EQ(ids(*entry->messages), confirmed.mid(qMax<qsizetype>(0, confirmed.size() - 50))) << when;
        EXPECT_EQ(*entry->messages, vm->messages().mid(vm->messages().size() - entry->messages->size())) << when;
    };
    for (qint64 id = 2; id <= 60; id += 2)
        vm->ingest(message(id, "assistant", "streamed"));
    expectNewest("appends");
    vm->ingest(message(7, "step", "late")); // sorts into place
    vm->ingest(message(62, "assistant", "after the sort"));
    expectNewest("after a sort");
    vm->ingest(message(60, "assistant", "edited")); // written over in place
    expectNewest("an edit");
    vm->ingest(message(64, "assistant", "after the edit"));
    expectNewest("after an edit");
    cache.setMessages(key, {message(1, "user", "from another screen")});
    vm->ingest(message(66, "assistant", "after another writer"));
    expectNewest("after another writer");
    for (qint64 id = 68; id <= 140; id += 2)
        vm->ingest(message(id, "assistant", "long"));
    expectNewest("past the cut");
}
