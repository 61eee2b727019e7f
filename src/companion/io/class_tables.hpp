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
#include "companion/io/object_rows.hpp"
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

inline py::object class_object(const std::type_info* t) {
    return py::reinterpret_borrow<py::object>(py::detail::get_type_handle(*t, true));
}

inline std::string class_name(const std::type_info* t) {
    return py::str(class_object(t).attr("__name__"));
}

struct PairHash {
    std::size_t operator()(const std::pair<std::type_index, std::type_index>& k) const {
        return k.first.hash_code() * 31u ^ k.second.hash_code();
    }
};

}  // namespace detail

// The classes of object an operation over points accepts.
class ObjectTable {
public:
    ObjectTable(std::string op, const char* points_arg)
        : op_(std::move(op)), points_arg_(points_arg) {}

    // The Python names of the two arguments: the object, then the points
    // (the name the entries' readers give in their messages).
    std::pair<const char*, const char*> arg_names() const { return {"obj", points_arg_}; }

    // `rows`: the entry also takes many objects (a typed object array or a
    // list of core objects) against as many points, row by row.
    template <class A>
    void add(ObjectFn f, bool rows = false) {
        map_[typeid(A)] = {f, rows};
        added_.push_back(&typeid(A));
    }

    py::object operator()(py::handle obj, py::handle points) const {
        const ArgumentKind kind = argument_kind(obj);
        if (kind.cls) {
            if (auto it = map_.find(*kind.cls); it != map_.end()) {
                if (!kind.many || it->second.rows) return it->second.fn(obj, points);
                throw py::type_error(op_ + ": takes one " + detail::class_name(kind.cls) +
                                     " at a time, not an array of them");
            }
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
    struct Entry {
        ObjectFn fn;
        bool rows;
    };
    std::string op_;
    const char* points_arg_;
    std::unordered_map<std::type_index, Entry> map_;
    std::vector<const std::type_info*> added_;
};

// The supported pairs of one operation between two objects. Lookups try
// (a, b) first, then (b, a) with the arguments swapped: every operation
// here is symmetric.
//
// The table is also the operation's whole front: two core objects go to the
// pair's entry; one core object against points to the operation's table of
// object-against-points loops (`points_table`); many objects on either side
// (a typed object array or a list of core objects, against objects, arrays
// or points) to the pair's row-wise entry, points then counting as objects
// of class Point2 or Point3; two point arrays to `both_points`.
class PairTable {
public:
    explicit PairTable(std::string op) : op_(std::move(op)) {}

    std::pair<const char*, const char*> arg_names() const { return {"a", "b"}; }

    template <class A, class B>
    void add(PairFn f) {
        map_[{typeid(A), typeid(B)}] = f;
        added_.emplace_back(&typeid(A), &typeid(B));
    }

    // The row-wise entry of a pair already added.
    template <class A, class B>
    void add_rows(PairFn f) {
        rows_[{typeid(A), typeid(B)}] = f;
    }

    void set_points_table(const ObjectTable* t) { points_table_ = t; }
    void set_both_points(ObjectFn f) { both_points_ = f; }
    void set_doc(std::string doc) { doc_ = std::move(doc); }
    const std::string& doc() const { return doc_; }

    py::object operator()(py::handle a, py::handle b) const;

    // The supported pairs as (class, class), in the order they were added.
    py::list supported() const {
        py::list out;
        for (const auto& [a, b] : added_)
            out.append(py::make_tuple(detail::class_object(a), detail::class_object(b)));
        return out;
    }

private:
    using Map = std::unordered_map<std::pair<std::type_index, std::type_index>, PairFn, detail::PairHash>;

    py::object many(py::handle a, ArgumentKind ka, py::handle b, ArgumentKind kb) const;

    [[noreturn]] void refuse(const std::string& first, const std::string& second) const {
        throw py::type_error(op_ + ": does not support the pair (" + first + ", " + second +
                             "); zenolith.supported_pairs('" + op_ + "') lists the supported pairs");
    }

    std::string op_;
    std::string doc_;
    Map map_;
    Map rows_;
    std::vector<std::pair<const std::type_info*, const std::type_info*>> added_;
    const ObjectTable* points_table_ = nullptr;
    ObjectFn both_points_ = nullptr;
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

inline py::object PairTable::operator()(py::handle a, py::handle b) const {
    const ArgumentKind ka = argument_kind(a);
    const ArgumentKind kb = argument_kind(b);
    if (ka.cls && kb.cls && !ka.many && !kb.many) {  // two core objects: the common case, first
        if (auto it = map_.find({*ka.cls, *kb.cls}); it != map_.end()) return it->second(a, b, false);
        if (auto it = map_.find({*kb.cls, *ka.cls}); it != map_.end()) return it->second(b, a, true);
        refuse(detail::type_name(a), detail::type_name(b));
    }
    if (points_table_ && ka.cls && !ka.many && !kb.cls) return (*points_table_)(a, b);
    if (points_table_ && kb.cls && !kb.many && !ka.cls) return (*points_table_)(b, a);
    if (both_points_ && !ka.cls && !kb.cls) return both_points_(a, b);
    return many(a, ka, b, kb);
}

// Points where no class is known: Point2 or Point3 by the array's last
// dimension (the Points reader names the fault of anything else).
inline const std::type_info* point_class(py::handle obj, const char* name) {
    py::object converted;
    switch (probe_point_dimension(obj, converted)) {
        case 2: return &typeid(Point2);
        case 3: return &typeid(Point3);
        default: (void)Points<3>(obj, name); return &typeid(Point3);
    }
}

inline py::object PairTable::many(py::handle a, ArgumentKind ka, py::handle b, ArgumentKind kb) const {
    const std::type_info* ta = ka.cls ? ka.cls : point_class(a, "a");
    const std::type_info* tb = kb.cls ? kb.cls : point_class(b, "b");
    if (auto it = rows_.find({*ta, *tb}); it != rows_.end()) return it->second(a, b, false);
    if (auto it = rows_.find({*tb, *ta}); it != rows_.end()) return it->second(b, a, true);
    const auto describe = [](const std::type_info* t, ArgumentKind k) {
        return (k.cls && !k.many ? "" : "many ") + detail::class_name(t);
    };
    refuse(describe(ta, ka), describe(tb, kb));
}

namespace detail {
inline const char* doc_of(const ObjectTable&) { return ""; }
inline const char* doc_of(const PairTable& t) { return t.doc().c_str(); }
}  // namespace detail

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
                   py::arg(first), py::arg(second), detail::doc_of(*t));
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
