// The module body: its docstring, squared_distance, then every class and
// `orientation` in their fixed registration order (the order of the module
// dictionary is part of the interface), then every class's bindings, then
// the reducers that let their values be pickled and copied, and last the
// guards on how instances of those classes are made.
#include "core/interpreter_symbols.hpp"

#include <pybind11/pybind11.h>

#include <tuple>
#include <type_traits>

#include "core/instances.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace py = pybind11;
using namespace zenolith;

namespace {

// Two separately rounded squares and one addition, x term first; the build
// forbids contraction, so this equals the kernel's squared_distance.
double squared_distance(double x1, double y1, double x2, double y2) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    return dx * dx + dy * dy;
}

// Every class object first, in registration order, so that the signature of
// every binding names Python classes, whichever class it mentions; then each
// class's bindings, in its own table order. `orientation` sits right after
// OrientationResult in the module's order.
template <class T>
py::class_<T> create_class(py::module_& m) {
    py::class_<T> cls(m, T::name);
    if constexpr (std::is_same_v<T, OrientationResult>) register_orientation(m);
    return cls;
}

template <class... T>
void register_classes(py::module_& m, type_list<T...>) {
    std::tuple<py::class_<T>...> classes{create_class<T>(m)...};  // braces: in order
    (register_class(std::get<py::class_<T>>(classes)), ...);
}

}  // namespace

PYBIND11_MODULE(zenolith_core, m) {
    m.doc() = "CGAL Python bindings \u2014 call CGAL C++ functions from Python";
    m.def("squared_distance", &squared_distance, py::arg("x1"), py::arg("y1"), py::arg("x2"),
          py::arg("y2"));

    register_classes(m, value_types{});
    register_pickling();

    guard_instances();
}
