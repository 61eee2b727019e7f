// What the triangulations share: reading points, inserting them in spatial
// order while keeping track of input indices and duplicates, result arrays
// filled with the GIL released, and the lock that keeps one triangulation
// from being read and changed at once by two Python threads.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Spatial_sort_traits_adapter_2.h>
#include <CGAL/Spatial_sort_traits_adapter_3.h>
#include <CGAL/property_map.h>
#include <CGAL/spatial_sort.h>
#include <CGAL/utility.h>

#include <cstdint>
#include <mutex>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "companion/io/owned_results.hpp"

namespace zenolith::triangulation {

namespace py = pybind11;

// Filtered exact predicates, constructions in doubles.
using Epick = CGAL::Exact_predicates_inexact_constructions_kernel;
using companion::as_array;
using companion::PointRows;
using companion::read_points;
// Point, simplex and Voronoi vertex indices, as numpy's intp.
using Index = std::int64_t;
using IndexArray = py::array_t<Index>;

// What a vertex or a cell carries: its index, -1 until one is given (the
// library default-constructs it; a bare integer would start undefined).
struct Slot {
    Index value = -1;
};

template <int D>
using KernelPoint = std::conditional_t<D == 2, Epick::Point_2, Epick::Point_3>;

template <int D>
KernelPoint<D> point_of(const double* xyz) {
    if constexpr (D == 2) {
        return {xyz[0], xyz[1]};
    } else {
        return {xyz[0], xyz[1], xyz[2]};
    }
}

template <int D>
std::vector<KernelPoint<D>> kernel_points(const double* xyz, std::size_t n) {
    std::vector<KernelPoint<D>> out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) out.push_back(point_of<D>(xyz + i * D));
    return out;
}

