#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "platform/DeadlineRunner.h"

using namespace pelmora;
using namespace std::chrono_literals;
using Outcome = DeadlineRunner::Outcome;

namespace {

// A query that blocks until the test lets it go, as a statfs on a dead mount does.
struct Gate {
    std::promise<void> open;
    std::shared_future<void> opened = open.get_future().share();
    std::function<void()> query()
    {
        return [opened = opened] { opened.wait(); };
    }
};

// Long enough that a loaded machine (or Wine) answers a quick query in time;
// the hung queries cost the deadline once each.
constexpr auto kAnswerDeadline = 500ms;

bool waitUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

}  // namespace

TEST(DeadlineRunner, AnswersInTimeGivesUpAHungQueryAndDoesNotStartItAgainUntilItReturns)
{
    DeadlineRunner runner(kAnswerDeadline);
    auto answer = std::make_shared<int>(0);
    EXPECT_EQ(runner.run("C", [answer] { *answer = 42; }), Outcome::Answered);
    EXPECT_EQ(*answer, 42);

    Gate gate;
    EXPECT_EQ(runner.run("D", gate.query()), Outcome::TimedOut);
    EXPECT_TRUE(runner.hanging("D"));
    bool started = false;
    EXPECT_EQ(runner.run("D", [&] { started = true; }), Outcome::StillHanging);
    EXPECT_FALSE(started);
    // Other subjects go on, on a fresh worker.
    EXPECT_EQ(runner.run("C", [answer] { *answer = 7; }), Outcome::Answered);
    EXPECT_EQ(*answer, 7);

    gate.open.set_value();
    ASSERT_TRUE(waitUntil([&] { return !runner.hanging("D"); }));
    EXPECT_EQ(runner.run("D", [answer] { *answer = 3; }), Outcome::Answered);
    EXPECT_EQ(*answer, 3);
}

TEST(DeadlineRunner, BoundsTheHungThreadsAndOutlivesNone)
{
    Gate gate;
    {
        DeadlineRunner runner(kAnswerDeadline, 2);
        EXPECT_EQ(runner.run("D", gate.query()), Outcome::TimedOut);
        EXPECT_EQ(runner.run("E", gate.query()), Outcome::TimedOut);
        EXPECT_EQ(runner.run("F", [] {}), Outcome::Refused);
        // A throwing query is an answer without a result, not a crash.
        gate.open.set_value();
        ASSERT_TRUE(waitUntil([&] { return !runner.hanging("D") && !runner.hanging("E"); }));
        EXPECT_EQ(runner.run("F", [] { throw std::runtime_error("gone"); }), Outcome::Answered);
    }
    // A runner destroyed while a query hangs returns at once; the query's
    // thread finishes later without touching it.
    Gate late;
    auto finished = std::make_shared<std::promise<void>>();
    {
        DeadlineRunner runner(20ms);
        EXPECT_EQ(runner.run("D",
                             [opened = late.opened, finished] {
                                 opened.wait();
                                 finished->set_value();
                             }),
                  Outcome::TimedOut);
    }
    late.open.set_value();
    EXPECT_EQ(finished->get_future().wait_for(10s), std::future_status::ready);
}
