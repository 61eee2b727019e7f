// Class-keyed dispatch of the operations that take core objects: between
// two objects (do_intersect, intersection, squared_distance) and between one
// object and an array of points (has_on, bounded_side, closest_point, ...).
// Each family adds the classes it knows with one line each; the module binds
// one Python function per table, and every table refuses a class it does not
// know with the same wording.
#pragma once

#include <pybind11/pybind11.h>

#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "companion/io/array_readers.hpp"
#include "shared/finite.hpp"
#include "shared/types.hpp"

namespace zenolith::companion {

namespace py = pybind11;

// An operation on a core object and an array-like of points, passed as they
// came from Python; the object's class is known to match the entry.
using ObjectFn = py::object (*)(py::handle, py::handle);
// An operation on two core objects whose classes match the entry; `swapped`
// tells that the caller gave them in the other order (for messages that name
// the argument).
using PairFn = py::object (*)(py::handle, py::handle, bool swapped);

namespace detail {

// The C++ class behind a Python object of a core class (or of a Python
// subclass of one), or nullptr for anything else.
inline const std::type_info* core_type(py::handle obj) {
    const auto& infos = py::detail::all_type_info(Py_TYPE(obj.ptr()));
    return infos.size() == 1 ? infos.front()->cpptype : nullptr;
}

inline py::object class_object(const std::type_info* t) {
    return py::reinterpret_borrow<py::object>(py::detail::get_type_handle(*t, true));
}

struct PairHash {
    std::size_t operator()(const std::pair<std::type_index, std::type_index>& k) const {
        return k.first.hash_code() * 31u ^ k.second.hash_code();
    }
};

}  // namespace detail

// The supported pairs of one operation between two objects. Lookups try
// (a, b) first, then (b, a) with the arguments swapped: every operation
// here is symmetric.
class PairTable {
public:
    explicit PairTable(std::string op) : op_(std::move(op)) {}

    std::pair<const char*, const char*> arg_names() const { return {"a", "b"}; }

    template <class A, class B>
    void add(PairFn f) {
        map_[{typeid(A), typeid(B)}] = f;
        added_.emplace_back(&typeid(A), &typeid(B));
    }

    py::object operator()(py::handle a, py::handle b) const {
        const std::type_info* ta = detail::core_type(a);
        const std::type_info* tb = detail::core_type(b);
        if (ta && tb) {
            if (auto it = map_.find({*ta, *tb}); it != map_.end()) return it->second(a, b, false);
            if (auto it = map_.find({*tb, *ta}); it != map_.end()) return it->second(b, a, true);
        }
        throw py::type_error(op_ + ": does not support the pair (" + detail::type_name(a) +
                             ", " + detail::type_name(b) +
                             "); zenolith.supported_pairs('" + op_ + "') lists the supported pairs");
    }

    // The supported pairs as (class, class), in the order they were added.
    py::list supported() const {
        py::list out;
        for (const auto& [a, b] : added_)
            out.append(py::make_tuple(detail::class_object(a), detail::class_object(b)));
        return out;
    }

private:
    std::string op_;
    std::unordered_map<std::pair<std::type_index, std::type_index>, PairFn, detail::PairHash> map_;
    std::vector<std::pair<const std::type_info*, const std::type_info*>> added_;
};

// The classes of object an operation over points accepts.
class ObjectTable {
public:
    ObjectTable(std::string op, const char* points_arg)
        : op_(std::move(op)), points_arg_(points_arg) {}

    // The Python names of the two arguments: the object, then the points
    // (the name the entries' readers give in their messages).
    std::pair<const char*, const char*> arg_names() const { return {"obj", points_arg_}; }

    template <class A>
    void add(ObjectFn f) {
        map_[typeid(A)] = f;
        added_.push_back(&typeid(A));
    }