// The library's spatial order of points (a Hilbert order with median
// splits), as a permutation of their positions.
template <int D>
std::vector<std::size_t> spatial_order(const std::vector<KernelPoint<D>>& points) {
    std::vector<std::size_t> order(points.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    using Map = typename CGAL::Pointer_property_map<KernelPoint<D>>::const_type;
    using Adapter = std::conditional_t<D == 2, CGAL::Spatial_sort_traits_adapter_2<Epick, Map>,
                                       CGAL::Spatial_sort_traits_adapter_3<Epick, Map>>;
    CGAL::spatial_sort(order.begin(), order.end(), Adapter(CGAL::make_property_map(points)));
    return order;
}

// Where to start looking for the next point: the face or cell of the last
// vertex inserted.
template <class V>
auto hint_of(const V& v) -> decltype(v->face()) {
    return v->face();
}
template <class V>
auto hint_of(const V& v) -> decltype(v->cell()) {
    return v->cell();
}

// Inserts `points` (input indices first, first + 1, ...) in spatial order
// with the previous vertex's face as the hint, as the library's range
// insertion does. Equal points share one vertex, whose index is the smallest
// of theirs: rep[first + k] becomes the index of the vertex representing
// point k (rep must already hold first + points.size() entries). Returns
// the vertex of each point. Called with the GIL released; `interruptible`
// (for a triangulation no one else sees yet, which an exception discards)
// lets a signal (Ctrl-C) stop it with its exception.
template <class Tr, int D>
std::vector<typename Tr::Vertex_handle> insert_points(Tr& tr, const std::vector<KernelPoint<D>>& points, Index first,
                                                      std::vector<Index>& rep, bool interruptible) {
    using Vertex_handle = typename Tr::Vertex_handle;
    std::vector<Vertex_handle> vertex(points.size());
    decltype(hint_of(Vertex_handle())) hint{};
    std::size_t done = 0;
    for (std::size_t k : spatial_order<D>(points)) {
        if (interruptible && (++done & 0xffff) == 0) {
            py::gil_scoped_acquire gil;
            if (PyErr_CheckSignals() != 0) throw py::error_already_set();
        }
        const auto before = tr.number_of_vertices();
        const Vertex_handle v = tr.insert(points[k], hint);
        const Index index = first + static_cast<Index>(k);
        if (tr.number_of_vertices() != before || v->info().value < 0 || index < v->info().value) {
            v->info().value = index;
        }
        vertex[k] = v;
        hint = hint_of(v);
    }
    for (std::size_t k = 0; k < points.size(); ++k) rep[static_cast<std::size_t>(first) + k] = vertex[k]->info().value;
    return vertex;
}

// Holds a triangulation's lock with the GIL released: two Python threads
// never change and read one triangulation at once, and a thread waiting for
// the lock does not hold up the interpreter.
class Locked {
public:
    explicit Locked(std::mutex& m) : nogil_(), lock_(m) {}

private:
    py::gil_scoped_release nogil_;
    std::lock_guard<std::mutex> lock_;
};

// The order to answer queries in: spatial, so that each search starts
// beside the previous answer.
template <int D>
std::vector<std::size_t> query_order(const std::vector<KernelPoint<D>>& points) {
    if (points.size() < 64) {
        std::vector<std::size_t> order(points.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        return order;
    }
    return spatial_order<D>(points);
}

// The answers to a query over points (an int each, 0-d for a single
// point): answer(point, hint) for every point in spatial order, with the
// triangulation's lock held, once ready() (under the lock too) says there
// is anything to ask; -1 where not.
template <int D, class Hint, class Ready, class Answer>
IndexArray answer_queries(py::handle obj, std::mutex& mutex, Ready&& ready, Answer&& answer) {
    const PointRows rows = read_points<D>(obj, "points");
    std::vector<Index> out(rows.xyz.size() / D, -1);
    {
        Locked lock(mutex);
        if (ready()) {
            const auto queries = kernel_points<D>(rows.xyz.data(), out.size());
            Hint hint{};
            for (std::size_t q : query_order<D>(queries)) out[q] = answer(queries[q], hint);
        }
    }
    const auto n = static_cast<py::ssize_t>(out.size());
    return as_array(std::move(out), companion::row_shape(n, rows.single));
}

// The vertex of a Delaunay triangulation nearest to each query point (one
// of the nearest), -1 when it has none.
template <int D, class Tr>
IndexArray nearest_vertices(const Tr& tr, py::handle obj, std::mutex& mutex) {
    using Hint = decltype(hint_of(typename Tr::Vertex_handle()));
    return answer_queries<D, Hint>(obj, mutex, [&] { return tr.dimension() >= 0; },
                                   [&](const KernelPoint<D>& p, Hint& hint) {
                                       const auto v = tr.nearest_vertex(p, hint);
                                       hint = hint_of(v);
                                       return v->info().value;
                                   });
}

// The vertex indices at the ends of an edge: (face, i) in the plane (the
// edge opposite vertex i), (cell, i, j) in space.
template <class Face>
std::pair<Index, Index> edge_ends(const std::pair<Face, int>& e) {
    return {e.first->vertex((e.second + 1) % 3)->info().value, e.first->vertex((e.second + 2) % 3)->info().value};
}
template <class Cell>
std::pair<Index, Index> edge_ends(const CGAL::Triple<Cell, int, int>& e) {
    return {e.first->vertex(e.second)->info().value, e.first->vertex(e.third)->info().value};
}

// The finite edges of a triangulation that keep(edge) accepts, once each,
// as (smaller index, larger index) rows.
template <class Tr, class Keep>
IndexArray edge_array(const Tr& tr, std::mutex& mutex, Keep&& keep) {
    std::vector<Index> out;
    {
        Locked lock(mutex);
        if (tr.dimension() >= 1) {
            for (auto e = tr.finite_edges_begin(); e != tr.finite_edges_end(); ++e) {
                if (!keep(*e)) continue;
                const auto [a, b] = edge_ends(*e);
                out.push_back(std::min(a, b));
                out.push_back(std::max(a, b));
            }
        }
    }
    const auto rows = static_cast<py::ssize_t>(out.size() / 2);
    return as_array(std::move(out), {rows, 2});
}

// Voronoi regions per point (CSR: offsets, vertices) from the regions of
// the vertices: each point has the region of the vertex representing it.
inline void regions_by_point(const std::vector<Index>& rep, const std::vector<Index>& vertex_offsets,
                             const std::vector<Index>& vertex_regions, std::vector<Index>& offsets,
                             std::vector<Index>& regions) {
    offsets.assign(1, 0);
    for (const Index r : rep) {
        const auto v = static_cast<std::size_t>(r);
        regions.insert(regions.end(), vertex_regions.begin() + vertex_offsets[v],
                       vertex_regions.begin() + vertex_offsets[v + 1]);
        offsets.push_back(static_cast<Index>(regions.size()));
    }
}

// The points of a triangulation (input order, then the vertices it made
// itself), the vertex each one is represented by, and the lock.
template <int D>
class PointStore {
public:
    PointStore() = default;
    PointStore(const PointStore& other) : coords_(other.coords_), rep_(other.rep_) {}
    PointStore& operator=(const PointStore&) = delete;

    Index count() const { return static_cast<Index>(coords_.size() / D); }

    py::array_t<double> points() {
        std::vector<double> xyz;
        {
            Locked lock(mutex_);
            xyz = coords_;
        }
        const auto n = static_cast<py::ssize_t>(xyz.size() / D);
        return as_array(std::move(xyz), {n, D});
    }

    IndexArray duplicates() {
        std::vector<Index> rep;
        {
            Locked lock(mutex_);
            rep = rep_;
        }
        const auto n = static_cast<py::ssize_t>(rep.size());
        return as_array(std::move(rep), {n});
    }

protected:
    std::vector<double> coords_;  // every point, D coordinates each
    std::vector<Index> rep_;      // the vertex index each point is represented by
    std::mutex mutex_;
};

}  // namespace zenolith::triangulation
