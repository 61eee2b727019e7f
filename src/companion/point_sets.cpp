// Whole point sets: squared distances row by row, the bounding box, and the
// order of Python's sort over the core's points.
#include <limits>
#include <numeric>

#include "array_io.hpp"
#include "list_sort.hpp"
#include "registrations.hpp"

namespace zenolith::companion {

namespace {

template <int D>
py::array_t<double> squared_distance_rows(py::handle p, py::handle q) {
    const Points<D> a(p, "p"), b(q, "q");
    return map_rows<double>(Broadcast(a, b), [&](py::ssize_t i) {
        return (point_at(a, i) - point_at(b, i)).squared_length();
    });
}

py::array_t<double> squared_distance(py::handle p, py::handle q) {
    return point_dimension(p, "p") == 2 ? squared_distance_rows<2>(p, q)
                                        : squared_distance_rows<3>(p, q);
}

// The fold of the points' own boxes from the first one with the union rule
// of Bbox2's +; no points give the empty box (what Bbox2() holds).
template <int D, class Box>
py::object bounding_box(py::handle points) {
    const Points<D> p(points, "points");
    constexpr double inf = std::numeric_limits<double>::infinity();
    Box box;
    if constexpr (D == 2) {
        box.v = CGAL::Bbox_2(inf, inf, -inf, -inf);
    } else {
        box.v = CGAL::Bbox_3(inf, inf, inf, -inf, -inf, -inf);
    }
    if (p.size() > 0) {
        py::gil_scoped_release nogil;
        box.v = point_at(p, 0).bbox();
        for (py::ssize_t i = 1; i < p.size(); ++i) box.v = box.v + point_at(p, i).bbox();
    }
    return py::cast(box);
}

py::object bbox(py::handle points) {
    return point_dimension(points, "points") == 2 ? bounding_box<2, Bbox2>(points)
                                                  : bounding_box<3, Bbox3>(points);
}

template <int D>
py::array_t<py::ssize_t> order_of(py::handle points) {
    const Points<D> p(points, "points");
    py::array_t<py::ssize_t> out(p.size());
    py::ssize_t* o = out.mutable_data();
    {
        py::gil_scoped_release nogil;
        std::iota(o, o + p.size(), py::ssize_t{0});
        const auto less = [&p](py::ssize_t i, py::ssize_t j) {
            return point_at(p, i) < point_at(p, j);
        };
        ListSort<decltype(less)>(less, p.size()).sort(o);
    }
    return out;
}

py::array_t<py::ssize_t> lexicographic_order(py::handle points) {
    return point_dimension(points, "points") == 2 ? order_of<2>(points) : order_of<3>(points);
}

}  // namespace

void register_point_sets(py::module_& m) {
    m.def("squared_distance", &squared_distance, py::arg("p"), py::arg("q"));
    m.def("bbox", &bbox, py::arg("points"));
    m.def("lexicographic_order", &lexicographic_order, py::arg("points"));
}

}  // namespace zenolith::companion
