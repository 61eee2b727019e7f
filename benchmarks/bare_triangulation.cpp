// The floor for bench_triangulation.py: the library calls that
// zenolith_algorithms._triangulation makes to build a Delaunay triangulation
// and read its simplices and neighbours, from a plain C++ program, with no
// Python around them.
//
//   bare_triangulation DIM FILE REPEAT
//
// FILE holds N x DIM float64 values (numpy's tofile). Each of REPEAT runs
// copies them into library points, orders them spatially, inserts them one
// by one with the previous vertex's simplex as the hint, then numbers the
// finite simplices and writes their vertices and neighbours into vectors.
// Prints the fastest run's wall-clock and CPU seconds and the number of
// finite simplices: "wall cpu simplices".
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_triangulation_3.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Spatial_sort_traits_adapter_2.h>
#include <CGAL/Spatial_sort_traits_adapter_3.h>
#include <CGAL/Triangulation_cell_base_with_info_3.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_3.h>
#include <CGAL/property_map.h>
#include <CGAL/spatial_sort.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <limits>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Index = std::int64_t;

struct Slot {
    Index value = -1;
};

using Dt2 = CGAL::Delaunay_triangulation_2<
    K, CGAL::Triangulation_data_structure_2<CGAL::Triangulation_vertex_base_with_info_2<Slot, K>,
                                            CGAL::Triangulation_face_base_with_info_2<Slot, K>>>;
using Dt3 = CGAL::Delaunay_triangulation_3<
    K, CGAL::Triangulation_data_structure_3<
           CGAL::Triangulation_vertex_base_with_info_3<Slot, K>,
           CGAL::Triangulation_cell_base_with_info_3<Slot, K, CGAL::Delaunay_triangulation_cell_base_3<K>>>>;

// What one run leaves behind: the triangulation (freed after the clock
// stops, as the Python side keeps its object past the timing) and the
// arrays, so that the compiler cannot drop the work.
struct Result {
    std::unique_ptr<Dt2> tr2;
    std::unique_ptr<Dt3> tr3;
    std::vector<Index> simplices, neighbors;
};

template <int D>
using Point = std::conditional_t<D == 2, K::Point_2, K::Point_3>;

template <int D>
std::vector<Point<D>> make_points(const std::vector<double>& xyz) {
    const std::size_t n = xyz.size() / D;
    std::vector<Point<D>> points;
    points.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if constexpr (D == 2) {
            points.emplace_back(xyz[2 * i], xyz[2 * i + 1]);
        } else {
            points.emplace_back(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]);
        }
    }
    return points;
}

template <int D>
std::vector<std::size_t> spatial_order(const std::vector<Point<D>>& points) {
    std::vector<std::size_t> order(points.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    using Map = typename CGAL::Pointer_property_map<Point<D>>::const_type;
    using Adapter = std::conditional_t<D == 2, CGAL::Spatial_sort_traits_adapter_2<K, Map>,
                                       CGAL::Spatial_sort_traits_adapter_3<K, Map>>;
    CGAL::spatial_sort(order.begin(), order.end(), Adapter(CGAL::make_property_map(points)));
    return order;
}

Result run2(const std::vector<double>& xyz) {
    const auto points = make_points<2>(xyz);
    Result out;
    out.tr2 = std::make_unique<Dt2>();
    Dt2& tr = *out.tr2;
    Dt2::Face_handle hint;
    for (std::size_t k : spatial_order<2>(points)) {
        const Dt2::Vertex_handle v = tr.insert(points[k], hint);
        v->info().value = static_cast<Index>(k);
        hint = v->face();
    }
    Index m = 0;
    for (auto f = tr.all_faces_begin(); f != tr.all_faces_end(); ++f) {
        f->info().value = tr.is_infinite(f) ? -1 : m++;
    }
    out.simplices.resize(static_cast<std::size_t>(3 * m));
    out.neighbors.resize(static_cast<std::size_t>(3 * m));
    for (auto f = tr.finite_faces_begin(); f != tr.finite_faces_end(); ++f) {
        const auto at = static_cast<std::size_t>(3 * f->info().value);
        for (int i = 0; i < 3; ++i) {
            out.simplices[at + i] = f->vertex(i)->info().value;
            out.neighbors[at + i] = f->neighbor(i)->info().value;
        }
    }
    return out;
}

Result run3(const std::vector<double>& xyz) {
    const auto points = make_points<3>(xyz);
    Result out;
    out.tr3 = std::make_unique<Dt3>();
    Dt3& tr = *out.tr3;
    Dt3::Cell_handle hint;
    for (std::size_t k : spatial_order<3>(points)) {
        const Dt3::Vertex_handle v = tr.insert(points[k], hint);
        v->info().value = static_cast<Index>(k);
        hint = v->cell();
    }
    Index m = 0;
    for (auto c = tr.all_cells_begin(); c != tr.all_cells_end(); ++c) {
        c->info().value = tr.is_infinite(c) ? -1 : m++;
    }
    out.simplices.resize(static_cast<std::size_t>(4 * m));
    out.neighbors.resize(static_cast<std::size_t>(4 * m));
    for (auto c = tr.finite_cells_begin(); c != tr.finite_cells_end(); ++c) {
        const auto at = static_cast<std::size_t>(4 * c->info().value);
        for (int i = 0; i < 4; ++i) {
            out.simplices[at + i] = c->vertex(i)->info().value;
            out.neighbors[at + i] = c->neighbor(i)->info().value;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DIM FILE REPEAT\n", argv[0]);
        return 2;
    }
    const int dim = std::atoi(argv[1]);
    const int repeat = std::max(1, std::atoi(argv[3]));
    if (dim != 2 && dim != 3) {
        std::fprintf(stderr, "DIM must be 2 or 3\n");
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary | std::ios::ate);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    const auto bytes = static_cast<std::size_t>(in.tellg());
    if (bytes % (sizeof(double) * dim) != 0) {
        std::fprintf(stderr, "%s: %zu bytes is not a whole number of %d-dimensional points\n", argv[2], bytes, dim);
        return 1;
    }
    std::vector<double> xyz(bytes / sizeof(double));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(xyz.data()), static_cast<std::streamsize>(bytes));
    if (!in) {
        std::fprintf(stderr, "%s: short read\n", argv[2]);
        return 1;
    }

    double wall = std::numeric_limits<double>::infinity(), cpu = wall;
    std::size_t simplices = 0;
    for (int r = 0; r < repeat; ++r) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t start_cpu = std::clock();
        Result out = dim == 2 ? run2(xyz) : run3(xyz);
        const std::clock_t end_cpu = std::clock();
        const auto end = std::chrono::steady_clock::now();
        wall = std::min(wall, std::chrono::duration<double>(end - start).count());
        cpu = std::min(cpu, static_cast<double>(end_cpu - start_cpu) / CLOCKS_PER_SEC);
        simplices = out.simplices.size() / static_cast<std::size_t>(dim + 1);
    }
    std::printf("%.6f %.6f %zu\n", wall, cpu, simplices);
    return 0;
}
