// Convex hulls in the plane and in space over the filtered exact-predicate
// kernel, as indices of the input points. The affine dimension of the input
// is found first, exactly: collinear and coplanar input gets the hull of its
// own dimension, equal points are one vertex (the smallest index).
#include <CGAL/Convex_hull_traits_adapter_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Projection_traits_xy_3.h>
#include <CGAL/Projection_traits_xz_3.h>
#include <CGAL/Projection_traits_yz_3.h>
#include <CGAL/convex_hull_2.h>
#include <CGAL/convex_hull_3.h>
#include <CGAL/property_map.h>

#include <array>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <numeric>
#include <utility>
#include <vector>

#include "companion/io/owned_results.hpp"
#include "polygons/registrations.hpp"

namespace zenolith::polygons {
namespace {

namespace py = pybind11;
using companion::as_array;
using companion::read_points;
using Epick = CGAL::Exact_predicates_inexact_constructions_kernel;
using Index = std::int64_t;

// The counter-clockwise hull of `points` under the 2D traits Base (the
// plane, or a coordinate plane of space), as positions in `points`. The
// algorithm runs on (point, position) pairs in memory order: its sorting
// then reads neighbouring memory, not points scattered through an index.
template <class Base, class Point>
std::vector<Index> hull_2(const std::vector<Point>& points, const Base& base = Base()) {
    using Item = std::pair<Point, Index>;
    std::vector<Item> items;
    items.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) items.emplace_back(points[i], static_cast<Index>(i));
    std::vector<Item> out;
    CGAL::Convex_hull_traits_adapter_2<Base, CGAL::First_of_pair_property_map<Item>> traits(
        CGAL::First_of_pair_property_map<Item>(), base);
    CGAL::convex_hull_2(items.begin(), items.end(), std::back_inserter(out), traits);
    std::vector<Index> ring;
    ring.reserve(out.size());
    for (const Item& item : out) ring.push_back(item.second);
    return ring;
}

// A hash of a point's coordinates; -0.0 counts as 0.0, as equality does.
struct CoordinateHash {
    template <class Point>
    std::size_t operator()(const Point& p) const {
        std::size_t h = 0;
        for (int k = 0; k < p.dimension(); ++k) {
            const double c = p[k] + 0.0;
            std::uint64_t bits;
            std::memcpy(&bits, &c, sizeof bits);
            h = (h ^ bits) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 29;
        }
        return h;
    }
};

// Equal points are one vertex: each hull vertex becomes the smallest index
// holding its coordinates. A few vertices are looked up in a hash of them;
// many (points on a circle) in the points sorted once, which costs less
// than a hash of a million.
template <class Point>
void smallest_indices(const std::vector<Point>& points, std::vector<Index>& vertices) {
    if (vertices.size() * 32 < points.size()) {
        std::unordered_map<Point, Index, CoordinateHash> first;
        first.reserve(vertices.size());
        for (Index v : vertices) first.emplace(points[static_cast<std::size_t>(v)], v);
        for (std::size_t i = 0; i < points.size(); ++i) {
            auto at = first.find(points[i]);
            if (at != first.end() && static_cast<Index>(i) < at->second) at->second = static_cast<Index>(i);
        }
        for (Index& v : vertices) v = first[points[static_cast<std::size_t>(v)]];
        return;
    }
    using Item = std::pair<Point, Index>;  // ordered by point, then index
    std::vector<Item> sorted;
    sorted.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) sorted.emplace_back(points[i], static_cast<Index>(i));
    std::sort(sorted.begin(), sorted.end());
    for (Index& v : vertices) {
        const Item key{points[static_cast<std::size_t>(v)], -1};
        v = std::lower_bound(sorted.begin(), sorted.end(), key)->second;
    }
}

// The library's hull in space on traits whose planes are three points and
// whose predicates are exact orientations. (The plain kernel as traits, its
// default for this call, would construct planes in doubles: rounded, and
// overflowing to NaN on huge coordinates, which ends the process in the
// exact fallback.)
using SpatialHullTraits = CGAL::Convex_hull_traits_3<Epick, CGAL::Default, CGAL::Tag_true>;
void spatial_hull(const std::vector<Epick::Point_3>& points, std::vector<Epick::Point_3>& corners,
                  std::vector<std::array<std::size_t, 3>>& triangles) {
    using Iterator = std::vector<Epick::Point_3>::const_iterator;
    CGAL::convex_hull_3<Iterator, Epick::Point_3, std::vector<Epick::Point_3>, std::vector<std::array<std::size_t, 3>>,
                        SpatialHullTraits>(points.begin(), points.end(), corners, triangles, SpatialHullTraits());
}

