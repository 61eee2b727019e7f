// Core objects to coordinate arrays and back. Building one Python object
// per item is the job here, so these loops hold the GIL.
#include <string>
#include <vector>

#include "companion/io/array_readers.hpp"
#include "companion/io/object_rows.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion {

namespace {

// How one class lays out as numbers: the shape of one item, and the two
// directions. Points and vectors of dimension D are D numbers; a weighted
// point x, y, weight; segments and triangles their points in order.
template <class T>
struct Layout;

template <class T, class V, int D>
struct PointLayout {
    static constexpr int size = D;
    static std::vector<py::ssize_t> shape() { return {D}; }
    static void write(const T& o, double* out) {
        for (int k = 0; k < D; ++k) out[k] = o.v.cartesian(k);
    }
    static T read(const double* in) {
        if constexpr (D == 2) return T{V(in[0], in[1])};
        else return T{V(in[0], in[1], in[2])};
    }
};

template <> struct Layout<Point2> : PointLayout<Point2, K::Point_2, 2> {};
template <> struct Layout<Vector2> : PointLayout<Vector2, K::Vector_2, 2> {};
template <> struct Layout<Point3> : PointLayout<Point3, K::Point_3, 3> {};
template <> struct Layout<Vector3> : PointLayout<Vector3, K::Vector_3, 3> {};

template <>
struct Layout<WeightedPoint2> {
    static constexpr int size = 3;
    static std::vector<py::ssize_t> shape() { return {3}; }
    static void write(const WeightedPoint2& o, double* out) {
        out[0] = o.v.x();
        out[1] = o.v.y();
        out[2] = o.v.weight();
    }
    static WeightedPoint2 read(const double* in) {
        return {K::Weighted_point_2(K::Point_2(in[0], in[1]), in[2])};
    }
};

// Count points of dimension D: a segment (2) or a triangle (3), read as the
// rows of object arrays are (io/object_rows.hpp).
template <class T, int Count, int D>
struct VertexLayout {
    static constexpr int size = Count * D;
    static std::vector<py::ssize_t> shape() { return RowLayout<T>::shape(); }
    static void write(const T& o, double* out) {
        for (int j = 0; j < Count; ++j)
            for (int k = 0; k < D; ++k) out[j * D + k] = o.v.vertex(j).cartesian(k);
    }
    static T read(const double* in) { return T{RowLayout<T>::value(in)}; }
};

template <> struct Layout<Segment2> : VertexLayout<Segment2, 2, 2> {};
template <> struct Layout<Segment3> : VertexLayout<Segment3, 2, 3> {};
template <> struct Layout<Triangle2> : VertexLayout<Triangle2, 3, 2> {};
template <> struct Layout<Triangle3> : VertexLayout<Triangle3, 3, 3> {};

// A list of new core objects, one per item of an (N, *item) array.
template <class T>
py::list build(py::handle arr) {
    using L = Layout<T>;
    const char* name = "arr";
    const std::string expected = "an array of shape " + detail::rows_shape_text(L::shape());
    if (detail::is_bound_object(arr)) {
        throw py::type_error(std::string(name) + ": expected " + expected + ", got " +
                             detail::type_name(arr));
    }
    const Items items(arr, name, expected, L::shape());
    py::list out(items.n);
    for (py::ssize_t i = 0; i < items.n; ++i) {
        check_signals_at(i);
        PyList_SET_ITEM(out.ptr(), i, py::cast(L::read(items.data() + i * L::size)).release().ptr());
    }
    return out;
}

// The array of a sequence of objects of class T (the class of its first).
template <class T>
py::array_t<double> gather(const py::sequence& seq, py::handle first) {
    using L = Layout<T>;
    const py::ssize_t n = static_cast<py::ssize_t>(seq.size());
    std::vector<py::ssize_t> shape = L::shape();
    shape.insert(shape.begin(), n);
    py::array_t<double> out(shape);
    double* o = out.mutable_data();
    PyTypeObject* const type = Py_TYPE(first.ptr());
    for (py::ssize_t i = 0; i < n; ++i, o += L::size) {
        check_signals_at(i);
        const py::object item = seq[i];
        if (Py_TYPE(item.ptr()) != type && !py::isinstance<T>(item)) {
            throw py::type_error("to_array: expected a sequence of one class, got " +
                                 detail::type_name(first) + " at index 0 and " +
                                 detail::type_name(item) + " at index " + std::to_string(i));
        }
        L::write(item.cast<const T&>(), o);
    }
    return out;
}

template <class... Ts>
py::array_t<double> gather_any(const py::sequence& seq, py::handle first) {
    py::array_t<double> out;
    const bool known = ((py::isinstance<Ts>(first) && (out = gather<Ts>(seq, first), true)) || ...);
    if (!known) {
        std::string names;
        ((names += (names.empty() ? "" : ", ") + std::string(py::str(py::type::of<Ts>().attr("__name__")))), ...);
        throw py::type_error("to_array: expected a sequence of " + names + ", got " +
                             detail::type_name(first) + " at index 0");
    }
    return out;
}

py::array_t<double> to_array(py::handle obj) {
    if (!py::isinstance<py::sequence>(obj) || py::isinstance<py::str>(obj)) {
        throw py::type_error("to_array: expected a sequence of core objects, got " +
                             detail::type_name(obj));
    }
    const auto seq = py::reinterpret_borrow<py::sequence>(obj);
    if (seq.size() == 0) {
        throw py::value_error("to_array: an empty sequence has no item shape to give");
    }
    const py::object first = seq[0];
    return gather_any<Point2, Point3, Vector2, Vector3, WeightedPoint2, Segment2, Segment3,
                      Triangle2, Triangle3>(seq, first);
}

}  // namespace

void register_conversions(py::module_& m) {
    m.def("to_array", &to_array, py::arg("seq"));
    m.def("points2", &build<Point2>, py::arg("arr"));
    m.def("points3", &build<Point3>, py::arg("arr"));
    m.def("vectors2", &build<Vector2>, py::arg("arr"));
    m.def("vectors3", &build<Vector3>, py::arg("arr"));
    m.def("weighted_points2", &build<WeightedPoint2>, py::arg("arr"));
    m.def("segments2", &build<Segment2>, py::arg("arr"));
    m.def("segments3", &build<Segment3>, py::arg("arr"));
    m.def("triangles2", &build<Triangle2>, py::arg("arr"));
    m.def("triangles3", &build<Triangle3>, py::arg("arr"));
}

}  // namespace zenolith::companion