    py::object operator()(py::handle obj, py::handle points) const {
        if (const std::type_info* t = detail::core_type(obj)) {
            if (auto it = map_.find(*t); it != map_.end()) return it->second(obj, points);
        }
        std::string names;
        for (const std::type_info* a : added_)
            names += (names.empty() ? "" : ", ") +
                     std::string(py::str(detail::class_object(a).attr("__name__")));
        throw py::type_error(op_ + ": expected one of " + names + ", got " +
                             detail::type_name(obj));
    }

    // The supported classes, in the order they were added.
    py::list supported() const {
        py::list out;
        for (const std::type_info* a : added_) out.append(detail::class_object(a));
        return out;
    }

private:
    std::string op_;
    const char* points_arg_;
    std::unordered_map<std::type_index, ObjectFn> map_;
    std::vector<const std::type_info*> added_;
};

// Every table of the module by the name its Python function gets ("has_on",
// "exact.has_on", "do_intersect_points", ...). Families fill it while the
// module is created; bind_tables() then makes it read-only.
class Tables {
public:
    // The table bound as `name`, created on first use. `op` is the name its
    // messages give the operation (by default the name without a submodule),
    // `points_arg` the name of its second argument.
    ObjectTable& objects(const std::string& name, const char* op = nullptr,
                         const char* points_arg = "points") {
        auto& slot = objects_[name];
        if (!slot) slot = std::make_unique<ObjectTable>(op_name(name, op), points_arg);
        return *slot;
    }
    PairTable& pairs(const std::string& name) {
        auto& slot = pairs_[name];
        if (!slot) slot = std::make_unique<PairTable>(op_name(name, nullptr));
        return *slot;
    }

    // {name: [class, ...] or [(class, class), ...]}, for the documentation
    // and the tests.
    py::dict supported() const {
        py::dict d;
        for (const auto& [name, t] : objects_) d[py::str(name)] = t->supported();
        for (const auto& [name, t] : pairs_) d[py::str(name)] = t->supported();
        return d;
    }

    template <class F>
    void for_each(F&& f) const {
        for (const auto& [name, t] : objects_) f(name, *t);
        for (const auto& [name, t] : pairs_) f(name, *t);
    }

private:
    static std::string op_name(const std::string& name, const char* op) {
        if (op) return op;
        const auto dot = name.rfind('.');
        return dot == std::string::npos ? name : name.substr(dot + 1);
    }

    std::map<std::string, std::unique_ptr<ObjectTable>> objects_;
    std::map<std::string, std::unique_ptr<PairTable>> pairs_;
};

// Binds every table as a function of the module, or of its submodule for a
// dotted name, and `_testing.supported()` listing them all. The functions
// keep the tables alive.
inline void bind_tables(py::module_& m, std::shared_ptr<const Tables> tables) {
    tables->for_each([&](const std::string& name, const auto& table) {
        const auto dot = name.find('.');
        const bool nested = dot != std::string::npos;
        py::module_ target =
            nested ? py::reinterpret_borrow<py::module_>(m.attr(name.substr(0, dot).c_str())) : m;
        const auto* t = &table;
        const auto [first, second] = table.arg_names();
        target.def((nested ? name.substr(dot + 1) : name).c_str(),
                   [tables, t](py::handle a, py::handle b) { return (*t)(a, b); },
                   py::arg(first), py::arg(second));
    });
    py::module_ testing = py::hasattr(m, "_testing")
                              ? py::reinterpret_borrow<py::module_>(m.attr("_testing"))
                              : m.def_submodule("_testing", "Hooks for zenolith's tests.");
    testing.def("supported", [tables]() { return tables->supported(); },
                "Every class-keyed operation and the classes (or pairs) it takes.");
}

// The kernel value of a core object, refused by the finiteness rule.
template <class W>
const auto& finite_value(py::handle obj, const char* name) {
    const auto& v = obj.cast<const W&>().v;
    require_finite(v, name);
    return v;
}

}  // namespace zenolith::companion
