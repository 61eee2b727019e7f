// What every planar triangulation answers (the Delaunay and the constrained
// one): its points, simplices, neighbours, hull and edges as arrays, and
// exact point location. Tr is a triangulation of the library whose vertices
// and faces carry a Slot.
#pragma once

#include <unordered_map>

#include "triangulation/common.hpp"

namespace zenolith::triangulation {

template <class Tr>
class Planar : public PointStore<2> {
public:
    using Face_handle = typename Tr::Face_handle;
    using Vertex_handle = typename Tr::Vertex_handle;
    using Point = Epick::Point_2;

    Planar() = default;
    // A copy holds the same triangulation (new handles, same indices).
    Planar(const Planar& other) : PointStore<2>(other), tr_(other.tr_) { find_vertices(); }

    // Adds points (indices count(), count() + 1, ...); equal points share a
    // vertex. `interruptible`: see insert_points.
    void insert(py::handle obj, bool interruptible = false) {
        const PointRows rows = read_points<2>(obj, "points");
        Locked lock(mutex_);
        add_points(rows.xyz, interruptible);
    }

    int dimension() const { return tr_.dimension(); }

    // (simplices, neighbors, vertex_to_simplex, convex_hull) in one pass.
    py::tuple arrays() {
        std::vector<Index> simplices, neighbors, v2s, hull;
        py::ssize_t m = 0, k = 3, h = 0, hk = 2;
        {
            Locked lock(mutex_);
            number();
            const int dim = tr_.dimension();
            m = cells_;
            k = dim >= 1 ? dim + 1 : 3;
            simplices.resize(static_cast<std::size_t>(m * k));
            neighbors.resize(static_cast<std::size_t>(m * k));
            for (auto f = tr_.tds().faces().begin(); dim >= 1 && f != tr_.tds().faces().end(); ++f) {
                const Index c = f->info().value;
                if (c >= cells_) continue;
                for (int i = 0; i < k; ++i) {
                    simplices[static_cast<std::size_t>(c * k + i)] = f->vertex(i)->info().value;
                    neighbors[static_cast<std::size_t>(c * k + i)] = cell_index(f->neighbor(i));
                }
            }
            v2s.resize(rep_.size());
            for (std::size_t i = 0; i < rep_.size(); ++i) v2s[i] = vertex_cell_[static_cast<std::size_t>(rep_[i])];
            hull = hull_facets();
            hk = dim == 1 ? 1 : 2;
            h = static_cast<py::ssize_t>(hull.size()) / hk;
        }
        const auto n = static_cast<py::ssize_t>(v2s.size());
        return py::make_tuple(as_array(std::move(simplices), {m, k}), as_array(std::move(neighbors), {m, k}),
                              as_array(std::move(v2s), {n}), as_array(std::move(hull), {h, hk}));
    }

    // Every finite edge once, as (smaller index, larger index).
    IndexArray edges() {
        return edge_array(tr_, mutex_, [](const auto&) { return true; });
    }

    // The simplex holding each query point (exact location; a point on an
    // edge or vertex gets one of the simplices it lies on), -1 outside.
    IndexArray find_simplex(py::handle obj) {
        return answer_queries<2, Face_handle>(
            obj, mutex_, [&] {
                number();
                return tr_.dimension() >= 1;
            },
            [&](const Point& p, Face_handle& hint) { return locate(p, hint); });
    }

protected:
    // With the lock held: inserts the points of `xyz`.
    void add_points(const std::vector<double>& xyz, bool interruptible) {
        const std::size_t n = xyz.size() / 2;
        const Index first = count();
        coords_.insert(coords_.end(), xyz.begin(), xyz.end());
        rep_.resize(rep_.size() + n);
        const auto added = insert_points<Tr, 2>(tr_, kernel_points<2>(xyz.data(), n), first, rep_, interruptible);
        vertex_of_.insert(vertex_of_.end(), added.begin(), added.end());
        numbered_ = false;
    }

    // With the lock held: vertices the library made itself (where
    // constraints cross, Steiner points of a refinement) become points
    // count(), count() + 1, ... in the order of the vertex container.
    void adopt_new_vertices() {
        for (auto v = tr_.finite_vertices_begin(); v != tr_.finite_vertices_end(); ++v) {
            if (v->info().value >= 0) continue;
            v->info().value = count();
            rep_.push_back(count());
            coords_.push_back(v->point().x());
            coords_.push_back(v->point().y());
            vertex_of_.push_back(v);
        }
        numbered_ = false;
    }

    // Points each index to its vertex again (after a copy).
    void find_vertices() {
        vertex_of_.assign(rep_.size(), Vertex_handle());
        for (auto v = tr_.finite_vertices_begin(); v != tr_.finite_vertices_end(); ++v) {
            vertex_of_[static_cast<std::size_t>(v->info().value)] = v;
        }
        for (std::size_t i = 0; i < rep_.size(); ++i) vertex_of_[i] = vertex_of_[static_cast<std::size_t>(rep_[i])];
        numbered_ = false;
    }

