// Intersecting faces of two meshes, and of one mesh with itself: the
// library's box-intersection sweep over the faces' bounding boxes finds
// the candidate pairs, exact triangle tests decide them (split over
// threads, with the GIL released).
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/box_intersection_d.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "companion/io/owned_results.hpp"
#include "mesh/mesh.hpp"
#include "mesh/registrations.hpp"

namespace zenolith::mesh {
namespace {

using companion::as_array;
using Epick = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point = Epick::Point_3;
using Segment = Epick::Segment_3;
using Triangle = Epick::Triangle_3;
using Box = CGAL::Box_intersection_d::Box_with_info_d<double, 3, Index>;
using Pairs = std::vector<std::pair<Index, Index>>;

Point corner(const Mesh& m, Index v) {
    const double* p = m.vertex(v);
    return Point(p[0], p[1], p[2]);
}

Triangle triangle(const Mesh& m, Index f) {
    const Index* v = m.face(static_cast<std::size_t>(f));
    return Triangle(corner(m, v[0]), corner(m, v[1]), corner(m, v[2]));
}

// A face as what it is: a triangle, or, with collinear corners, the segment
// between its extreme corners, or a point. The library's triangle tests
// take only triangles with an area.
struct Shape {
    int kind;  // 0 point, 1 segment, 2 triangle
    Triangle t;
};

Shape shape(const Mesh& m, Index f) {
    const Triangle t = triangle(m, f);
    if (!CGAL::collinear(t[0], t[1], t[2])) return {2, t};
    const Point lo = std::min({t[0], t[1], t[2]}), hi = std::max({t[0], t[1], t[2]});
    return {lo == hi ? 0 : 1, Triangle(lo, hi, hi)};
}

bool meet(const Shape& a, const Shape& b) {
    if (a.kind > b.kind) return meet(b, a);
    const Point& p = a.t[0];
    const Segment s(a.t[0], a.t[1]);
    if (b.kind == 0) return p == b.t[0];
    if (b.kind == 1) {
        const Segment sb(b.t[0], b.t[1]);
        return a.kind == 0 ? sb.has_on(p) : CGAL::do_intersect(s, sb);
    }
    return a.kind == 0 ? CGAL::do_intersect(b.t, p) : a.kind == 1 ? CGAL::do_intersect(s, b.t) : CGAL::do_intersect(a.t, b.t);
}

std::vector<Box> boxes(const Mesh& m) {
    std::vector<Box> out;
    out.reserve(m.nfaces());
    for (std::size_t f = 0; f < m.nfaces(); ++f) out.emplace_back(triangle(m, static_cast<Index>(f)).bbox(), static_cast<Index>(f));
    return out;
}

// Whether faces f and g of one mesh meet beyond what they share: vertices
// are shared by index. Sharing an edge, they meet elsewhere only when they
// fold onto each other (coplanar, on the same side of the edge); sharing a
// vertex, only when the edge opposite it in one meets the other. A face
// with collinear corners counts only against faces it shares no vertex with.
bool faces_meet(const Mesh& m, Index f, Index g) {
    const Index* a = m.face(static_cast<std::size_t>(f));
    const Index* b = m.face(static_cast<std::size_t>(g));
    const auto in_b = [b](Index v) { return v == b[0] || v == b[1] || v == b[2]; };
    const auto in_a = [a](Index v) { return v == a[0] || v == a[1] || v == a[2]; };
    int shared = 0;
    for (int i = 0; i < 3; ++i) shared += in_b(a[i]) && std::find(a, a + i, a[i]) == a + i;
    if (shared == 0) return meet(shape(m, f), shape(m, g));
    if (shared >= 3) return true;
    if (shape(m, f).kind != 2 || shape(m, g).kind != 2) return false;
    // the corners of each face not shared with the other
    Index own_a[3], own_b[3], common[3];
    int na = 0, nb = 0, nc = 0;
    for (int i = 0; i < 3; ++i) {
        if (!in_b(a[i])) own_a[na++] = a[i];
        else if (std::find(common, common + nc, a[i]) == common + nc) common[nc++] = a[i];
        if (!in_a(b[i])) own_b[nb++] = b[i];
    }
    if (na == 0 || nb == 0) return true;  // a degenerate face within the other's corners
    if (shared == 2) {
        const Point p = corner(m, common[0]), q = corner(m, common[1]), r = corner(m, own_a[0]), s = corner(m, own_b[0]);
        return CGAL::coplanar(p, q, r, s) && CGAL::coplanar_orientation(p, q, r, s) == CGAL::POSITIVE;
    }
    const Segment opposite_a(corner(m, own_a[0]), corner(m, own_a[na > 1 ? 1 : 0]));
    const Segment opposite_b(corner(m, own_b[0]), corner(m, own_b[nb > 1 ? 1 : 0]));
    return CGAL::do_intersect(opposite_b, triangle(m, f)) || CGAL::do_intersect(opposite_a, triangle(m, g));
}

// The candidate pairs that pass `meets`, ascending.
template <class Meets>
Pairs decide(Pairs candidates, Meets meets) {
    std::vector<std::uint8_t> keep(candidates.size(), 0);
    const auto n = static_cast<py::ssize_t>(candidates.size());
    companion::run_parts(n, n >= 4096 ? companion::row_threads(py::ssize_t{1} << 16) : 1, [&](py::ssize_t begin, py::ssize_t end, int) {
        for (py::ssize_t i = begin; i < end; ++i) {
            const auto k = static_cast<std::size_t>(i);
            keep[k] = meets(candidates[k].first, candidates[k].second);
        }
    });
    Pairs out;
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        if (keep[k]) out.push_back(candidates[k]);
    }
    std::sort(out.begin(), out.end());
    return out;
}

py::array_t<Index> as_pairs(Pairs&& pairs) {
    std::vector<Index> flat;
    flat.reserve(2 * pairs.size());
    for (const auto& [f, g] : pairs) {
        flat.push_back(f);
        flat.push_back(g);
    }
    const auto k = static_cast<py::ssize_t>(pairs.size());
    return as_array(std::move(flat), {k, 2});
}

// (K, 2) pairs (face of a, face of b) whose triangles meet.
py::array_t<Index> pairs_between(const Mesh& a, const Mesh& b) {
    Pairs candidates;
    {
        py::gil_scoped_release nogil;
        auto ba = boxes(a), bb = boxes(b);
        CGAL::box_intersection_d(ba.begin(), ba.end(), bb.begin(), bb.end(),
                                 [&](const Box& x, const Box& y) { candidates.emplace_back(x.info(), y.info()); });
    }
    Pairs found = decide(std::move(candidates), [&](Index f, Index g) { return meet(shape(a, f), shape(b, g)); });
    return as_pairs(std::move(found));
}

// (K, 2) pairs f < g of faces of one mesh that meet beyond what they share.
py::array_t<Index> self_pairs(const Mesh& m) {
    Pairs candidates;
    {
        py::gil_scoped_release nogil;
        auto bm = boxes(m);
        CGAL::box_self_intersection_d(bm.begin(), bm.end(), [&](const Box& x, const Box& y) {
            candidates.emplace_back(std::min(x.info(), y.info()), std::max(x.info(), y.info()));
        });
    }
    Pairs found = decide(std::move(candidates), [&](Index f, Index g) { return faces_meet(m, f, g); });
    return as_pairs(std::move(found));
}

}  // namespace

void register_pairs(py::module_& m) {
    m.def("pairs_between", &pairs_between, py::arg("a"), py::arg("b"));
    m.def("self_pairs", &self_pairs, py::arg("mesh"));
}

}  // namespace zenolith::mesh
