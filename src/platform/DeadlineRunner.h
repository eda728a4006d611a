#pragma once
// Runs a query that can wait on a device or the network (a file system whose
// server went away, a stuck disk) on a worker thread, and waits for its
// answer only up to a deadline, so the thread that asks never hangs with it.
// A query that misses its deadline is given up: its thread is left to finish
// on its own (a thread stuck in the kernel cannot be cancelled) and no other
// query for the same subject starts until it has returned. At most a few
// such threads exist at once; beyond that, queries are refused at once.
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace pelmora {

inline constexpr std::chrono::milliseconds kQueryDeadline{1000};

class DeadlineRunner {
public:
    enum class Outcome {
        Answered,      // the query ran to its end within the deadline
        TimedOut,      // it is still running and has been given up
        StillHanging,  // an earlier query for the subject has not returned yet: not started
        Refused,       // too many given-up queries still hang: not started
    };

    explicit DeadlineRunner(std::chrono::milliseconds deadline = kQueryDeadline, std::size_t maxHanging = 4);
    // Ends the idle worker; threads of given-up queries are not waited for.
    ~DeadlineRunner();
    DeadlineRunner(const DeadlineRunner&) = delete;
    DeadlineRunner& operator=(const DeadlineRunner&) = delete;

    // The query must own everything it touches (copies, shared pointers):
    // once given up it may outlive the caller and the runner. Whatever it
    // wrote is safe to read after Answered. Exceptions it throws are dropped.
    Outcome run(const std::string& subject, std::function<void()> query);

    // True while a given-up query for the subject has not returned.
    bool hanging(const std::string& subject) const;

private:
    struct Shared;
    struct Worker;
    static void serve(std::shared_ptr<Worker> worker, std::shared_ptr<Shared> shared);

    std::chrono::milliseconds deadline_;
    std::size_t maxHanging_;
    std::shared_ptr<Shared> shared_;
    std::shared_ptr<Worker> worker_;  // the idle worker, started on first use
};

}  // namespace pelmora
