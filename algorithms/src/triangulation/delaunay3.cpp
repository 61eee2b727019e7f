// The Delaunay triangulation in space, its queries and its dual Voronoi
// diagram. Input spanning less than space gives a triangulation of that
// dimension (triangles of coplanar points, edges of collinear ones).
#include <CGAL/Delaunay_triangulation_3.h>
#include <CGAL/Triangulation_cell_base_with_info_3.h>
#include <CGAL/Triangulation_vertex_base_with_info_3.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "triangulation/common.hpp"
#include "triangulation/registrations.hpp"

namespace zenolith::triangulation {
namespace {

using Vb = CGAL::Triangulation_vertex_base_with_info_3<Slot, Epick>;
using Cb = CGAL::Triangulation_cell_base_with_info_3<Slot, Epick, CGAL::Delaunay_triangulation_cell_base_3<Epick>>;
using Dt = CGAL::Delaunay_triangulation_3<Epick, CGAL::Triangulation_data_structure_3<Vb, Cb>>;
using Cell_handle = Dt::Cell_handle;
using Vertex_handle = Dt::Vertex_handle;
using Point = Epick::Point_3;

class Delaunay3 : public PointStore<3> {
public:
    explicit Delaunay3(py::handle points) { insert(points, true); }

    // Adds points; `interruptible`: see insert_points.
    void insert(py::handle obj, bool interruptible = false) {
        const PointRows rows = read_points<3>(obj, "points");
        Locked lock(mutex_);
        const std::size_t n = rows.xyz.size() / 3;
        const Index first = count();
        coords_.insert(coords_.end(), rows.xyz.begin(), rows.xyz.end());
        rep_.resize(rep_.size() + n);
        const auto added = insert_points<Dt, 3>(tr_, kernel_points<3>(rows.xyz.data(), n), first, rep_, interruptible);
        vertex_of_.insert(vertex_of_.end(), added.begin(), added.end());
        numbered_ = false;
    }

    int dimension() const { return tr_.dimension(); }

    // (simplices, neighbors, vertex_to_simplex, convex_hull) in one pass.
    py::tuple arrays() {
        std::vector<Index> simplices, neighbors, v2s, hull;
        py::ssize_t m = 0, k = 4, hk = 3;
        {
            Locked lock(mutex_);
            number();
            const int dim = tr_.dimension();
            m = cells_;
            k = dim >= 1 ? dim + 1 : 4;
            hk = dim >= 1 ? dim : 3;
            simplices.resize(static_cast<std::size_t>(m * k));
            neighbors.resize(static_cast<std::size_t>(m * k));
            for (auto c = tr_.tds().raw_cells_begin(); dim >= 1 && c != tr_.tds().raw_cells_end(); ++c) {
                const Index at = c->info().value;
                if (at >= cells_) {
                    // an infinite cell: its finite facet is a facet of the hull,
                    // in the order that faces away from the finite side
                    const int i = c->index(tr_.infinite_vertex());
                    for (int j = 0; j < hk; ++j) hull.push_back(c->vertex(hull_vertex(dim, i, j))->info().value);
                    continue;
                }
                for (int i = 0; i < k; ++i) {
                    simplices[static_cast<std::size_t>(at * k + i)] = c->vertex(i)->info().value;
                    neighbors[static_cast<std::size_t>(at * k + i)] = cell_index(c->neighbor(i));
                }
            }
            v2s.resize(rep_.size());
            for (std::size_t i = 0; i < rep_.size(); ++i) v2s[i] = vertex_cell_[static_cast<std::size_t>(rep_[i])];
        }
        const auto n = static_cast<py::ssize_t>(v2s.size());
        const auto h = static_cast<py::ssize_t>(hull.size()) / hk;
        return py::make_tuple(as_array(std::move(simplices), {m, k}), as_array(std::move(neighbors), {m, k}),
                              as_array(std::move(v2s), {n}), as_array(std::move(hull), {h, hk}));
    }

    // Every finite edge once, as (smaller index, larger index).
    IndexArray edges() {
        return edge_array(tr_, mutex_, [](const auto&) { return true; });
    }

    // The simplex holding each query point (exact; one of them on a shared
    // facet, edge or vertex), -1 outside.
    IndexArray find_simplex(py::handle obj) {
        return answer_queries<3, Cell_handle>(
            obj, mutex_, [&] {
                number();
                return tr_.dimension() >= 1;
            },
            [&](const Point& p, Cell_handle& hint) { return locate(p, hint); });
    }

