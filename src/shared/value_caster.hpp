// How the value types cross between C++ and Python, in both extensions.
//
// pybind11's own converter finds a class's type record by hashing the C++
// type's name in two tables, once for every class-typed argument and every
// class-typed result of every call. The records of the value types never
// change once their classes are registered (the module refuses
// subinterpreters, and a registered class lives as long as the process), so
// each converter here keeps the record it found first and reuses it.
//
// It also refuses, with TypeError, an instance whose value was never built:
// `Point2.__new__(Point2)` (or a subclass's `__new__`) allocates an instance
// without running a constructor, and pybind11 would hand every binding a
// fresh block of uninitialised memory as its value.
//
// pybind11 internals read here (all fixed within the pinned 3.0 series, whose
// shared internals stay at version 11): `detail::get_type_info`,
// `type_caster_generic` (its `typeinfo`/`value` members, `load_impl`, and its
// `cast` taking a resolved record), `instance::get_value_and_holder`,
// `value_and_holder::{value_ptr, holder, holder_constructed,
// instance_registered}`, `register_instance`, and `type_info::init_instance`
// with the layout of the default holder (`std::unique_ptr<T>`). tests/test_instances.py
// fails loudly if any of them change meaning.
#pragma once

#include <pybind11/pybind11.h>

#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "shared/types.hpp"

namespace zenolith {

// The type record of a registered value type, or nullptr before its class is
// registered (not cached then: registration comes later).
template <class T>
const pybind11::detail::type_info* record_of() {
    static const pybind11::detail::type_info* cached = nullptr;
    if (cached == nullptr) cached = pybind11::detail::get_type_info(typeid(T));
    return cached;
}

// Registers a new instance and gives it ownership of its value: what
// pybind11's own `init_instance` does for a class with the default holder,
// after every constructor and for every returned value, but with the cached
// record instead of a lookup by type name. An existing holder (never passed
// for these classes) goes to pybind11's own function.
template <class T>
struct instance_setup {
    static_assert(std::is_same_v<typename pybind11::class_<T>::holder_type, std::unique_ptr<T>>,
                  "the value classes keep pybind11's default holder");
    static inline void (*original)(pybind11::detail::instance*, const void*) = nullptr;

    static void run(pybind11::detail::instance* inst, const void* holder) {
        namespace pd = pybind11::detail;
        if (holder != nullptr || !inst->owned) return original(inst, holder);
        pd::value_and_holder v_h = inst->get_value_and_holder(record_of<T>());
        if (!v_h.instance_registered()) {
            pd::register_instance(inst, v_h.value_ptr(), v_h.type);
            v_h.set_instance_registered();
        }
        new (std::addressof(v_h.holder<std::unique_ptr<T>>())) std::unique_ptr<T>(v_h.value_ptr<T>());
        v_h.set_holder_constructed();
    }

    // Once, after the class is registered.
    static void install() {
        auto* record = const_cast<pybind11::detail::type_info*>(record_of<T>());
        if (record->init_instance != &run) {
            original = record->init_instance;
            record->init_instance = &run;
        }
    }
};

// The instance behind `o` if `o` is of exactly T's class (not a subclass).
template <class T>
pybind11::detail::instance* exact_instance(PyObject* o) {
    const pybind11::detail::type_info* record = record_of<T>();
    return record != nullptr && Py_TYPE(o) == record->type
               ? reinterpret_cast<pybind11::detail::instance*>(o)
               : nullptr;
}

template <class T>
class value_caster : public pybind11::detail::type_caster_generic {
    using base = pybind11::detail::type_caster_generic;

public:
    static constexpr auto name = pybind11::detail::const_name<T>();

    value_caster() : base(record_of<T>()) {}

    bool load(pybind11::handle src, bool convert) {
        // The usual case, an instance of exactly this class, skips the search
        // through bases that pybind11's general path makes.
        if (pybind11::detail::instance* inst = exact_instance<T>(src.ptr())) {
            load_value(inst->get_value_and_holder());
            return true;
        }
        return load_impl<value_caster>(src, convert);
    }

    // Called by `load_impl` for every instance it accepts, subclasses included.
    void load_value(pybind11::detail::value_and_holder&& v_h) {
        if (!v_h.holder_constructed()) {
            PyErr_Format(PyExc_TypeError, "%.200s object is not initialized: its __init__() never ran",
                         Py_TYPE(reinterpret_cast<PyObject*>(v_h.inst))->tp_name);
            throw pybind11::error_already_set();
        }
        value = v_h.value_ptr();
    }

    static pybind11::handle cast(const T& src, pybind11::return_value_policy policy,
                                 pybind11::handle parent) {
        if (policy == pybind11::return_value_policy::automatic ||
            policy == pybind11::return_value_policy::automatic_reference)
            policy = pybind11::return_value_policy::copy;
        return cast(&src, policy, parent);
    }

    static pybind11::handle cast(T&& src, pybind11::return_value_policy, pybind11::handle parent) {
        return cast(&src, pybind11::return_value_policy::move, parent);
    }

    static pybind11::handle cast(const T* src, pybind11::return_value_policy policy,
                                 pybind11::handle parent) {
        return base::cast(src, policy, parent, record_of<T>(), copy_value, move_value);
    }

    template <class U>
    using cast_op_type = pybind11::detail::cast_op_type<U>;

    operator T*() { return static_cast<T*>(value); }
    operator T&() {
        if (value == nullptr) throw pybind11::reference_cast_error();
        return *static_cast<T*>(value);
    }

private:
    static void* copy_value(const void* src) { return new T(*static_cast<const T*>(src)); }
    static void* move_value(const void* src) {
        return new T(std::move(*const_cast<T*>(static_cast<const T*>(src))));
    }
};

}  // namespace zenolith

namespace pybind11::detail {

template <class T>
class type_caster<T, std::enable_if_t<zenolith::is_value_type<T>::value>>
    : public zenolith::value_caster<T> {};

}  // namespace pybind11::detail
