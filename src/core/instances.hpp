// How instances of the module's classes come into being and what they can
// turn into: only a constructor call makes one, and none changes class.
#pragma once

namespace zenolith {

// Installs the type slots that enforce this on every class of the module and
// on pybind11's common base class. Runs once, after all classes exist.
void guard_instances();

}  // namespace zenolith