    // With the lock held: numbers the finite faces of the current dimension
    // 0 .. cells_ - 1 (container order) and the infinite ones after them,
    // and finds a simplex of every vertex.
    void number() {
        if (numbered_) return;
        const int dim = tr_.dimension();
        cells_ = 0;
        faces_ = 0;
        vertex_cell_.assign(rep_.size(), -1);
        if (dim >= 1) {
            auto& faces = tr_.tds().faces();
            for (int pass = 0; pass < 2; ++pass) {
                for (auto f = faces.begin(); f != faces.end(); ++f) {
                    bool infinite = false;
                    for (int i = 0; i <= dim; ++i) infinite = infinite || tr_.is_infinite(f->vertex(i));
                    if (infinite != (pass == 1)) continue;
                    f->info().value = faces_++;
                    if (infinite) continue;
                    for (int i = 0; i <= dim; ++i) {
                        vertex_cell_[static_cast<std::size_t>(f->vertex(i)->info().value)] = f->info().value;
                    }
                }
                if (pass == 0) cells_ = faces_;
            }
        }
        numbered_ = true;
    }

    // The index of a numbered face, -1 for an infinite one.
    Index cell_index(Face_handle f) const {
        const Index c = f->info().value;
        return c < cells_ ? c : -1;
    }

    // The hull's edges in counter-clockwise order (dimension 2), or its two
    // end vertices (dimension 1).
    std::vector<Index> hull_facets() const {
        std::vector<Index> out;
        const int dim = tr_.dimension();
        if (dim < 1) return out;
        if (dim == 1) {
            for (auto f = tr_.tds().faces().begin(); f != tr_.tds().faces().end(); ++f) {
                for (int i = 0; i < 2; ++i) {
                    if (tr_.is_infinite(f->vertex(i))) out.push_back(f->vertex(1 - i)->info().value);
                }
            }
            return out;
        }
        auto around = tr_.incident_faces(tr_.infinite_vertex()), done = around;
        // the edge of infinite face (oo, a, b) runs b -> a with the hull on its left
        std::unordered_map<Index, Index> next;
        do {
            const int i = around->index(tr_.infinite_vertex());
            next[around->vertex(Tr::cw(i))->info().value] = around->vertex(Tr::ccw(i))->info().value;
        } while (++around != done);
        Index start = next.begin()->first;
        for (const auto& edge : next) start = std::min(start, edge.first);
        Index a = start;
        do {
            out.push_back(a);
            out.push_back(next[a]);
            a = next[a];
        } while (a != start && out.size() <= 2 * next.size());
        return out;
    }

    // The simplex holding p (see find_simplex); hint is where to start and
    // becomes where it was found.
    Index locate(const Point& p, Face_handle& hint) const {
        typename Tr::Locate_type lt;
        int li = 0;
        const Face_handle f = tr_.locate(p, lt, li, hint);
        if (f == Face_handle()) return -1;
        switch (lt) {
            case Tr::OUTSIDE_CONVEX_HULL:
            case Tr::OUTSIDE_AFFINE_HULL:
                return -1;
            case Tr::VERTEX:
                return vertex_cell_[static_cast<std::size_t>(f->vertex(li)->info().value)];
            default:
                break;
        }
        Index c = cell_index(f);
        if (c >= 0) {
            hint = f;
        } else if (lt == Tr::EDGE && tr_.dimension() == 2) {
            c = cell_index(f->neighbor(li));  // on a hull edge: the finite side
        }
        return c;
    }

    Tr tr_;
    std::vector<Vertex_handle> vertex_of_;  // the vertex of each point
    std::vector<Index> vertex_cell_;  // a simplex of each vertex, -1 for none
    Index cells_ = 0;                 // finite faces of the current dimension
    Index faces_ = 0;                 // all of them, infinite ones included
    bool numbered_ = false;
};

// The bindings every planar triangulation has, on its class.
template <class T, class Class>
void bind_planar(Class& cls) {
    // lambdas on references: a method called on None is a TypeError
    cls.def("insert", [](T& t, py::handle points) { t.insert(points); }, py::arg("points"))
        .def_property_readonly("dimension", [](const T& t) { return t.dimension(); })
        .def("points", [](T& t) { return t.points(); })
        .def("duplicates", [](T& t) { return t.duplicates(); })
        .def("arrays", [](T& t) { return t.arrays(); })
        .def("edges", [](T& t) { return t.edges(); })
        .def("find_simplex", [](T& t, py::handle points) { return t.find_simplex(points); }, py::arg("points"));
}

}  // namespace zenolith::triangulation
