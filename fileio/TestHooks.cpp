// The state of the test hooks: no fault and unnamed temporaries allowed unless a test says so.
#include "fileio/Faults.h"

#include <utility>

namespace fileio {
namespace {

std::function<int(test_hooks::Step)> g_fault;
bool g_unnamedAllowed = true;

}  // namespace

namespace test_hooks {
void setFault(std::function<int(Step)> fault) { g_fault = std::move(fault); }
void allowUnnamedTemporaries(bool allowed) { g_unnamedAllowed = allowed; }
}  // namespace test_hooks

namespace detail {
int injectedFault(test_hooks::Step step) { return g_fault ? g_fault(step) : 0; }
bool unnamedTemporariesAllowed() { return g_unnamedAllowed; }
}  // namespace detail

}  // namespace fileio
