// A shortcut in front of pybind11's dispatcher for the hottest bindings.
//
// pybind11 serves every call through one generic dispatcher: it walks the
// overload list twice (without, then with conversions), builds argument
// vectors, and converts each argument through its type caster. For a point's
// coordinate or a difference of two points that is most of the call.
//
// A fast entry takes the function object pybind11 made for a name (the same
// object: nothing visible changes) and points its vectorcall slot at a
// function that serves the common call directly: all arguments positional,
// each of exactly the type one of the given overloads takes (the value class
// itself, not a subclass, and built; a float itself for a float, an int
// itself that fits for an int; never a subclass of either). It then runs
// that overload's own callable and converts the
// result as pybind11 does. Every other call, and any call whose callable
// throws or whose result cannot be converted, goes to pybind11's dispatcher
// as before, which then selects, raises and words errors exactly as always.
//
// The overloads given must be the name's overloads in registration order,
// starting with the first one that such exactly typed arguments could match;
// a call they serve then meets the overload pybind11 would have chosen.
//
// Reads CPython's PyCFunctionObject (its public `vectorcall` member) and, for
// constructors, pybind11's instance layout and `type_info::init_instance`
// (fixed in the pinned 3.0 series, like value_caster.hpp); tests/test_fast_entry.py
// compares every fast entry with the dispatcher.
#pragma once

#include <pybind11/pybind11.h>

#include <climits>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <utility>

#include "shared/types.hpp"

namespace zenolith::fast {

namespace detail {

namespace pd = pybind11::detail;

// How one parameter is read: exact floats for doubles, exact ints that fit
// for ints (a larger one goes on to the dispatcher's conversion pass), exact
// built instances for the value types. No other parameter type is served.
template <class A>
struct argument;

template <>
struct argument<double> {
    static bool accepts(PyObject* o) { return PyFloat_CheckExact(o); }
    static double read(PyObject* o) { return PyFloat_AS_DOUBLE(o); }
};

template <>
struct argument<int> {
    static bool accepts(PyObject* o) {
        if (!PyLong_CheckExact(o)) return false;
        int overflow = 0;
        const long v = PyLong_AsLongAndOverflow(o, &overflow);
        return overflow == 0 && v >= INT_MIN && v <= INT_MAX;
    }
    static int read(PyObject* o) { return static_cast<int>(PyLong_AsLong(o)); }
};

template <class T>
struct argument<const T&> {
    static_assert(is_value_type<T>::value, "fast entries take value types by const reference");
    static bool accepts(PyObject* o) {
        const pd::instance* inst = exact_instance<T>(o);
        return inst != nullptr && inst->simple_layout && inst->simple_holder_constructed;
    }
    static const T& read(PyObject* o) {
        return *static_cast<const T*>(reinterpret_cast<pd::instance*>(o)->simple_value_holder[0]);
    }
};

template <class R, class... A>
struct parameters {
    using result = R;
    static constexpr std::size_t arity = sizeof...(A);
    template <class F, class Sink, std::size_t... I>
    static PyObject* serve(const F& f, PyObject* const* args, Sink& sink, std::index_sequence<I...>) {
        if (!(argument<A>::accepts(args[I]) && ...)) return nullptr;
        try {
            return sink(f(argument<A>::read(args[I])...));
        } catch (...) {
            return nullptr;  // the dispatcher runs it again and reports as always
        }
    }
};

template <class F>
struct call_signature : call_signature<decltype(&F::operator())> {};
template <class C, class R, class... A>
struct call_signature<R (C::*)(A...) const> : parameters<R, A...> {};

// Tries the callables in order; the first whose arguments all match serves
// the call. nullptr (no error set) means: hand the call to the dispatcher.
template <class Sink, class... F>
PyObject* serve_first(const std::tuple<std::optional<F>...>& callables, PyObject* const* args,
                      std::size_t n, Sink& sink) {
    PyObject* out = nullptr;
    std::apply(
        [&](const auto&... f) {
            ((out == nullptr && call_signature<std::decay_t<decltype(*f)>>::arity == n &&
              (out = call_signature<std::decay_t<decltype(*f)>>::serve(
                   *f, args, sink,
                   std::make_index_sequence<call_signature<std::decay_t<decltype(*f)>>::arity>{})) != nullptr),
             ...);
        },
        callables);
    return out;
}

// The result, converted as the dispatcher converts a returned value.
struct returned {
    PyObject* parent;
    template <class R>
    PyObject* operator()(R&& r) {
        PyObject* out = pd::make_caster<R>::cast(std::forward<R>(r),
                                                 pybind11::return_value_policy::move, parent)
                            .ptr();
        if (out == nullptr) PyErr_Clear();
        return out;
    }
};

// A constructor's result, moved into the instance being initialised, which
// is then registered as the dispatcher does after a constructor.
template <class T>
struct constructed {
    pd::instance* self;
    PyObject* operator()(T&& value) {
        self->simple_value_holder[0] = new T(std::move(value));
        record_of<T>()->init_instance(self, nullptr);
        Py_RETURN_NONE;
    }
};

// A fresh instance of exactly T: allocated, no value yet, not registered.
template <class T>
pd::instance* fresh(PyObject* o) {
    pd::instance* inst = exact_instance<T>(o);
    if (inst == nullptr) return nullptr;
    bool untouched = inst->simple_layout && !inst->simple_holder_constructed &&
                     !inst->simple_instance_registered && inst->simple_value_holder[0] == nullptr;
    return untouched ? inst : nullptr;
}

inline bool keywords(PyObject* kwnames) { return kwnames != nullptr && PyTuple_GET_SIZE(kwnames) != 0; }

// One entry per set of callable types. Distinct lambdas have distinct types;
// a lambda bound under two names (__mul__ and __rmul__) shares its entry,
// which is harmless since a lambda's type fixes what it does.
template <bool Constructor, class... F>
struct entry {
    static_assert((std::is_class_v<F> && ...),
                  "fast entries take lambdas: functions of one signature would share an entry");
    static inline std::tuple<std::optional<F>...> callables;
    static inline vectorcallfunc dispatcher = nullptr;

