// An automatically resetting event found by name within the process: a wait consumes the
// signal, waits are bounded, and every holder of the same name shares one event.
#pragma once

#include <chrono>
#include <memory>
#include <string>

class NamedEvent {
public:
    // Opens the event of that name, creating it (signalled or not) when it does not exist yet.
    static std::shared_ptr<NamedEvent> open(const std::string& name, bool initiallySignalled);

    // Waits at most timeout for the signal; true when it came (and was consumed).
    bool wait(std::chrono::milliseconds timeout);
    void signal();

    struct State;
    explicit NamedEvent(std::shared_ptr<State> state) : state_(std::move(state)) {}

private:
    std::shared_ptr<State> state_;
};