// Starts a cyclic order at its smallest index, for answers that do not
// depend on the algorithm's starting point.
void start_at_smallest(std::vector<Index>& ring) {
    if (!ring.empty()) std::rotate(ring.begin(), std::min_element(ring.begin(), ring.end()), ring.end());
}

// (vertices, edges): the planar hull counter-clockwise and its edges.
py::tuple convex_hull_2d(py::handle obj) {
    const auto rows = read_points<2>(obj, "points");
    std::vector<Index> ring;
    {
        py::gil_scoped_release nogil;
        std::vector<Epick::Point_2> points;
        points.reserve(rows.xyz.size() / 2);
        for (std::size_t i = 0; i < rows.xyz.size(); i += 2) points.emplace_back(rows.xyz[i], rows.xyz[i + 1]);
        ring = hull_2<Epick>(points);
        smallest_indices(points, ring);
        start_at_smallest(ring);
    }
    return py::make_tuple(as_array(std::vector<Index>(ring), {static_cast<py::ssize_t>(ring.size())}),
                          static_cast<int>(ring.size() >= 3 ? 2 : static_cast<int>(ring.size()) - 1));
}

// The affine dimension of points in space, with the positions of points
// spanning it (p[0..dimension]).
int affine_dimension(const std::vector<Epick::Point_3>& points, std::array<std::size_t, 4>& p) {
    const std::size_t n = points.size();
    if (n == 0) return -1;
    p[0] = 0;
    std::size_t i = 1;
    while (i < n && points[i] == points[0]) ++i;
    if (i == n) return 0;
    p[1] = i;
    while (i < n && CGAL::collinear(points[p[0]], points[p[1]], points[i])) ++i;
    if (i == n) return 1;
    p[2] = i;
    while (i < n && CGAL::coplanar(points[p[0]], points[p[1]], points[p[2]], points[i])) ++i;
    if (i == n) return 2;
    p[3] = i;
    return 3;
}

// The points a hull in space has to look at: without those strictly inside
// a ball that lies strictly inside the hull of a few extreme points (the
// farthest along 64 directions). Its radius is the smallest distance from
// the extreme points' centroid to their hull's faces, cut by a margin far
// above the rounding of these few double operations; a point dropped is
// strictly inside the hull, hence none of its vertices. Skipped for small
// inputs and for magnitudes where squares could overflow or lose their
// relative precision. Returns all points when it drops nothing.
std::vector<Epick::Point_3> hull_candidates(const std::vector<Epick::Point_3>& points) {
    if (points.size() < 10000) return points;
    constexpr int directions = 64;
    std::array<std::array<double, 3>, directions> d{};
    for (int k = 0; k < directions; ++k) {  // a Fibonacci sphere
        const double z = 1.0 - (2.0 * k + 1.0) / directions, r = std::sqrt(1.0 - z * z);
        const double phi = k * 2.399963229728653;
        d[static_cast<std::size_t>(k)] = {r * std::cos(phi), r * std::sin(phi), z};
    }
    std::array<std::size_t, directions> best{};
    std::array<double, directions> reach;
    reach.fill(-std::numeric_limits<double>::infinity());
    double magnitude = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& p = points[i];
        magnitude = std::max({magnitude, std::abs(p.x()), std::abs(p.y()), std::abs(p.z())});
        for (std::size_t k = 0; k < directions; ++k) {
            const double t = d[k][0] * p.x() + d[k][1] * p.y() + d[k][2] * p.z();
            if (t > reach[k]) {
                reach[k] = t;
                best[k] = i;
            }
        }
    }
    if (!(magnitude < 1e100)) return points;
    std::vector<Epick::Point_3> extremes;
    for (std::size_t k : best) extremes.push_back(points[k]);
    std::sort(extremes.begin(), extremes.end());
    extremes.erase(std::unique(extremes.begin(), extremes.end()), extremes.end());
    std::array<std::size_t, 4> spanning{};
    if (extremes.size() < 4 || affine_dimension(extremes, spanning) < 3) return points;
    std::vector<Epick::Point_3> corners;
    std::vector<std::array<std::size_t, 3>> faces;
    spatial_hull(extremes, corners, faces);
    double cx = 0, cy = 0, cz = 0;
    for (const auto& c : corners) {
        cx += c.x();
        cy += c.y();
        cz += c.z();
    }
    cx /= static_cast<double>(corners.size());
    cy /= static_cast<double>(corners.size());
    cz /= static_cast<double>(corners.size());
    double radius = std::numeric_limits<double>::infinity();
    for (const auto& f : faces) {  // outward faces: the centroid is on their inner side
        const auto& a = corners[f[0]];
        const auto n = CGAL::cross_product(corners[f[1]] - a, corners[f[2]] - a);
        const double inside = -(n.x() * (cx - a.x()) + n.y() * (cy - a.y()) + n.z() * (cz - a.z()));
        radius = std::min(radius, inside / std::sqrt(n.squared_length()));
    }
    if (!(radius > 1e-100 * magnitude) || !(radius > 1e-100)) return points;
    const double kept = radius * radius * (1.0 - 1e-6);
    std::vector<Epick::Point_3> out;
    for (const auto& p : points) {
        const double dx = p.x() - cx, dy = p.y() - cy, dz = p.z() - cz;
        if (!(dx * dx + dy * dy + dz * dz < kept)) out.push_back(p);
    }
    return out;
}

