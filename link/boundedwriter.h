#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

// Runs a blocking write (hidapi's has no time-out) on a thread of its own, so that its caller
// waits no longer than the time-out it asks for. A write that stalls keeps its thread; until it
// returns, further writes fail at once instead of queueing behind it.
class BoundedWriter {
  public:
    using Write = std::function<int(const uint8_t* data, int length)>;

    explicit BoundedWriter(Write write);
    // Same as shutdown({}).
    ~BoundedWriter();
    BoundedWriter(const BoundedWriter&) = delete;
    BoundedWriter& operator=(const BoundedWriter&) = delete;

    // The write's own result; 0 when timeoutMs passed first; -1 while an earlier write is
    // still stalled or after shutdown.
    int write(const uint8_t* data, int length, int timeoutMs);
    // Stops the thread. afterLastWrite runs once no write is in progress any more: at once, or
    // on the writer's thread when a stalled write finally returns (so that what the write uses
    // is released only then). Never blocks on a stalled write.
    void shutdown(std::function<void()> afterLastWrite);

    struct State; // shared with the writer's thread, which may outlive this object

  private:
    std::shared_ptr<State> state_;
    std::thread thread_;
};
