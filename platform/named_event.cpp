#include "named_event.h"

#include <condition_variable>
#include <map>
#include <mutex>

struct NamedEvent::State {
    std::mutex lock;
    std::condition_variable changed;
    bool signalled = false;
};

namespace {

std::mutex registryLock;
// Events stay while anyone holds them; the registry keeps only weak references.
std::map<std::string, std::weak_ptr<NamedEvent::State>>& registry()
{
    static std::map<std::string, std::weak_ptr<NamedEvent::State>> events;
    return events;
}

} // namespace

std::shared_ptr<NamedEvent> NamedEvent::open(const std::string& name, bool initiallySignalled)
{
    std::lock_guard<std::mutex> guard(registryLock);
    std::shared_ptr<State> state = registry()[name].lock();
    if (!state) {
        state = std::make_shared<State>();
        state->signalled = initiallySignalled;
        registry()[name] = state;
    }
    return std::make_shared<NamedEvent>(state);
}

bool NamedEvent::wait(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> guard(state_->lock);
    if (!state_->changed.wait_for(guard, timeout, [this] { return state_->signalled; }))
        return false;
    state_->signalled = false;
    return true;
}

void NamedEvent::signal()
{
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        state_->signalled = true;
    }
    state_->changed.notify_one();
}
