// The library's side of the test hooks (TestHooks.h): what each step asks before its call.
#pragma once

#include "fileio/TestHooks.h"

#include <cerrno>

namespace fileio::detail {

// 0, or the error number the step is to fail with.
int injectedFault(test_hooks::Step step);
bool unnamedTemporariesAllowed();

// What `call` returns, or -1 with errno set when a fault is injected into `step` (the call is then
// not made).
template <class Call>
auto unlessInjected(test_hooks::Step step, Call call)
{
    if (const int error = injectedFault(step)) {
        errno = error;
        return decltype(call())(-1);
    }
    return call();
}

}  // namespace fileio::detail