    // The vertex nearest to each query point (one of the nearest), -1 when
    // empty.
    IndexArray nearest_vertex(py::handle obj) { return nearest_vertices<3>(tr_, obj, mutex_); }

    // The Voronoi diagram of a 3-dimensional triangulation: (vertices,
    // edges, directions, edge_points, region_offsets, region_vertices).
    py::tuple voronoi() {
        constexpr double nan = std::numeric_limits<double>::quiet_NaN();
        std::vector<double> vertices, directions;
        std::vector<Index> edges, edge_points, offsets, regions;
        {
            Locked lock(mutex_);
            if (tr_.dimension() < 3) {
                throw py::value_error("voronoi: the points span " + std::to_string(std::max(tr_.dimension(), 0)) +
                                      " dimensions; a Voronoi diagram in space needs points spanning 3");
            }
            number();
            vertices.resize(static_cast<std::size_t>(3 * cells_));
            for (auto c = tr_.finite_cells_begin(); c != tr_.finite_cells_end(); ++c) {
                const Point p = tr_.dual(c);
                const auto at = static_cast<std::size_t>(3 * c->info().value);
                vertices[at] = p.x();
                vertices[at + 1] = p.y();
                vertices[at + 2] = p.z();
            }
            // one edge a facet: between the circumcentres of its two cells, or
            // a ray from the finite one out through a hull facet
            for (auto f = tr_.finite_facets_begin(); f != tr_.finite_facets_end(); ++f) {
                Cell_handle c = f->first;
                int i = f->second;
                if (cell_index(c) < 0) {
                    const Cell_handle g = c->neighbor(i);
                    i = g->index(c);
                    c = g;
                }
                const Cell_handle g = c->neighbor(i);
                edges.push_back(cell_index(c));
                edges.push_back(cell_index(g));
                const Point& p = c->vertex(Dt::vertex_triple_index(i, 0))->point();
                const Point& q = c->vertex(Dt::vertex_triple_index(i, 1))->point();
                const Point& r = c->vertex(Dt::vertex_triple_index(i, 2))->point();
                for (int j = 0; j < 3; ++j) edge_points.push_back(c->vertex(Dt::vertex_triple_index(i, j))->info().value);
                if (cell_index(g) >= 0) {
                    directions.insert(directions.end(), {nan, nan, nan});
                } else {
                    // the facet in this order has its normal pointing into c (as
                    // the hull facets of infinite cells point out): the ray goes
                    // the other way
                    const auto n = CGAL::cross_product(q - p, r - p);
                    directions.insert(directions.end(), {-n.x(), -n.y(), -n.z()});
                }
            }
            // each point's region: the Voronoi vertices of its vertex's cells,
            // ascending, -1 last when it is unbounded
            std::vector<Index> vertex_offsets(rep_.size() + 1, 0), vertex_regions;
            std::vector<Cell_handle> around;
            for (std::size_t v = 0; v < rep_.size(); ++v) {
                if (rep_[v] == static_cast<Index>(v)) {
                    around.clear();
                    tr_.incident_cells(vertex_of_[v], std::back_inserter(around));
                    const std::size_t begin = vertex_regions.size();
                    bool unbounded = false;
                    for (const Cell_handle& c : around) {
                        const Index at = cell_index(c);
                        if (at >= 0) {
                            vertex_regions.push_back(at);
                        } else {
                            unbounded = true;
                        }
                    }
                    std::sort(vertex_regions.begin() + static_cast<std::ptrdiff_t>(begin), vertex_regions.end());
                    if (unbounded) vertex_regions.push_back(-1);
                }
                vertex_offsets[v + 1] = static_cast<Index>(vertex_regions.size());
            }
            regions_by_point(rep_, vertex_offsets, vertex_regions, offsets, regions);
        }
        const auto v = static_cast<py::ssize_t>(vertices.size() / 3);
        const auto e = static_cast<py::ssize_t>(edges.size() / 2);
        const auto o = static_cast<py::ssize_t>(offsets.size());
        const auto r = static_cast<py::ssize_t>(regions.size());
        return py::make_tuple(as_array(std::move(vertices), {v, 3}), as_array(std::move(edges), {e, 2}),
                              as_array(std::move(directions), {e, 3}), as_array(std::move(edge_points), {e, 3}),
                              as_array(std::move(offsets), {o}), as_array(std::move(regions), {r}));
    }

private:
    // With the lock held: numbers the finite cells of the current dimension
    // 0 .. cells_ - 1 and the infinite ones after them, and finds a simplex
    // of every vertex.
    void number() {
        if (numbered_) return;
        const int dim = tr_.dimension();
        cells_ = 0;
        Index all = 0;
        vertex_cell_.assign(rep_.size(), -1);
        if (dim >= 1) {
            for (int pass = 0; pass < 2; ++pass) {
                for (auto c = tr_.tds().raw_cells_begin(); c != tr_.tds().raw_cells_end(); ++c) {
                    bool infinite = false;
                    for (int i = 0; i <= dim; ++i) infinite = infinite || tr_.is_infinite(c->vertex(i));
                    if (infinite != (pass == 1)) continue;
                    c->info().value = all++;
                    if (infinite) continue;
                    for (int i = 0; i <= dim; ++i) {
                        vertex_cell_[static_cast<std::size_t>(c->vertex(i)->info().value)] = c->info().value;
                    }
                }
                if (pass == 0) cells_ = all;
            }
        }
        numbered_ = true;
    }

