// One polygon ring as an (N, 2) vertex array: the library's simplicity,
// convexity and orientation tests, an area with its exact sign, distances,
// and exact point-in-polygon over arrays through a precomputed structure of
// our own (the edges sorted into horizontal slabs).
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Mpzf.h>
#include <CGAL/Polygon_2_algorithms.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "companion/io/owned_results.hpp"
#include "polygons/registrations.hpp"

namespace zenolith::polygons {
namespace {

namespace py = pybind11;
using companion::as_array;
using companion::read_points;
using Epick = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point = Epick::Point_2;

// The ring's vertices as kernel points (finite, checked).
std::vector<Point> ring(py::handle vertices) {
    const auto rows = read_points<2>(vertices, "vertices");
    std::vector<Point> out;
    out.reserve(rows.xyz.size() / 2);
    for (std::size_t i = 0; i < rows.xyz.size(); i += 2) out.emplace_back(rows.xyz[i], rows.xyz[i + 1]);
    return out;
}

bool is_simple(py::handle vertices) {
    const auto v = ring(vertices);
    py::gil_scoped_release nogil;
    return v.size() >= 3 && CGAL::is_simple_2(v.begin(), v.end(), Epick());
}

bool is_convex(py::handle vertices) {
    const auto v = ring(vertices);
    py::gil_scoped_release nogil;
    return v.size() >= 3 && CGAL::is_convex_2(v.begin(), v.end(), Epick());
}

// 1 counter-clockwise, -1 clockwise; for a simple ring (the caller checks).
int orientation(py::handle vertices) {
    const auto v = ring(vertices);
    py::gil_scoped_release nogil;
    return v.size() < 3 ? 0 : static_cast<int>(CGAL::orientation_2(v.begin(), v.end(), Epick()));
}

// The signed area: the shoelace sum evaluated exactly (each product of two
// doubles and their sum are exact in Mpzf), rounded once; its sign is exact.
double area(py::handle vertices) {
    const auto v = ring(vertices);
    py::gil_scoped_release nogil;
    CGAL::Mpzf sum(0);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Point& a = v[i];
        const Point& b = v[(i + 1) % v.size()];
        sum = sum + CGAL::Mpzf(a.x()) * CGAL::Mpzf(b.y()) - CGAL::Mpzf(b.x()) * CGAL::Mpzf(a.y());
    }
    const double rounded = CGAL::to_double(sum) / 2;
    const int sign = CGAL::sign(sum);
    // a rounding never flips the sign, but an underflow could lose it
    return sign == 0 ? 0.0 : rounded != 0.0 ? rounded : sign * std::numeric_limits<double>::denorm_min();
}

// The squared distance from each point to the ring's nearest edge, by the
// kernel's point-segment formula in doubles.
py::array_t<double> squared_distance(py::handle vertices, py::handle points) {
    const auto v = ring(vertices);
    const auto q = read_points<2>(points, "points");
    std::vector<double> out(q.xyz.size() / 2, std::numeric_limits<double>::infinity());
    const auto n = static_cast<py::ssize_t>(out.size());
    companion::run_parts(n, companion::row_threads(n * static_cast<py::ssize_t>(v.size()) / 64),
                         [&](py::ssize_t begin, py::ssize_t end, int) {
                             const Epick::Compute_squared_distance_2 distance;
                             for (py::ssize_t i = begin; i < end; ++i) {
                                 const Point p(q.xyz[2 * i], q.xyz[2 * i + 1]);
                                 double best = std::numeric_limits<double>::infinity();
                                 for (std::size_t k = 0; k < v.size(); ++k) {
                                     const double d = distance(p, Epick::Segment_2(v[k], v[(k + 1) % v.size()]));
                                     best = d < best ? d : best;
                                 }
                                 out[static_cast<std::size_t>(i)] = best;
                             }
                         });
    return as_array(std::move(out), companion::row_shape(n, q.single));
}

// Exact point-in-polygon for many points: the ring's edges are sorted into
// horizontal slabs by their y-range, and a point is tested against the
// edges of its slab only: on an edge (boundary), else the parity of the
// edges crossing the ray from it towards +x (half-open in y, so that a
// vertex on the ray counts once). The slab of a y-value comes from
// monotone rounded arithmetic, so an edge's slabs hold every y of its range.
class Locator {
public:
    explicit Locator(py::handle vertices) : v_(ring(vertices)) {
        if (v_.size() < 3) throw py::value_error("vertices: a polygon needs at least 3 vertices, got " + std::to_string(v_.size()));
        xmin_ = xmax_ = v_[0].x();
        ymin_ = ymax_ = v_[0].y();
        for (const Point& p : v_) {
            xmin_ = std::min(xmin_, p.x());
            xmax_ = std::max(xmax_, p.x());
            ymin_ = std::min(ymin_, p.y());
            ymax_ = std::max(ymax_, p.y());
        }
        // about one slab an edge, fewer where long edges would fill too many
        for (slabs_ = static_cast<std::int64_t>(std::min<std::size_t>(v_.size(), 1 << 20));; slabs_ /= 2) {
            height_ = (ymax_ - ymin_) / static_cast<double>(slabs_);
            if (!(height_ > 0) || !std::isfinite(height_)) slabs_ = 1;
            std::size_t total = 0;
            for (std::size_t k = 0; k < v_.size(); ++k) {
                const auto [lo, hi] = range(k);
                total += static_cast<std::size_t>(hi - lo + 1);
            }
            if (slabs_ == 1 || total <= 16 * v_.size()) break;
        }
        offsets_.assign(static_cast<std::size_t>(slabs_ + 1), 0);
        for (std::size_t k = 0; k < v_.size(); ++k) {
            const auto [lo, hi] = range(k);
            for (auto s = lo; s <= hi; ++s) ++offsets_[static_cast<std::size_t>(s + 1)];
        }
        for (std::size_t s = 1; s < offsets_.size(); ++s) offsets_[s] += offsets_[s - 1];
        edges_.resize(static_cast<std::size_t>(offsets_.back()));
        std::vector<std::int64_t> fill(offsets_.begin(), offsets_.end() - 1);
        for (std::size_t k = 0; k < v_.size(); ++k) {
            const auto [lo, hi] = range(k);
            for (auto s = lo; s <= hi; ++s) edges_[static_cast<std::size_t>(fill[static_cast<std::size_t>(s)]++)] = static_cast<std::uint32_t>(k);
        }
    }

