// How a rule that reads and then writes runs its stages. The rule (a store function) owns its
// transaction and decides what happened; each of its stages is one step of the caller's, so that a
// window keeps its numbered steps: a stage that fails is reported there, and the rule goes on with
// its next stage as the window's procedure would. Callers without steps of their own take
// FailFastSteps, which passes the first failure on.
#pragma once

#include <functional>

namespace store {

class RuleSteps {
public:
    virtual ~RuleSteps() = default;
    // Runs one stage; false after a failure the caller has dealt with.
    virtual bool run(int stage, const std::function<void()>& work) = 0;
    // A guarded condition; one that fails is dealt with by the caller and counts as true.
    virtual bool test(int stage, const std::function<bool()>& condition) = 0;
};

class FailFastSteps final : public RuleSteps {
public:
    bool run(int, const std::function<void()>& work) override
    {
        work();
        return true;
    }
    bool test(int, const std::function<bool()>& condition) override { return condition(); }
};

}  // namespace store
