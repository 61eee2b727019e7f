// The floor for bench_mesh.py: the library calls that
// zenolith_algorithms.mesh makes to build a triangle mesh's AABB tree and
// answer first-hit rays and closest points, from a plain C++ program on one
// thread, with no Python around them.
//
//   bare_mesh VERTICES FACES RAYS POINTS REPEAT RAY_REPEAT
//
// The files hold numpy's tofile output: VERTICES V x 3 float64, FACES F x 3
// int64, RAYS N x 6 float64 (origin, then direction), POINTS M x 3 float64.
// Times, separately, the best of REPEAT runs (RAY_REPEAT for the rays):
//   build   the triangles from the vertices and faces (indices checked), the
//           tree over them, and its search tree for distance queries;
//   rays    tree.first_intersection for every ray, writing hit, distance,
//           face and point into vectors;
//   points  tree.closest_point_and_primitive for every point, writing point,
//           face and squared distance into vectors.
// Prints the fastest run of each, wall-clock and CPU seconds, then the number
// of rays that hit and the sum of the squared distances (for comparison):
// "build_wall build_cpu rays_wall rays_cpu points_wall points_cpu hits sum".
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/version.h>
#if CGAL_VERSION_NR >= 1060000000
#include <CGAL/AABB_traits_3.h>
#include <CGAL/AABB_triangle_primitive_3.h>
#else
#include <CGAL/AABB_traits.h>
#include <CGAL/AABB_triangle_primitive.h>
#endif
#include <CGAL/AABB_tree.h>

#include <boost/variant.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <limits>
#include <memory>
#include <variant>
#include <vector>

namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Triangles = std::vector<K::Triangle_3>;
#if CGAL_VERSION_NR >= 1060000000
using Primitive = CGAL::AABB_triangle_primitive_3<K, Triangles::const_iterator>;
using Traits = CGAL::AABB_traits_3<K, Primitive>;
#else
using Primitive = CGAL::AABB_triangle_primitive<K, Triangles::const_iterator>;
using Traits = CGAL::AABB_traits<K, Primitive>;
#endif
using Tree = CGAL::AABB_tree<Traits>;
using Index = std::int64_t;

// The tree refers to the triangles by iterator, so both live and die together.
struct Mesh {
    Triangles triangles;
    std::unique_ptr<Tree> tree;
};

struct Hits {
    std::vector<unsigned char> hit;
    std::vector<double> distance, point;
    std::vector<Index> face;
};

struct Closest {
    std::vector<double> point, squared;
    std::vector<Index> face;
};

// A ray meets a triangle in a point, or in a segment when it runs in the
// triangle's plane; the first hit is then the segment's end nearer the source.
// The library's 5.x answers in a boost::variant, its 6.x in a std::variant.
template <class... T>
K::Point_3 first_point(const K::Ray_3& ray, const boost::variant<T...>& what) {
    if (const auto* p = boost::get<K::Point_3>(&what)) return *p;
    const auto& s = boost::get<K::Segment_3>(what);
    return CGAL::has_smaller_distance_to_point(ray.source(), s.target(), s.source()) ? s.target() : s.source();
}

template <class... T>
K::Point_3 first_point(const K::Ray_3& ray, const std::variant<T...>& what) {
    if (const auto* p = std::get_if<K::Point_3>(&what)) return *p;
    const auto& s = std::get<K::Segment_3>(what);
    return CGAL::has_smaller_distance_to_point(ray.source(), s.target(), s.source()) ? s.target() : s.source();
}

Mesh build(const std::vector<double>& xyz, const std::vector<Index>& faces) {
    const auto nv = static_cast<Index>(xyz.size() / 3);
    Mesh out;
    out.triangles.reserve(faces.size() / 3);
    auto vertex = [&](Index i) {
        if (i < 0 || i >= nv) {
            std::fprintf(stderr, "face index %lld outside 0..%lld\n", static_cast<long long>(i),
                         static_cast<long long>(nv - 1));
            std::exit(1);
        }
        const auto at = static_cast<std::size_t>(3 * i);
        return K::Point_3(xyz[at], xyz[at + 1], xyz[at + 2]);
    };
    for (std::size_t f = 0; f < faces.size(); f += 3) {
        out.triangles.emplace_back(vertex(faces[f]), vertex(faces[f + 1]), vertex(faces[f + 2]));
    }
    out.tree = std::make_unique<Tree>(out.triangles.cbegin(), out.triangles.cend());
    out.tree->build();
    // as in zenolith, the closest-point search structure is left to the
    // first closest-point query
    return out;
}

