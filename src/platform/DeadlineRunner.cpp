#include "platform/DeadlineRunner.h"

#include <condition_variable>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

namespace pelmora {

// What the runner and the threads of given-up queries share; it lives as
// long as either of them.
struct DeadlineRunner::Shared {
    mutable std::mutex mutex;
    std::set<std::string> hanging;
};

// Lock order: a worker's mutex before the shared one, never the other way.
struct DeadlineRunner::Worker {
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    std::function<void()> job;
    std::string subject;
    bool hasJob = false;
    bool finished = false;
    bool stop = false;
    bool givenUp = false;
    std::thread thread;
};

void DeadlineRunner::serve(std::shared_ptr<Worker> worker, std::shared_ptr<Shared> shared)
{
    std::unique_lock lock(worker->mutex);
    for (;;) {
        worker->wake.wait(lock, [&] { return worker->hasJob || worker->stop; });
        if (!worker->hasJob) return;
        std::function<void()> job = std::move(worker->job);
        worker->hasJob = false;
        lock.unlock();
        try {
            job();
        } catch (...) {
            // The caller sees a query that answered nothing useful.
        }
        job = nullptr;  // what the query holds goes now, not with the next one
        lock.lock();
        worker->finished = true;
        if (worker->givenUp) {
            const std::string subject = worker->subject;
            lock.unlock();
            const std::lock_guard sharedLock(shared->mutex);
            shared->hanging.erase(subject);
            return;
        }
        worker->done.notify_all();
    }
}

DeadlineRunner::DeadlineRunner(std::chrono::milliseconds deadline, std::size_t maxHanging)
    : deadline_(deadline), maxHanging_(maxHanging), shared_(std::make_shared<Shared>())
{
}

DeadlineRunner::~DeadlineRunner()
{
    if (!worker_) return;
    {
        const std::lock_guard lock(worker_->mutex);
        worker_->stop = true;
    }
    worker_->wake.notify_all();
    worker_->thread.join();
}

bool DeadlineRunner::hanging(const std::string& subject) const
{
    const std::lock_guard lock(shared_->mutex);
    return shared_->hanging.contains(subject);
}

DeadlineRunner::Outcome DeadlineRunner::run(const std::string& subject, std::function<void()> query)
{
    {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->hanging.contains(subject)) return Outcome::StillHanging;
        if (!worker_ && shared_->hanging.size() >= maxHanging_) return Outcome::Refused;
    }
    if (!worker_) {
        auto worker = std::make_shared<Worker>();
        try {
            worker->thread = std::thread(serve, worker, shared_);
        } catch (const std::system_error&) {
            return Outcome::Refused;
        }
        worker_ = std::move(worker);
    }

    std::unique_lock lock(worker_->mutex);
    worker_->job = std::move(query);
    worker_->subject = subject;
    worker_->hasJob = true;
    worker_->finished = false;
    worker_->wake.notify_one();
    if (worker_->done.wait_for(lock, deadline_, [&] { return worker_->finished; })) return Outcome::Answered;

    // Given up: the thread goes on alone and clears the subject when it returns.
    worker_->givenUp = true;
    {
        const std::lock_guard sharedLock(shared_->mutex);
        shared_->hanging.insert(subject);
    }
    worker_->thread.detach();
    lock.unlock();
    worker_.reset();
    return Outcome::TimedOut;
}

}  // namespace pelmora
