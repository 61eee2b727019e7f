// pybind11 makes an instance in two steps: its allocator reserves storage for
// the value, and a constructor binding builds the value there. Python code
// can reach the allocator alone (`cls.__new__(cls)`, also from a subclass's
// own `__new__`): such an instance exists, and every binding refuses it (see
// value_caster.hpp). It can also call the allocator of the common base class,
// which has no value to reserve storage for and aborts the process; the old
// pickle protocols do that through copyreg. And it can reassign `__class__`
// between any two bound classes, since they share one instance layout, so
// that a value is read as a different, larger type.
//
// Type slots close these doors without touching the class dictionaries or the
// per-call path:
//  - the common base refuses to allocate for a type with nothing registered;
//  - each class gets its own `tp_free`, and CPython allows `__class__`
//    assignment only between types with the same deallocator;
//  - pybind11's metaclass refuses a Python class deriving from one of the
//    module's classes and any other bound class: instances of such a class
//    keep one value per bound base, and a `__class__` assignment to or from
//    it (same deallocator through its first base) would read one base's
//    value as another's.
#include "core/instances.hpp"

#include "core/interpreter_symbols.hpp"

#include <pybind11/pybind11.h>

#include <stdexcept>
#include <typeinfo>

#include "shared/types.hpp"

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
    const pd::type_info* record = record_of<T>();
    if (record == nullptr || record->type != type)
        throw std::runtime_error("pybind11's type records are not where value_caster.hpp expects them");
    type->tp_free = free_value<T>;
    PyType_Modified(type);
    instance_setup<T>::install();
}

template <class... T>
void guard_classes(type_list<T...>) {
    (guard_class<T>(), ...);
}

// The metaclass's own initialiser, called first by the one below.
initproc metaclass_init = nullptr;

template <class... T>
bool is_value_record(const pd::type_info* record, type_list<T...>) {
    return ((*record->cpptype == typeid(T)) || ...);
}

extern "C" int refuse_mixed_classes(PyObject* cls, PyObject* args, PyObject* kwargs) {
    if (metaclass_init(cls, args, kwargs) < 0) return -1;
    try {
        const auto& records = pd::all_type_info(reinterpret_cast<PyTypeObject*>(cls));
        if (records.size() < 2) return 0;
        for (const pd::type_info* record : records) {
            if (is_value_record(record, value_types{})) {
                PyErr_Format(PyExc_TypeError, "%.200s cannot derive from %.200s and another bound class",
                             reinterpret_cast<PyTypeObject*>(cls)->tp_name, record->type->tp_name);
                return -1;
            }
        }
        return 0;
    } catch (py::error_already_set& e) {
        e.restore();
        return -1;
    }
}

}  // namespace

void guard_instances() {
    auto* base = reinterpret_cast<PyTypeObject*>(pd::get_internals().instance_base);
    if (base->tp_new != base_new) adopt(base, base->tp_new);
    guard_classes(value_types{});
    auto* metaclass = pd::get_internals().default_metaclass;
    if (metaclass->tp_init != refuse_mixed_classes) {
        metaclass_init = metaclass->tp_init;
        metaclass->tp_init = refuse_mixed_classes;
        PyType_Modified(metaclass);
    }
}

}  // namespace zenolith
