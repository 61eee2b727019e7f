// Whole point sets: squared distances row by row, the bounding box, and the
// order of Python's sort over the core's points.
#include <algorithm>
#include <limits>
#include <vector>

#include "companion/io/array_readers.hpp"
#include "companion/arrays/list_sort.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion {

namespace {

template <int D>
py::array_t<double> row_pair_distances(py::handle p, py::handle q) {
    const Points<D> a(p, "p"), b(q, "q");
    return map_rows<double>(Broadcast(a, b), [&](py::ssize_t i) {
        return (point_at(a, i) - point_at(b, i)).squared_length();
    });
}

py::array_t<double> point_pairs_squared_distance(py::handle p, py::handle q) {
    return point_dimension(p, "p") == 2 ? row_pair_distances<2>(p, q)
                                        : row_pair_distances<3>(p, q);
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
    if (p.size() > 0) box.v = point_at(p, 0).bbox();
    run_blocks(p.size() - 1, [&](py::ssize_t begin, py::ssize_t end) {
        for (py::ssize_t i = begin + 1; i <= end; ++i) box.v = box.v + point_at(p, i).bbox();
    });
    return py::cast(box);
}

py::object bbox(py::handle points) {
    return point_dimension(points, "points") == 2 ? bounding_box<2, Bbox2>(points)
                                                  : bounding_box<3, Bbox3>(points);
}

// A point with its input position: sorting these keeps the compared
// coordinates next to each other in memory.
template <int D>
struct Keyed {
    double c[D];
    py::ssize_t index;
};

template <int D>
py::array_t<py::ssize_t> order_of(py::handle points) {
    const Points<D> p(points, "points");
    py::array_t<py::ssize_t> out(p.size());
    py::ssize_t* o = out.mutable_data();
    {
        py::gil_scoped_release nogil;
        std::vector<Keyed<D>> keyed(static_cast<std::size_t>(p.size()));
        for (py::ssize_t i = 0; i < p.size(); ++i) {
            std::copy(p[i], p[i] + D, keyed[i].c);
            keyed[i].index = i;
        }
        const auto less = [](const Keyed<D>& a, const Keyed<D>& b) {
            if constexpr (D == 2) return K::Point_2(a.c[0], a.c[1]) < K::Point_2(b.c[0], b.c[1]);
            else return K::Point_3(a.c[0], a.c[1], a.c[2]) < K::Point_3(b.c[0], b.c[1], b.c[2]);
        };
        ListSort<Keyed<D>, decltype(less)>(less, p.size()).sort(keyed.data());
        for (py::ssize_t i = 0; i < p.size(); ++i) o[i] = keyed[i].index;
    }
    return out;
}

py::array_t<py::ssize_t> lexicographic_order(py::handle points) {
    return point_dimension(points, "points") == 2 ? order_of<2>(points) : order_of<3>(points);
}

}  // namespace

void register_point_sets(py::module_& m) {
    m.def("point_pairs_squared_distance", &point_pairs_squared_distance, py::arg("p"), py::arg("q"));
    m.def("bbox", &bbox, py::arg("points"));
    m.def("lexicographic_order", &lexicographic_order, py::arg("points"));
}

}  // namespace zenolith::companion
