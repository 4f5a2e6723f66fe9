#include "boundedwriter.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

struct BoundedWriter::State {
    std::mutex mutex;
    std::condition_variable changed;
    Write write;
    std::vector<uint8_t> job;
    bool hasJob = false;
    bool busy = false;
    bool stop = false;
    int result = 0;
    uint64_t finished = 0;
    std::function<void()> afterLastWrite;
};

namespace {

void run(const std::shared_ptr<BoundedWriter::State>& state) {
    std::unique_lock<std::mutex> lock(state->mutex);
    for (;;) {
        state->changed.wait(lock, [&] { return state->hasJob || state->stop; });
        if (!state->hasJob)
            break;
        std::vector<uint8_t> job = std::move(state->job);
        state->hasJob = false;
        state->busy = true;
        lock.unlock();
        const int result = state->write(job.data(), static_cast<int>(job.size()));
        lock.lock();
        state->busy = false;
        state->result = result;
        ++state->finished;
        state->changed.notify_all();
    }
    std::function<void()> after = std::move(state->afterLastWrite);
    lock.unlock();
    if (after)
        after();
}

} // namespace

BoundedWriter::BoundedWriter(Write write) : state_(std::make_shared<State>()) {
    state_->write = std::move(write);
    thread_ = std::thread(run, state_);
}

BoundedWriter::~BoundedWriter() {
    shutdown({});
}

int BoundedWriter::write(const uint8_t* data, int length, int timeoutMs) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    if (state_->stop || state_->busy || state_->hasJob)
        return -1;
    state_->job.assign(data, data + length);
    state_->hasJob = true;
    const uint64_t mine = state_->finished + 1;
    state_->changed.notify_all();
    if (!state_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                                  [&] { return state_->finished >= mine; }))
        return 0;
    return state_->result;
}

void BoundedWriter::shutdown(std::function<void()> afterLastWrite) {
    if (!thread_.joinable()) {
        if (afterLastWrite)
            afterLastWrite();
        return;
    }
    bool stalled = false;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->stop = true;
        stalled = state_->busy || state_->hasJob;
        if (stalled)
            state_->afterLastWrite = std::move(afterLastWrite);
        state_->changed.notify_all();
    }
    if (stalled) {
        // The thread ends by itself once the device lets go of the write.
        thread_.detach();
        return;
    }
    thread_.join();
    if (afterLastWrite)
        afterLastWrite();
}
