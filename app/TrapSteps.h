// A rule's stages (store/RuleSteps.h) run as numbered steps of a procedure's error trap: the rule
// owns its transaction and outcome, the procedure keeps its step numbers and reports. Each stage
// is named with its step as numbered(trap, 106), in the rule's stage order, so the numbers read in
// the procedure's text order like every other step.
#pragma once

#include "app/Trap.h"

#include "store/RuleSteps.h"

#include <initializer_list>
#include <vector>

namespace app {

struct NumberedStep {
    Trap* trap;
    int line;
};

inline NumberedStep numbered(Trap& trap, int line) { return {&trap, line}; }

class TrapSteps final : public store::RuleSteps {
public:
    // Stage i of the rule is the i-th step given.
    TrapSteps(std::initializer_list<NumberedStep> steps) : steps_(steps) {}

    bool run(int stage, const std::function<void()>& work) override
    {
        const NumberedStep& step = steps_.at(static_cast<std::size_t>(stage));
        return (*step.trap)(step.line, work);
    }
    bool test(int stage, const std::function<bool()>& condition) override
    {
        const NumberedStep& step = steps_.at(static_cast<std::size_t>(stage));
        return step.trap->test(step.line, condition);
    }

private:
    std::vector<NumberedStep> steps_;
};

}  // namespace app
