// pybind11 makes an instance in two steps: its allocator reserves storage for
// the value, and a constructor binding builds the value there. Python code
// can reach the allocator alone (`cls.__new__(cls)`), or the allocator of the
// common base class, which has no value to reserve storage for and aborts
// the process; the old pickle protocols do the latter through copyreg. It can
// also reassign `__class__` between any two bound classes, since they share
// one instance layout, so that a value is read as a different, larger type.
//
// Type slots close all three doors without touching the class dictionaries
// or the per-call path:
//  - the common base refuses to allocate for a type with nothing registered;
//  - the module's classes get a `tp_new` of their own, so CPython refuses
//    `__new__` calls that would bypass the constructors ("is not safe");
//  - each class gets its own `tp_free`, and CPython allows `__class__`
//    assignment only between types with the same deallocator.
#include "instances.hpp"

#include "interpreter_symbols.hpp"

#include <pybind11/pybind11.h>

#include <stdexcept>

#include "types.hpp"

namespace zenolith {

namespace {

namespace py = pybind11;
namespace pd = pybind11::detail;

// The base's allocator, refusing where pybind11's own would abort.
extern "C" PyObject* base_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    if (pd::all_type_info(type).empty()) {
        PyErr_Format(PyExc_TypeError, "cannot create '%.200s' instances", type->tp_name);
        return nullptr;
    }
    return pd::pybind11_object_new(type, args, kwargs);
}

// The same allocation for the module's classes, under another address.
extern "C" PyObject* value_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    return pd::pybind11_object_new(type, args, kwargs);
}

// One deallocator per value type (the same code at distinct addresses: the
// compiler keeps functions apart whose address is taken).
template <class T>
void free_value(void* self) {
    PyObject_Free(self);
}

// Every type that still uses pybind11's allocator (classes of any module
// sharing pybind11's internals, and their Python subclasses) moves to the
// base's new one, so that CPython's check in `__new__` keeps accepting them.
void adopt(PyTypeObject* type, newfunc original) {
    if (type->tp_new == original) {
        type->tp_new = base_new;
        PyType_Modified(type);
    }
    for (py::handle sub : py::handle(reinterpret_cast<PyObject*>(type)).attr("__subclasses__")())
        adopt(reinterpret_cast<PyTypeObject*>(sub.ptr()), original);
}

template <class T>
void guard_class() {
    auto* type = reinterpret_cast<PyTypeObject*>(py::type::of<T>().ptr());
    if (type->tp_free != PyObject_Free)
        throw std::runtime_error("unexpected deallocator on a bound class");
    type->tp_new = value_new;
    type->tp_free = free_value<T>;
    PyType_Modified(type);
}

template <class... T>
void guard_classes() {
    (guard_class<T>(), ...);
}

}  // namespace

void guard_instances() {
    auto* base = reinterpret_cast<PyTypeObject*>(pd::get_internals().instance_base);
    if (base->tp_new != base_new) adopt(base, base->tp_new);
    guard_classes<Point2, Vector2, OrientationResult, Bbox2, Direction2, Line2, Segment2, Ray2,
                  Triangle2, Circle2, IsoRectangle2, WeightedPoint2, AffTransformation2, Bbox3,
                  Point3, Vector3, Direction3, Plane3, Line3, Segment3, Ray3, Triangle3, Sphere3,
                  Tetrahedron3, IsoCuboid3, Circle3>();
}

}  // namespace zenolith
