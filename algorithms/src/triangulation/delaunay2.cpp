// The planar Delaunay triangulation, its nearest-vertex queries and its dual
// Voronoi diagram.
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <cmath>
#include <limits>

#include "triangulation/planar.hpp"
#include "triangulation/registrations.hpp"

namespace zenolith::triangulation {
namespace {

using Vb = CGAL::Triangulation_vertex_base_with_info_2<Slot, Epick>;
using Fb = CGAL::Triangulation_face_base_with_info_2<Slot, Epick>;
using Dt = CGAL::Delaunay_triangulation_2<Epick, CGAL::Triangulation_data_structure_2<Vb, Fb>>;

class Delaunay2 : public Planar<Dt> {
public:
    explicit Delaunay2(py::handle points) { insert(points, true); }

    // The vertex nearest to each query point (the smallest index among
    // equally near ones is not promised: one of them), -1 when empty.
    IndexArray nearest_vertex(py::handle obj) { return nearest_vertices<2>(tr_, obj, mutex_); }

    // The Voronoi diagram: (vertices, edges, directions, edge_points,
    // region_offsets, region_vertices); see zenolith_algorithms.triangulation.
    py::tuple voronoi() {
        constexpr double nan = std::numeric_limits<double>::quiet_NaN();
        std::vector<double> vertices, directions;
        std::vector<Index> edges, edge_points, offsets, regions;
        {
            Locked lock(mutex_);
            number();
            const int dim = tr_.dimension();
            vertices.resize(static_cast<std::size_t>(2 * cells_));
            if (dim == 2) {
                for (auto f = tr_.finite_faces_begin(); f != tr_.finite_faces_end(); ++f) {
                    const auto c = tr_.circumcenter(f);
                    const auto at = static_cast<std::size_t>(2 * f->info().value);
                    vertices[at] = c.x();
                    vertices[at + 1] = c.y();
                }
            }
            if (dim >= 1) {
                for (auto e = tr_.finite_edges_begin(); e != tr_.finite_edges_end(); ++e) {
                    Face_handle f = e->first;
                    int i = e->second;
                    Face_handle g = dim == 2 ? f->neighbor(i) : Face_handle();
                    if (dim == 2 && cell_index(f) < 0) {  // look from the finite side
                        i = g->index(f);
                        std::swap(f, g);
                    }
                    const Point& p = f->vertex(Dt::ccw(i))->point();
                    const Point& q = f->vertex(Dt::cw(i))->point();
                    edge_points.push_back(f->vertex(Dt::ccw(i))->info().value);
                    edge_points.push_back(f->vertex(Dt::cw(i))->info().value);
                    edges.push_back(dim == 2 ? cell_index(f) : -1);
                    edges.push_back(dim == 2 ? cell_index(g) : -1);
                    if (dim == 2 && cell_index(g) >= 0) {
                        directions.insert(directions.end(), {nan, nan});
                    } else {
                        // p -> q has the triangle on its left: outwards is to its right
                        directions.insert(directions.end(), {q.y() - p.y(), p.x() - q.x()});
                    }
                }
            }
            // each vertex's region: its faces counter-clockwise, -1 once for the unbounded part
            std::vector<Index> vertex_offsets(rep_.size() + 1, 0), vertex_regions;
            for (std::size_t v = 0; v < rep_.size(); ++v) {
                if (rep_[v] == static_cast<Index>(v) && dim >= 0) region_of(vertex_of_[v], vertex_regions);
                vertex_offsets[v + 1] = static_cast<Index>(vertex_regions.size());
            }
            regions_by_point(rep_, vertex_offsets, vertex_regions, offsets, regions);
        }
        const auto v = static_cast<py::ssize_t>(vertices.size() / 2);
        const auto e = static_cast<py::ssize_t>(edges.size() / 2);
        const auto o = static_cast<py::ssize_t>(offsets.size());
        const auto r = static_cast<py::ssize_t>(regions.size());
        return py::make_tuple(as_array(std::move(vertices), {v, 2}), as_array(std::move(edges), {e, 2}),
                              as_array(std::move(directions), {e, 2}), as_array(std::move(edge_points), {e, 2}),
                              as_array(std::move(offsets), {o}), as_array(std::move(regions), {r}));
    }

private:
    // The Voronoi vertices around v counter-clockwise, with one -1 where
    // the region is unbounded (last, when it is).
    void region_of(Vertex_handle v, std::vector<Index>& out) const {
        if (tr_.dimension() < 2) {
            out.push_back(-1);
            return;
        }
        std::vector<Index> around;
        auto f = tr_.incident_faces(v), done = f;
        do {
            around.push_back(cell_index(f));
        } while (++f != done);
        // start right after an unbounded stretch, so that it comes last as one -1
        std::size_t start = 0;
        for (std::size_t k = 0; k < around.size(); ++k) {
            if (around[k] < 0 && around[(k + 1) % around.size()] >= 0) start = (k + 1) % around.size();
        }
        bool unbounded = false;
        for (std::size_t k = 0; k < around.size(); ++k) {
            const Index c = around[(start + k) % around.size()];
            if (c >= 0) {
                out.push_back(c);
            } else {
                unbounded = true;
            }
        }
        if (unbounded) out.push_back(-1);
    }
};

}  // namespace

void register_delaunay2(py::module_& m) {
    py::class_<Delaunay2> cls(m, "Delaunay2");
    cls.def(py::init<py::handle>(), py::arg("points"));
    bind_planar<Delaunay2>(cls);
    cls.def("nearest_vertex", [](Delaunay2& t, py::handle points) { return t.nearest_vertex(points); },
            py::arg("points"))
        .def("voronoi", [](Delaunay2& t) { return t.voronoi(); });
}

}  // namespace zenolith::triangulation
