// Table-driven dispatch of the operations between two core objects
// (do_intersect, intersection, squared_distance) and between one core object
// and an array of points. Each family file adds the pairs it knows with one
// line each; the module looks the pair up by the C++ classes of the two
// arguments, trying the swapped order for symmetric operations.
#pragma once

#include <pybind11/pybind11.h>

#include <CGAL/version.h>

#include <cmath>
#include <functional>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "../module/types.hpp"
#include "exact_kernel.hpp"

namespace zenolith::companion {

namespace py = pybind11;

// An operation on two core objects, passed as they came from Python (their
// classes are known to match the entry).
using PairFn = py::object (*)(py::handle, py::handle);
// An operation on one core object and an array-like of points.
using RowFn = py::object (*)(py::handle, py::handle);

namespace detail {

// The C++ class behind a Python object of a core class (or of a Python
// subclass of one), or nullptr for anything else.
inline const std::type_info* core_type(py::handle obj) {
    const auto& infos = py::detail::all_type_info(Py_TYPE(obj.ptr()));
    return infos.size() == 1 ? infos.front()->cpptype : nullptr;
}

struct PairHash {
    std::size_t operator()(const std::pair<std::type_index, std::type_index>& k) const {
        return k.first.hash_code() * 31u ^ k.second.hash_code();
    }
};

}  // namespace detail

// The supported pairs of one operation. Lookups try (a, b) first, then
// (b, a) with the arguments swapped: every operation here is symmetric.
class PairTable {
public:
    explicit PairTable(const char* op) : op_(op) {}

    template <class A, class B>
    void add(PairFn f) {
        map_[{typeid(A), typeid(B)}] = f;
        added_.emplace_back(&typeid(A), &typeid(B));
    }

    py::object operator()(py::handle a, py::handle b) const {
        const std::type_info* ta = detail::core_type(a);
        const std::type_info* tb = detail::core_type(b);
        if (ta && tb) {
            if (auto it = map_.find({*ta, *tb}); it != map_.end()) return it->second(a, b);
            if (auto it = map_.find({*tb, *ta}); it != map_.end()) return it->second(b, a);
        }
        throw py::type_error(std::string(op_) + "() does not support the pair (" +
                             type_name(a) + ", " + type_name(b) +
                             "); see docs/intersections.md for the supported pairs");
    }

    // The supported pairs as (class, class), in the order they were added.
    py::list pairs() const {
        py::list out;
        for (const auto& [a, b] : added_)
            out.append(py::make_tuple(py::detail::get_type_handle(*a, true),
                                      py::detail::get_type_handle(*b, true)));
        return out;
    }

private:
    static std::string type_name(py::handle obj) {
        return py::str(py::type::handle_of(obj).attr("__name__"));
    }
    const char* op_;
    std::unordered_map<std::pair<std::type_index, std::type_index>, PairFn, detail::PairHash> map_;
    std::vector<std::pair<const std::type_info*, const std::type_info*>> added_;
};

// The classes of object an operation over arrays of points accepts.
class RowTable {
public:
    explicit RowTable(const char* op) : op_(op) {}

    template <class A>
    void add(RowFn f) {
        map_[typeid(A)] = f;
        added_.push_back(&typeid(A));
    }

    // The supported classes, in the order they were added.
    py::list classes() const {
        py::list out;
        for (const std::type_info* a : added_) out.append(py::detail::get_type_handle(*a, true));
        return out;
    }

    py::object operator()(py::handle obj, py::handle points) const {
        if (const std::type_info* t = detail::core_type(obj)) {
            if (auto it = map_.find(*t); it != map_.end()) return it->second(obj, points);
        }
        throw py::type_error(std::string(op_) + "() over points does not support " +
                             std::string(py::str(py::type::handle_of(obj).attr("__name__"))) +
                             "; see docs/intersections.md for the supported classes");
    }

private:
    const char* op_;
    std::unordered_map<std::type_index, RowFn> map_;
    std::vector<const std::type_info*> added_;
};

// Every table of the family, filled by the family's translation units.
struct PairTables {
    PairTable do_intersect{"do_intersect"};
    PairTable intersection{"intersection"};
    PairTable squared_distance{"squared_distance"};
    RowTable do_intersect_rows{"do_intersect"};
    RowTable squared_distance_rows{"squared_distance"};
    RowTable closest_point_rows{"closest_point"};
};

void add_planar_intersections(PairTables& t);
void add_spatial_intersections(PairTables& t);
void add_solid_intersections(PairTables& t);
void add_distances(PairTables& t);
void add_distance_rows(PairTables& t);

// ---- finiteness ----------------------------------------------------------
// The exact predicates are only defined on finite coordinates (the rules of
// exact_kernel.hpp, plus the core's boxes).

inline bool finite(const CGAL::Bbox_2& b) {
    return finite(b.xmin()) && finite(b.ymin()) && finite(b.xmax()) && finite(b.ymax());
}
inline bool finite(const CGAL::Bbox_3& b) {
    return finite(b.xmin()) && finite(b.ymin()) && finite(b.zmin()) && finite(b.xmax()) &&
           finite(b.ymax()) && finite(b.zmax());
}

// The kernel value of a core object, refused with ValueError when one of its
// coordinates is infinite or NaN.
template <class W>
const auto& finite_value(py::handle obj, const char* op) {
    const auto& v = obj.cast<const W&>().v;
    if (!finite(v)) {
        throw py::value_error(std::string(op) + "() needs finite coordinates, got " +
                              std::string(py::repr(obj)));
    }
    return v;
}

}  // namespace zenolith::companion