Hits first_hits(const Mesh& mesh, const std::vector<double>& rays) {
    const std::size_t n = rays.size() / 6;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Hits out;
    out.hit.assign(n, 0);
    out.distance.assign(n, std::numeric_limits<double>::infinity());
    out.point.assign(3 * n, nan);
    out.face.assign(n, -1);
    for (std::size_t i = 0; i < n; ++i) {
        const double* r = &rays[6 * i];
        const K::Point_3 origin(r[0], r[1], r[2]);
        const K::Ray_3 ray(origin, K::Vector_3(r[3], r[4], r[5]));
        const auto found = mesh.tree->first_intersection(ray);
        if (!found) continue;
        const K::Point_3 p = first_point(ray, found->first);
        out.hit[i] = 1;
        out.distance[i] = std::sqrt(CGAL::squared_distance(origin, p));
        out.face[i] = static_cast<Index>(found->second - mesh.triangles.cbegin());
        out.point[3 * i] = p.x();
        out.point[3 * i + 1] = p.y();
        out.point[3 * i + 2] = p.z();
    }
    return out;
}

Closest closest_points(const Mesh& mesh, const std::vector<double>& xyz) {
    const std::size_t n = xyz.size() / 3;
    Closest out;
    out.point.resize(3 * n);
    out.squared.resize(n);
    out.face.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const K::Point_3 q(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]);
        const auto [p, id] = mesh.tree->closest_point_and_primitive(q);
        out.point[3 * i] = p.x();
        out.point[3 * i + 1] = p.y();
        out.point[3 * i + 2] = p.z();
        out.face[i] = static_cast<Index>(id - mesh.triangles.cbegin());
        out.squared[i] = CGAL::squared_distance(q, p);
    }
    return out;
}

// The whole file as values of T, in rows of `width`; exits with a message
// when it cannot be read or does not split into whole rows.
template <class T>
std::vector<T> read_rows(const char* path, std::size_t width) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path);
        std::exit(1);
    }
    const auto bytes = static_cast<std::size_t>(in.tellg());
    if (bytes % (sizeof(T) * width) != 0) {
        std::fprintf(stderr, "%s: %zu bytes is not a whole number of rows of %zu values\n", path, bytes, width);
        std::exit(1);
    }
    std::vector<T> values(bytes / sizeof(T));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(values.data()), static_cast<std::streamsize>(bytes));
    if (!in) {
        std::fprintf(stderr, "%s: short read\n", path);
        std::exit(1);
    }
    return values;
}

// Best wall-clock and CPU seconds of `repeat` calls of `run`; the last
// result is kept in `keep`, and each earlier one is freed only after the
// next run's clock has stopped, as the Python side keeps its results.
template <class Result, class Run>
void best_of(int repeat, Run run, Result& keep, double& wall, double& cpu) {
    wall = cpu = std::numeric_limits<double>::infinity();
    for (int r = 0; r < repeat; ++r) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t start_cpu = std::clock();
        Result out = run();
        const std::clock_t end_cpu = std::clock();
        const auto end = std::chrono::steady_clock::now();
        wall = std::min(wall, std::chrono::duration<double>(end - start).count());
        cpu = std::min(cpu, static_cast<double>(end_cpu - start_cpu) / CLOCKS_PER_SEC);
        keep = std::move(out);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s VERTICES FACES RAYS POINTS REPEAT RAY_REPEAT\n", argv[0]);
        return 2;
    }
    const auto xyz = read_rows<double>(argv[1], 3);
    const auto faces = read_rows<Index>(argv[2], 3);
    const auto rays = read_rows<double>(argv[3], 6);
    const auto points = read_rows<double>(argv[4], 3);
    const int repeat = std::max(1, std::atoi(argv[5]));
    const int ray_repeat = std::max(1, std::atoi(argv[6]));
    if (faces.empty()) {
        std::fprintf(stderr, "%s: no faces\n", argv[2]);
        return 1;
    }

    double times[6];
    Mesh mesh;
    best_of(repeat, [&] { return build(xyz, faces); }, mesh, times[0], times[1]);
    Hits hits;
    best_of(ray_repeat, [&] { return first_hits(mesh, rays); }, hits, times[2], times[3]);
    Closest closest;
    best_of(repeat, [&] { return closest_points(mesh, points); }, closest, times[4], times[5]);

    std::size_t hit_count = 0;
    for (unsigned char h : hits.hit) hit_count += h;
    double sum = 0.0;
    for (double s : closest.squared) sum += s;
    std::printf("%.6f %.6f %.6f %.6f %.6f %.6f %zu %.17g\n", times[0], times[1], times[2], times[3], times[4],
                times[5], hit_count, sum);
    return 0;
}