    Index cell_index(Cell_handle c) const {
        const Index at = c->info().value;
        return at < cells_ ? at : -1;
    }

    // Vertex j of the hull facet of an infinite cell whose infinite vertex
    // is i: the facet opposite i, oriented outwards (dimension 3; in 2, an
    // edge; in 1, an end).
    static int hull_vertex(int dim, int i, int j) {
        if (dim == 3) return Dt::vertex_triple_index(i, j);
        if (dim == 2) return j == 0 ? Dt::cw(i) : Dt::ccw(i);
        return 1 - i;
    }

    // The simplex holding p (see find_simplex); hint is where to start and
    // becomes where it was found.
    Index locate(const Point& p, Cell_handle& hint) const {
        Dt::Locate_type lt;
        int li = 0, lj = 0;
        const Cell_handle c = tr_.locate(p, lt, li, lj, hint);
        if (c == Cell_handle()) return -1;
        switch (lt) {
            case Dt::OUTSIDE_CONVEX_HULL:
            case Dt::OUTSIDE_AFFINE_HULL:
                return -1;
            case Dt::VERTEX:
                return vertex_cell_[static_cast<std::size_t>(c->vertex(li)->info().value)];
            default:
                break;
        }
        Index at = cell_index(c);
        if (at >= 0) {
            hint = c;
            return at;
        }
        // on the hull, in an infinite cell: a finite one sharing that face
        const int dim = tr_.dimension();
        if (dim == 3 && lt == Dt::FACET) return cell_index(c->neighbor(li));
        if (dim == 3 && lt == Dt::EDGE) {
            auto around = tr_.incident_cells(c, li, lj), done = around;
            do {
                if ((at = cell_index(around)) >= 0) return at;
            } while (++around != done);
        }
        if (dim == 2 && lt == Dt::EDGE) return cell_index(c->neighbor(3 - li - lj));
        return -1;
    }

    Dt tr_;
    std::vector<Vertex_handle> vertex_of_;  // the vertex of each point
    std::vector<Index> vertex_cell_;        // a simplex of each vertex, -1 for none
    Index cells_ = 0;
    bool numbered_ = false;
};

}  // namespace

void register_delaunay3(py::module_& m) {
    py::class_<Delaunay3> cls(m, "Delaunay3");
    cls.def(py::init<py::handle>(), py::arg("points"))
        .def("insert", [](Delaunay3& t, py::handle points) { t.insert(points); }, py::arg("points"))
        .def_property_readonly("dimension", [](const Delaunay3& t) { return t.dimension(); })
        .def("points", [](Delaunay3& t) { return t.points(); })
        .def("duplicates", [](Delaunay3& t) { return t.duplicates(); })
        .def("arrays", [](Delaunay3& t) { return t.arrays(); })
        .def("edges", [](Delaunay3& t) { return t.edges(); })
        .def("find_simplex", [](Delaunay3& t, py::handle points) { return t.find_simplex(points); },
             py::arg("points"))
        .def("nearest_vertex", [](Delaunay3& t, py::handle points) { return t.nearest_vertex(points); },
             py::arg("points"))
        .def("voronoi", [](Delaunay3& t) { return t.voronoi(); });
}

}  // namespace zenolith::triangulation
