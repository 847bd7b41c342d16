#pragma once
// Work spread over worker threads whose results the calling thread takes back in the order it
// handed the work out, so that what it writes and the first error it reports are the same as when
// it did the work itself.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

template <class Result> class OrderedPool {
public:
    // threads workers; none does each job in Next, on the calling thread.
    explicit OrderedPool(int threads)
    {
        for (int i = 0; i < threads; ++i)
            workers_.emplace_back([this] { Work(); });
    }
    // Waits for the jobs running; the ones not begun are dropped.
    ~OrderedPool()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            jobs_.clear();
        }
        wake_.notify_all();
        for (std::thread &worker : workers_)
            worker.join();
    }
    OrderedPool(const OrderedPool &) = delete;
    OrderedPool &operator=(const OrderedPool &) = delete;

    template <class Job> void Submit(Job &&job)
    {
        std::packaged_task<Result()> task(std::forward<Job>(job));
        results_.push_back(task.get_future());
        if (workers_.empty()) {
            inline_.push_back(std::move(task));
            return;
        }
        {
            std::lock_guard lock(mutex_);
            jobs_.push_back(std::move(task));
        }
        wake_.notify_one();
    }
    int Workers() const { return int(workers_.size()); }
    // Jobs whose results have not been taken.
    size_t Pending() const { return results_.size(); }
    // Whether the oldest job not yet taken has its result, so that Next would not wait.
    bool NextReady() const
    {
        return !results_.empty() && inline_.empty() &&
               results_.front().wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }
    // The result of the oldest job not yet taken, waiting for it; rethrows what the job threw.
    Result Next()
    {
        if (!inline_.empty()) {
            inline_.front()();
            inline_.pop_front();
        }
        std::future<Result> next = std::move(results_.front());
        results_.pop_front();
        return next.get();
    }

private:
    void Work()
    {
        for (;;) {
            std::packaged_task<Result()> task;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
                if (jobs_.empty())
                    return;
                task = std::move(jobs_.front());
                jobs_.pop_front();
            }
            task();
        }
    }

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::packaged_task<Result()>> jobs_; // guarded by mutex_
    bool stop_ = false;                             // guarded by mutex_
    std::deque<std::future<Result>> results_;       // the caller's own
    std::deque<std::packaged_task<Result()>> inline_;
};
