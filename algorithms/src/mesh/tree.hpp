// The family's AABB tree: the library's tree over the mesh's triangles in
// the kernel with exact predicates (hits, misses and intersection tests
// decided exactly; hit points and distances constructed in doubles).
#pragma once

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/version.h>

#if CGAL_VERSION_NR >= 1060000000  // 6.0 renamed the spatial tree parts
#include <CGAL/AABB_traits_3.h>
#include <CGAL/AABB_tree.h>
#include <CGAL/AABB_triangle_primitive_3.h>
#else
#include <CGAL/AABB_traits.h>
#include <CGAL/AABB_tree.h>
#include <CGAL/AABB_triangle_primitive.h>
#endif

#include <algorithm>
#include <cfloat>
#include <vector>

#include "mesh/mesh.hpp"

namespace zenolith::mesh {

using Epick = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point = Epick::Point_3;
using Vector = Epick::Vector_3;
using Triangle = Epick::Triangle_3;
using TriangleIterator = std::vector<Triangle>::const_iterator;

#if CGAL_VERSION_NR >= 1060000000
using Primitive = CGAL::AABB_triangle_primitive_3<Epick, TriangleIterator>;
using BaseTraits = CGAL::AABB_traits_3<Epick, Primitive>;
template <class T>
using Optional = std::optional<T>;
#else
using Primitive = CGAL::AABB_triangle_primitive<Epick, TriangleIterator>;
using BaseTraits = CGAL::AABB_traits<Epick, Primitive>;
template <class T>
using Optional = boost::optional<T>;
#endif

// Where a ray meets a triangle it is known to meet, in long double (whose
// exponent range holds every product of three doubles, so that huge and
// tiny coordinates neither overflow nor underflow), clamped into the
// triangle's bounding box.
Point ray_hit_point(const Epick::Ray_3& ray, const Triangle& t);

// The library's traits, except for two functors of ray queries. (Closest
// points do not use the library's search, whose functors construct in
// doubles and feed the results to exact predicates too: queries.cpp has a
// search of its own over the tree.)
//
// The intersection of a ray and a face: the library's construction of it
// feeds points it constructed in doubles (infinite when coordinates are
// huge) to exact predicates, which ends the process. Here the hit is
// decided by the exact predicate alone and its point constructed safely.
//
// The entry distance of a ray into a box, which orders and prunes the boxes
// of a first-hit search: the library's slab test rejects a box when the
// rounded entry exceeds the rounded exit, which rounding can make happen
// for a ray that grazes the box exactly (through a vertex or an edge lying
// on a box's face): the face there is then never tested and the ray
// misses. Here each parameter, (bound - source) / direction, has a relative
// error below 2^-52, so a box is rejected only when the entry exceeds the
// exit by more than that (plus an absolute 2^-1000 for underflow).
struct Traits : BaseTraits {
    struct Intersection {
        template <class Query>
        Optional<typename BaseTraits::template Intersection_and_primitive_id<Query>::Type> operator()(
            const Query& ray, const Primitive& primitive) const {
            const Triangle& t = *primitive.id();
            if (!CGAL::do_intersect(ray, t)) return {};
            using Found = typename BaseTraits::template Intersection_and_primitive_id<Query>::Type;
            return Found(typename Found::first_type(ray_hit_point(ray, t)), primitive.id());
        }
    };
    Intersection intersection_object() const { return {}; }

    struct Intersection_distance {
        Optional<double> operator()(const Epick::Ray_3& ray, const CGAL::Bbox_3& box) const {
            double near = -DBL_MAX, far = DBL_MAX;
            const Point s = ray.source();
            const Vector d = ray.to_vector();
            for (int i = 0; i < 3; ++i) {
                if (d[i] == 0) {
                    if (s[i] < box.min(i) || s[i] > box.max(i)) return {};
                    continue;
                }
                const double t1 = (box.min(i) - s[i]) / d[i];
                const double t2 = (box.max(i) - s[i]) / d[i];
                near = std::max(near, std::min(t1, t2));
                far = std::min(far, std::max(t1, t2));
            }
            const double slack = std::abs(far) * 0x1p-50 + 0x1p-1000;
            if (far < 0 || near > far + slack) return {};
            return near < 0 ? 0.0 : near;
        }
    };
    Intersection_distance intersection_distance_object() const { return {}; }
};

// The tree holds the faces with an area: a face with collinear corners is a
// segment, which the library's triangle tests do not take (they end in an
// error, or constructions from nothing); its points lie on the edges of its
// neighbours in any mesh that is a surface.
struct Tree {
    std::vector<Triangle> triangles;
    std::vector<Index> faces;  // the mesh's face of each triangle
    CGAL::AABB_tree<Traits> tree;

    explicit Tree(const Mesh& mesh);
    Index face(TriangleIterator it) const { return faces[static_cast<std::size_t>(it - triangles.begin())]; }
};

}  // namespace zenolith::mesh