    static PyObject* call(PyObject* callable, PyObject* const* args, std::size_t nargsf,
                          PyObject* kwnames) {
        const std::size_t n = PyVectorcall_NARGS(nargsf);
        if (!keywords(kwnames)) {
            PyObject* out = nullptr;
            if constexpr (Constructor) {
                using T = std::decay_t<typename call_signature<
                    std::tuple_element_t<0, std::tuple<F...>>>::result>;
                if (n >= 1) {
                    if (pd::instance* self = fresh<T>(args[0])) {
                        constructed<T> sink{self};
                        out = serve_first(callables, args + 1, n - 1, sink);
                    }
                }
            } else {
                returned sink{n > 0 ? args[0] : nullptr};
                out = serve_first(callables, args, n, sink);
            }
            if (out != nullptr) return out;
        }
        return dispatcher(callable, args, nargsf, kwnames);
    }

    // emplace, not assign: lambdas with captures cannot be assigned.
    template <std::size_t... I>
    static void store(std::index_sequence<I...>, F... f) {
        (std::get<I>(callables).emplace(std::move(f)), ...);
    }

    static void install(pybind11::handle function, F... f) {
        PyObject* target = function.ptr();
        if (PyInstanceMethod_Check(target)) target = PyInstanceMethod_GET_FUNCTION(target);
        if (!PyCFunction_Check(target)) throw std::runtime_error("fast entry: not a bound function");
        auto* cf = reinterpret_cast<PyCFunctionObject*>(target);
        if (cf->vectorcall == nullptr || cf->vectorcall == &call ||
            (dispatcher != nullptr && dispatcher != cf->vectorcall))
            throw std::runtime_error("fast entry: unexpected or repeated installation");
        store(std::index_sequence_for<F...>{}, std::move(f)...);
        dispatcher = cf->vectorcall;
        cf->vectorcall = &call;
    }
};

}  // namespace detail

// A method (or operator) `name` of cls, served for the given overloads.
template <class T, class... F>
void method(pybind11::class_<T>& cls, const char* name, F... overloads) {
    detail::entry<false, F...>::install(cls.attr("__dict__")[name], std::move(overloads)...);
}

// A read-only property `name` of cls, served through its getter.
template <class T, class F>
void property(pybind11::class_<T>& cls, const char* name, F getter) {
    detail::entry<false, F>::install(cls.attr("__dict__")[name].attr("fget"), std::move(getter));
}

// The constructor of cls, served for the given factories (each returning T).
template <class T, class... F>
void constructor(pybind11::class_<T>& cls, F... factories) {
    detail::entry<true, F...>::install(cls.attr("__dict__")["__init__"], std::move(factories)...);
}

// A module-level function `name`, served for the given overloads.
template <class... F>
void function(pybind11::module_& m, const char* name, F... overloads) {
    detail::entry<false, F...>::install(m.attr(name), std::move(overloads)...);
}

}  // namespace zenolith::fast
