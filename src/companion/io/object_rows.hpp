// Arguments that hold many objects of one class: the typed object arrays of
// zenolith.objects (Segments2, Triangles3, ...: a float64 array of one row
// per object, the class named by the wrapper's `item_class`), a list of core
// objects of one class, or one core object that broadcasts. Points are read
// by the Points reader (plain arrays, core points, lists of core points).
//
// Each class lays out as a fixed number of doubles per row, and a row
// becomes the kernel value the core's constructor of the same numbers builds
// (a segment from two points, a circle from a center and a squared radius,
// ...), so a row and the object it indexes to are the same value.
#pragma once

#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "companion/io/array_readers.hpp"
#include "shared/finite.hpp"
#include "shared/types.hpp"

namespace zenolith::companion {

namespace py = pybind11;

// The row layout of class T: `shape` (the numbers of one row) and `value`
// (the kernel value of a row). Classes without one (Circle3) come only as
// core objects or lists of them.
template <class T>
struct RowLayout;

namespace detail {

inline K::Point_2 point2_at(const double* in) { return {in[0], in[1]}; }
inline K::Point_3 point3_at(const double* in) { return {in[0], in[1], in[2]}; }

template <int D>
auto point_at(const double* in) {
    if constexpr (D == 2) return point2_at(in);
    else return point3_at(in);
}

// Count points of dimension D per row, passed in order to the constructor V.
template <class V, int Count, int D>
struct PointsLayout {
    static std::vector<py::ssize_t> shape() { return {Count, D}; }
    static V value(const double* in) {
        if constexpr (Count == 2) return V(point_at<D>(in), point_at<D>(in + D));
        else if constexpr (Count == 3) return V(point_at<D>(in), point_at<D>(in + D), point_at<D>(in + 2 * D));
        else return V(point_at<D>(in), point_at<D>(in + D), point_at<D>(in + 2 * D), point_at<D>(in + 3 * D));
    }
};

}  // namespace detail

template <> struct RowLayout<Point2> {
    static std::vector<py::ssize_t> shape() { return {2}; }
    static K::Point_2 value(const double* in) { return detail::point2_at(in); }
};
template <> struct RowLayout<Point3> {
    static std::vector<py::ssize_t> shape() { return {3}; }
    static K::Point_3 value(const double* in) { return detail::point3_at(in); }
};
template <> struct RowLayout<Segment2> : detail::PointsLayout<K::Segment_2, 2, 2> {};
template <> struct RowLayout<Segment3> : detail::PointsLayout<K::Segment_3, 2, 3> {};
template <> struct RowLayout<Ray2> : detail::PointsLayout<K::Ray_2, 2, 2> {};
template <> struct RowLayout<Ray3> : detail::PointsLayout<K::Ray_3, 2, 3> {};
template <> struct RowLayout<Line2> : detail::PointsLayout<K::Line_2, 2, 2> {};
template <> struct RowLayout<Line3> : detail::PointsLayout<K::Line_3, 2, 3> {};
template <> struct RowLayout<Triangle2> : detail::PointsLayout<K::Triangle_2, 3, 2> {};
template <> struct RowLayout<Triangle3> : detail::PointsLayout<K::Triangle_3, 3, 3> {};
template <> struct RowLayout<Tetrahedron3> : detail::PointsLayout<K::Tetrahedron_3, 4, 3> {};
template <> struct RowLayout<IsoRectangle2> : detail::PointsLayout<K::Iso_rectangle_2, 2, 2> {};
template <> struct RowLayout<IsoCuboid3> : detail::PointsLayout<K::Iso_cuboid_3, 2, 3> {};
template <> struct RowLayout<Bbox2> {
    static std::vector<py::ssize_t> shape() { return {2, 2}; }
    static CGAL::Bbox_2 value(const double* in) { return {in[0], in[1], in[2], in[3]}; }
};
template <> struct RowLayout<Bbox3> {
    static std::vector<py::ssize_t> shape() { return {2, 3}; }
    static CGAL::Bbox_3 value(const double* in) { return {in[0], in[1], in[2], in[3], in[4], in[5]}; }
};
template <> struct RowLayout<Circle2> {
    static std::vector<py::ssize_t> shape() { return {3}; }
    static K::Circle_2 value(const double* in) { return {detail::point2_at(in), in[2]}; }
};
template <> struct RowLayout<Sphere3> {
    static std::vector<py::ssize_t> shape() { return {4}; }
    static K::Sphere_3 value(const double* in) { return {detail::point3_at(in), in[3]}; }
};
template <> struct RowLayout<Plane3> {
    static std::vector<py::ssize_t> shape() { return {4}; }
    static K::Plane_3 value(const double* in) { return {in[0], in[1], in[2], in[3]}; }
};

template <class T, class = void>
struct has_row_layout : std::false_type {};
template <class T>
struct has_row_layout<T, std::void_t<decltype(RowLayout<T>::shape())>> : std::true_type {};

namespace detail {

// "(N, 2, 3)" for an item shape {2, 3}.
inline std::string rows_shape_text(const std::vector<py::ssize_t>& item) {
    std::string s = "(N";
    for (py::ssize_t e : item) s += ", " + std::to_string(e);
    return s + ")";
}

// The class of a typed object array (its `item_class`), or nullptr when
// `obj` is none.
inline const std::type_info* object_array_class(py::handle obj) {
    PyObject* item = PyObject_GetAttrString(reinterpret_cast<PyObject*>(Py_TYPE(obj.ptr())), "item_class");
    if (!item) {
        PyErr_Clear();
        return nullptr;
    }
    const auto* info = PyType_Check(item) ? py::detail::get_type_info(reinterpret_cast<PyTypeObject*>(item)) : nullptr;
    Py_DECREF(item);
    return info ? info->cpptype : nullptr;
}

// The class of the first item of a list or tuple of core objects, else
// nullptr.
inline const std::type_info* object_list_class(py::handle obj) {
    const py::handle first = first_item(obj);
    if (!first) return nullptr;
    const auto& infos = py::detail::all_type_info(Py_TYPE(first.ptr()));
    return infos.size() == 1 ? infos.front()->cpptype : nullptr;
}

}  // namespace detail

// What an argument of a class-keyed operation is: one core object, many
// objects of one class (a typed object array or a list of core objects), or
// neither (read as points).
struct ArgumentKind {
    const std::type_info* cls = nullptr;  // the class of its objects; nullptr for points
    bool many = false;
};

inline ArgumentKind argument_kind(py::handle obj) {
    const auto& infos = py::detail::all_type_info(Py_TYPE(obj.ptr()));
    if (infos.size() == 1) return {infos.front()->cpptype, false};
    if (!infos.empty()) return {};
    if (const std::type_info* t = detail::object_array_class(obj)) return {t, true};
    if (const std::type_info* t = detail::object_list_class(obj)) return {t, true};
    return {};
}

// The objects of class T one argument holds, row by row: value(i) is the
// kernel value of row i (the one object again and again when the argument
// was a single object, or an array of one row), object(i) the core object.
// The numbers are kept alive, so rows may be read with the GIL released.
template <class T>
class Rows {
public:
    using Value = decltype(T::v);

