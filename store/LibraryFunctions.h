// Functions of a library loaded at run time (dlopen), looked up by name into typed pointers.
#pragma once

#include <dlfcn.h>

namespace store {

// The function `name` of the loaded library into `into`; false (and `into` null) when it has none.
template <class Function>
bool bindLibraryFunction(void* library, const char* name, Function& into)
{
    into = reinterpret_cast<Function>(::dlsym(library, name));
    return into != nullptr;
}

}  // namespace store