// (vertices, faces, dimension) of the hull in space: outward triangles in
// 3 dimensions; in 2 a ring, counter-clockwise seen from the positive side
// of z (else y, else x: the first axis the plane is not parallel to), and
// no faces; the two
// ends in 1; the one point in 0.
py::tuple convex_hull_3d(py::handle obj) {
    const auto rows = read_points<3>(obj, "points");
    std::vector<Index> vertices, faces;
    int dimension = -1;
    {
        py::gil_scoped_release nogil;
        std::vector<Epick::Point_3> points;
        points.reserve(rows.xyz.size() / 3);
        for (std::size_t i = 0; i < rows.xyz.size(); i += 3) {
            points.emplace_back(rows.xyz[i], rows.xyz[i + 1], rows.xyz[i + 2]);
        }
        std::array<std::size_t, 4> p{};
        dimension = affine_dimension(points, p);
        if (dimension == 0) {
            vertices = {0};
        } else if (dimension == 1) {
            const auto [lo, hi] = std::minmax_element(points.begin(), points.end());
            vertices = {lo - points.begin(), hi - points.begin()};
        } else if (dimension == 2) {
            // projected onto a coordinate plane where three of them do not
            // fall onto a line (decided exactly: dropping a coordinate is
            // exact), the points keep their order; the ring turns
            // counter-clockwise seen from that axis's positive side
            const auto& a = points[p[0]];
            const auto& b = points[p[1]];
            const auto& c = points[p[2]];
            using P2 = Epick::Point_2;
            if (CGAL::orientation(P2(a.x(), a.y()), P2(b.x(), b.y()), P2(c.x(), c.y())) != CGAL::COLLINEAR) {
                vertices = hull_2<CGAL::Projection_traits_xy_3<Epick>>(points);
            } else if (CGAL::orientation(P2(a.x(), a.z()), P2(b.x(), b.z()), P2(c.x(), c.z())) != CGAL::COLLINEAR) {
                vertices = hull_2<CGAL::Projection_traits_xz_3<Epick>>(points);
                std::reverse(vertices.begin(), vertices.end());  // (x, z) turns the other way seen from +y
            } else {
                vertices = hull_2<CGAL::Projection_traits_yz_3<Epick>>(points);
            }
        } else if (dimension == 3) {
            std::vector<Epick::Point_3> corners;
            std::vector<std::array<std::size_t, 3>> triangles;
            const auto candidates = hull_candidates(points);
            spatial_hull(candidates, corners, triangles);
            // corners are copies: find their input positions
            std::unordered_map<Epick::Point_3, Index, CoordinateHash> at;
            at.reserve(corners.size());
            for (std::size_t k = 0; k < corners.size(); ++k) at.emplace(corners[k], -1);
            for (std::size_t i = 0; i < points.size(); ++i) {
                auto found = at.find(points[i]);
                if (found != at.end() && found->second < 0) found->second = static_cast<Index>(i);
            }
            for (const auto& c : corners) vertices.push_back(at[c]);
            for (const auto& t : triangles) {
                for (std::size_t k : t) faces.push_back(vertices[k]);
            }
        }
        if (dimension != 3) smallest_indices(points, vertices);
        if (dimension == 2) start_at_smallest(vertices);
        if (dimension == 3) std::sort(vertices.begin(), vertices.end());
    }
    const auto v = static_cast<py::ssize_t>(vertices.size());
    const auto f = static_cast<py::ssize_t>(faces.size() / 3);
    return py::make_tuple(as_array(std::move(vertices), {v}), as_array(std::move(faces), {f, 3}), dimension);
}

}  // namespace

void register_hulls(py::module_& m) {
    m.def("convex_hull_2", &convex_hull_2d, py::arg("points"));
    m.def("convex_hull_3", &convex_hull_3d, py::arg("points"));
}

}  // namespace zenolith::polygons
