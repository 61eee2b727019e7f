// Interpreter functions that the interpreter this module is built for
// exports but later ones do not. Referenced weakly, they let the dynamic
// linker load the file under any interpreter with its default (immediate)
// binding, so that the entry point's version check runs and refuses with the
// module's own message; nothing calls them before that check has passed.
// `nm -D` on the built file lists them as "w".
#pragma once

#include <Python.h>

extern "C" PyThreadState* _PyThreadState_UncheckedGet(void) __attribute__((weak));