    // 1 inside, 0 on the boundary, -1 outside, for each point.
    py::array_t<std::int8_t> bounded_side(py::handle points) const {
        const auto q = read_points<2>(points, "points");
        std::vector<std::int8_t> out(q.xyz.size() / 2);
        const auto n = static_cast<py::ssize_t>(out.size());
        companion::run_parts(n, companion::row_threads(n), [&](py::ssize_t begin, py::ssize_t end, int) {
            for (py::ssize_t i = begin; i < end; ++i) out[static_cast<std::size_t>(i)] = side(Point(q.xyz[2 * i], q.xyz[2 * i + 1]));
        });
        return as_array(std::move(out), companion::row_shape(n, q.single));
    }

private:
    std::int64_t slab(double y) const {
        if (slabs_ == 1) return 0;
        const double s = std::floor((y - ymin_) / height_);
        return s < 0 ? 0 : s >= static_cast<double>(slabs_) ? slabs_ - 1 : static_cast<std::int64_t>(s);
    }

    std::pair<std::int64_t, std::int64_t> range(std::size_t k) const {
        const double a = v_[k].y(), b = v_[(k + 1) % v_.size()].y();
        return {slab(std::min(a, b)), slab(std::max(a, b))};
    }

    std::int8_t side(const Point& q) const {
        if (q.x() < xmin_ || q.x() > xmax_ || q.y() < ymin_ || q.y() > ymax_) return -1;
        const auto s = static_cast<std::size_t>(slab(q.y()));
        bool inside = false;
        for (auto e = offsets_[s]; e < offsets_[s + 1]; ++e) {
            const std::size_t k = edges_[static_cast<std::size_t>(e)];
            const Point& a = v_[k];
            const Point& b = v_[(k + 1) % v_.size()];
            const bool a_above = a.y() > q.y(), b_above = b.y() > q.y();
            const bool spans_y = std::min(a.y(), b.y()) <= q.y() && q.y() <= std::max(a.y(), b.y());
            if (!spans_y) continue;
            const bool spans_x = std::min(a.x(), b.x()) <= q.x() && q.x() <= std::max(a.x(), b.x());
            if (a_above == b_above) {
                // touches the line y = q.y only at an end or along it: boundary, or nothing
                if (spans_x && CGAL::orientation(a, b, q) == CGAL::COLLINEAR) return 0;
                continue;
            }
            // crosses the line: right of q exactly when q is left of the edge directed upwards
            const auto turn = b_above ? CGAL::orientation(a, b, q) : CGAL::orientation(b, a, q);
            if (turn == CGAL::COLLINEAR) return 0;
            if (turn == CGAL::LEFT_TURN) inside = !inside;
        }
        return inside ? 1 : -1;
    }

    std::vector<Point> v_;
    double xmin_, xmax_, ymin_, ymax_, height_ = 0;
    std::int64_t slabs_ = 1;
    std::vector<std::int64_t> offsets_;
    std::vector<std::uint32_t> edges_;
};

}  // namespace

void register_polygon(py::module_& m) {
    m.def("is_simple", &is_simple, py::arg("vertices"));
    m.def("is_convex", &is_convex, py::arg("vertices"));
    m.def("orientation", &orientation, py::arg("vertices"));
    m.def("area", &area, py::arg("vertices"));
    m.def("squared_distance", &squared_distance, py::arg("vertices"), py::arg("points"));
    py::class_<Locator>(m, "Locator")
        .def(py::init<py::handle>(), py::arg("vertices"))
        .def("bounded_side", [](const Locator& l, py::handle points) { return l.bounded_side(points); },
             py::arg("points"));
}

}  // namespace zenolith::polygons
