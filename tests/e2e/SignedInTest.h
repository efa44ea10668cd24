#pragma once
// The start every end-to-end case shares: a fresh local service, a client signed in with the
// demo account, and the demo workspace's first plain employee when a case needs one.
#include "agents/service/AgentService.h"
#include "chat/service/ChatHistoryCache.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

namespace halvex::test {

class SignedInTest : public ::testing::Test {
protected:
    ServiceProcess service;
    std::unique_ptr<TestClient> t;
    ChatHistoryCache cache;

    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("HALVEX_SERVICE_BIN"))
            << "end-to-end cases run against the local service";
        ASSERT_TRUE(service.start());
        t = makeTestClient(service.origin());
        SessionViewModel signIn{AuthService(t->client)};
        runTask(signIn.login(service.demoEmail(), service.demoPassword()));
        ASSERT_TRUE(signIn.state().isLoggedIn());
    }

    // Neither a worker, an orchestrator nor a preset; fails the case when there is none.
    Agent firstEmployee()
    {
        const AgentsListResponse list = runTask(AgentService(t->client).list());
        for (const Agent& a : list.agents)
            if (a.agentType.value_or(QStringLiteral("employee")) == u"employee" && !a.isOrchestrator.value_or(false)
                && !a.presetKind)
                return a;
        ADD_FAILURE() << "no employee in the demo workspace";
        return {};
    }
};

// With the demo workspace's first plain employee picked before each case.
class EmployeeTest : public SignedInTest {
protected:
    Agent employee;

    void SetUp() override
    {
        SignedInTest::SetUp();
        if (HasFatalFailure())
            return;
        employee = firstEmployee();
        ASSERT_FALSE(employee.id.isEmpty());
    }
};

} // namespace halvex::test