    Rows(const Rows&) = delete;
    Rows& operator=(const Rows&) = delete;

    Rows(py::handle obj, const char* name) : name_(name), source_(py::reinterpret_borrow<py::object>(obj)) {
        if (py::isinstance<T>(obj)) {
            values_.push_back(obj.cast<const T&>().v);
            return;
        }
        single_ = false;
        if (PyList_Check(obj.ptr()) || PyTuple_Check(obj.ptr())) {
            read_list(obj);
        } else if constexpr (has_row_layout<T>::value) {
            read_array(obj.attr("array"));
        } else {
            throw py::type_error(std::string(name) + ": expected a " + T::name +
                                 " or a list of them, got " + detail::type_name(obj));
        }
        step_ = n_ == 1 ? 0 : 1;
    }

    const char* name() const { return name_; }
    bool single() const { return single_; }
    py::ssize_t size() const { return n_; }

    Value value(py::ssize_t i) const {
        if constexpr (has_row_layout<T>::value) {
            if (data_) return RowLayout<T>::value(data_ + i * step_ * width_);
        }
        return values_[static_cast<std::size_t>(i * step_)];
    }

    // The core object of row i (the caller's own object where there is one).
    py::object object(py::ssize_t i) const {
        if (single_) return source_;
        if (!data_) return py::reinterpret_borrow<py::object>(PySequence_Fast_GET_ITEM(source_.ptr(), i * step_));
        return py::cast(T{value(i)});
    }

private:
    void read_list(py::handle obj) {
        n_ = PySequence_Fast_GET_SIZE(obj.ptr());
        values_.reserve(static_cast<std::size_t>(n_));
        for (py::ssize_t i = 0; i < n_; ++i) {
            py::handle item = PySequence_Fast_GET_ITEM(obj.ptr(), i);
            if (!py::isinstance<T>(item)) {
                throw py::type_error(std::string(name_) + ": expected a list of " + T::name + ", got " +
                                     detail::type_name(item) + " at index " + std::to_string(i));
            }
            values_.push_back(item.cast<const T&>().v);
        }
    }

    void read_array(py::handle arr) {
        const auto shape = RowLayout<T>::shape();
        const std::string expected = "an array of " + std::string(T::name) + " rows of shape " +
                                     detail::rows_shape_text(shape);
        items_ = Items(arr, name_, expected, shape);
        if (items_.single) {
            throw py::value_error(std::string(name_) + ": expected " + expected + ", got an array of shape " +
                                  detail::shape_text(items_.keep));
        }
        n_ = items_.n;
        data_ = items_.data();
        width_ = 1;
        for (py::ssize_t e : shape) width_ *= e;
    }

    const char* name_;
    py::object source_;
    std::vector<Value> values_;
    Items items_;
    const double* data_ = nullptr;
    py::ssize_t width_ = 0;
    py::ssize_t n_ = 1;
    py::ssize_t step_ = 0;
    bool single_ = true;
};

// Points as rows: the Points reader's arrays, sequences, core points and
// lists of them.
template <class P, int D>
class PointRows : public Points<D> {
public:
    using Value = decltype(P::v);
    PointRows(py::handle obj, const char* name) : Points<D>(obj, name) {}
    Value value(py::ssize_t i) const { return point_at(*this, i); }
    py::object object(py::ssize_t i) const { return py::cast(P{value(i)}); }
};

template <>
class Rows<Point2> : public PointRows<Point2, 2> {
    using PointRows::PointRows;
};
template <>
class Rows<Point3> : public PointRows<Point3, 3> {
    using PointRows::PointRows;
};

}  // namespace zenolith::companion
