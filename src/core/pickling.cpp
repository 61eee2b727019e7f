// How values travel: pickle (every protocol), copy.copy and copy.deepcopy.
//
// Nothing is added to the classes or to the module. A reducer per class is
// registered with copyreg, which pickle and copy consult before a class's own
// attributes. Each reducer names a public constructor of the module (or the
// module's `orientation`) and the arguments that rebuild the stored value bit
// for bit: the stored numbers themselves, never a derived or normalised form
// (a ray's second point, a line's point and vector, a direction's components,
// a circle's supporting plane, a transformation's own representation).
// Binary pickle protocols carry every double exactly; protocol 0 writes
// floats as text, which keeps signed zeros and infinities but not a NaN's
// sign or payload (Python's own float does the same there).
#include <pybind11/pybind11.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>

#include "shared/affine.hpp"
#include "core/conventions.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// The class and its constructor's arguments: what pickle calls on loading.
template <class T, class... Args>
py::tuple call(Args&&... args) {
    return py::make_tuple(py::type::of<T>(), py::make_tuple(std::forward<Args>(args)...));
}

template <class T>
void reduce_with(const py::object& register_reducer, py::tuple (*reducer)(const T&)) {
    register_reducer(py::type::of<T>(), py::cpp_function(reducer));
}

bool same_bits(std::initializer_list<std::pair<double, double>> pairs) {
    for (const auto& [a, b] : pairs) {
        std::uint64_t x, y;
        std::memcpy(&x, &a, sizeof x);
        std::memcpy(&y, &b, sizeof y);
        if (x != y) return false;
    }
    return true;
}

// ---- degenerate circles and spheres --------------------------------------
// Orientation 0 comes only from collinear (coplanar) defining points: no
// constructor takes it as a number. Such a circle's numbers are infinities
// and NaNs; a few point sets are tried, each through the very constructor
// that loading calls (which NaN an operation passes on depends on the
// compiled code), and a value none of them rebuilds bit for bit is refused
// rather than approximated.

template <class W, class... Points>
std::optional<py::tuple> rebuilt_by(const W& target, const Points&... points) {
    const py::tuple reduced = call<W>(points...);
    const py::object made = reduced[0](*reduced[1]);
    const auto& s = made.cast<const W&>().v;
    const auto& t = target.v;
    bool same = s.orientation() == t.orientation() &&
                same_bits({{s.squared_radius(), t.squared_radius()}});
    for (int i = 0; i < s.center().dimension(); ++i)
        same = same && same_bits({{s.center()[i], t.center()[i]}});
    return same ? std::optional<py::tuple>(reduced) : std::nullopt;
}

std::optional<py::tuple> degenerate_circle(const Circle2& c) {
    // One point three times, its NaNs with either sign: the formula's
    // negations flip a NaN's sign on the way to the center.
    const double x = c.v.center().x(), y = c.v.center().y();
    for (const Point2 p : {Point2{K::Point_2(x, y)}, Point2{K::Point_2(x, -y)},
                           Point2{K::Point_2(-x, y)}, Point2{K::Point_2(-x, -y)}})
        if (auto r = rebuilt_by(c, p, p, p)) return r;
    const Point2 o{K::Point_2(0.0, 0.0)};
    for (double a : {-1.0, 0.0, 1.0})
        for (double b : {-1.0, 0.0, 1.0})
            if (auto r = rebuilt_by(c, o, Point2{K::Point_2(a, b)}, Point2{K::Point_2(2 * a, 2 * b)}))
                return r;
    return std::nullopt;
}

std::optional<py::tuple> degenerate_sphere(const Sphere3& s) {
    const K::Point_3 c = s.v.center();
    for (double sx : {1.0, -1.0})
        for (double sy : {1.0, -1.0})
            for (double sz : {1.0, -1.0}) {
                const Point3 p{K::Point_3(sx < 0 ? -c.x() : c.x(), sy < 0 ? -c.y() : c.y(),
                                         sz < 0 ? -c.z() : c.z())};
                if (auto r = rebuilt_by(s, p, p, p, p)) return r;
            }
    // The origin and a parallelogram on two small integer vectors u, v.
    const double unit[] = {-1.0, 0.0, 1.0};
    const Point3 o{K::Point_3(0.0, 0.0, 0.0)};
    for (double ux : unit) for (double uy : unit) for (double uz : unit)
        for (double vx : unit) for (double vy : unit) for (double vz : unit) {
            const Point3 q{K::Point_3(ux, uy, uz)}, r{K::Point_3(vx, vy, vz)},
                w{K::Point_3(ux + vx, uy + vy, uz + vz)};
            if (auto found = rebuilt_by(s, o, q, r, w)) return found;
        }
    return std::nullopt;
}

[[noreturn]] void no_exact_rebuild(const std::string& what) {
    throw py::value_error("cannot pickle this " + what +
                          ": no constructor of the module rebuilds it exactly");
}

// A circle or sphere by center, squared radius and orientation, unless the
// orientation is 0.
template <class W, class PointW>
py::tuple by_center(const W& w, std::optional<py::tuple> (*degenerate)(const W&)) {
    const auto& s = w.v;
    if (s.orientation() != CGAL::ZERO)
        return call<W>(PointW{s.center()}, s.squared_radius(), sign_int(s.orientation()));
    if (auto r = degenerate(w)) return *r;
    no_exact_rebuild(py::type::of<W>().attr("__name__").template cast<std::string>() +
                     " of orientation 0");
}

// ---- one reducer per class ----------------------------------------------

py::tuple point2(const Point2& p) { return call<Point2>(p.v.x(), p.v.y()); }
py::tuple vector2(const Vector2& v) { return call<Vector2>(v.v.x(), v.v.y()); }
py::tuple bbox2(const Bbox2& b) {
    return call<Bbox2>(b.v.xmin(), b.v.ymin(), b.v.xmax(), b.v.ymax());
}
py::tuple direction2(const Direction2& d) { return call<Direction2>(d.v.dx(), d.v.dy()); }
py::tuple line2(const Line2& l) { return call<Line2>(l.v.a(), l.v.b(), l.v.c()); }
py::tuple segment2(const Segment2& s) {
    return call<Segment2>(Point2{s.v.source()}, Point2{s.v.target()});
}
py::tuple ray2(const Ray2& r) {
    return call<Ray2>(Point2{r.v.rep().source()}, Point2{r.v.rep().second_point()});
}
py::tuple triangle2(const Triangle2& t) {
    return call<Triangle2>(Point2{t.v.vertex(0)}, Point2{t.v.vertex(1)}, Point2{t.v.vertex(2)});
}
py::tuple circle2(const Circle2& c) { return by_center<Circle2, Point2>(c, degenerate_circle); }

// The two-point constructor sorts each coordinate with `<`, which swaps a
// stored pair such as (0.0, -0.0) or one holding a NaN; the four-point one
// takes every coordinate as given.
py::tuple iso_rectangle2(const IsoRectangle2& r) {
    const Point2 lo{r.v.min()}, hi{r.v.max()};
    if (lo.v.x() < hi.v.x() && lo.v.y() < hi.v.y()) return call<IsoRectangle2>(lo, hi);
    return call<IsoRectangle2>(lo, hi, lo, hi);
}
py::tuple weighted_point2(const WeightedPoint2& w) {
    return call<WeightedPoint2>(Point2{w.v.point()}, w.v.weight());
}

// Each representation through the constructor that makes it: the kernel's
// stored numbers are read back exactly by cartesian() for the four kinds
// other than a reflection, which is rebuilt from the line it was made from.
py::tuple aff_transformation2(const AffTransformation2& a) {
    const Transformation& t = a.v;
    if (t.is_translation())
        return call<AffTransformation2>(Vector2{K::Vector_2(t.cartesian(0, 2), t.cartesian(1, 2))});
    if (t.is_scaling()) return call<AffTransformation2>(t.cartesian(0, 0));
    if (t.is_rotation()) return call<AffTransformation2>(t.cartesian(1, 0), t.cartesian(0, 0));
    if (t.is_reflection()) {
        const K::Line_2* l = reflection_line(t);
        if (!l) no_exact_rebuild("AffTransformation2");
        return call<AffTransformation2>(Line2{*l});
    }
    return call<AffTransformation2>(t.cartesian(0, 0), t.cartesian(0, 1), t.cartesian(0, 2),
                                    t.cartesian(1, 0), t.cartesian(1, 1), t.cartesian(1, 2));
}

py::tuple bbox3(const Bbox3& b) {
    return call<Bbox3>(b.v.xmin(), b.v.ymin(), b.v.zmin(), b.v.xmax(), b.v.ymax(), b.v.zmax());
}
py::tuple point3(const Point3& p) { return call<Point3>(p.v.x(), p.v.y(), p.v.z()); }
py::tuple vector3(const Vector3& v) { return call<Vector3>(v.v.x(), v.v.y(), v.v.z()); }
py::tuple direction3(const Direction3& d) { return call<Direction3>(d.v.dx(), d.v.dy(), d.v.dz()); }
py::tuple plane3(const Plane3& h) { return call<Plane3>(h.v.a(), h.v.b(), h.v.c(), h.v.d()); }
// The stored point: the kernel's point() is computed, point + 0 * vector,
// which is NaN along an infinite vector.
py::tuple line3(const Line3& l) {
    return call<Line3>(Point3{l.v.rep().point()}, Vector3{l.v.rep().to_vector()});
}
py::tuple segment3(const Segment3& s) {
    return call<Segment3>(Point3{s.v.source()}, Point3{s.v.target()});
}
py::tuple ray3(const Ray3& r) {
    return call<Ray3>(Point3{r.v.rep().source()}, Point3{r.v.rep().second_point()});
}
py::tuple triangle3(const Triangle3& t) {
    return call<Triangle3>(Point3{t.v.vertex(0)}, Point3{t.v.vertex(1)}, Point3{t.v.vertex(2)});
}
py::tuple sphere3(const Sphere3& s) { return by_center<Sphere3, Point3>(s, degenerate_sphere); }
py::tuple tetrahedron3(const Tetrahedron3& t) {
    return call<Tetrahedron3>(Point3{t.v.vertex(0)}, Point3{t.v.vertex(1)}, Point3{t.v.vertex(2)},
                              Point3{t.v.vertex(3)});
}
// As for the rectangle: the six-point constructor keeps every coordinate.
py::tuple iso_cuboid3(const IsoCuboid3& c) {
    const Point3 lo{c.v.min()}, hi{c.v.max()};
    if (lo.v.x() < hi.v.x() && lo.v.y() < hi.v.y() && lo.v.z() < hi.v.z())
        return call<IsoCuboid3>(lo, hi);
    return call<IsoCuboid3>(lo, hi, lo, hi, lo, hi);
}
// Every circle the module makes holds a sphere of the default orientation
// around its center, so center, radius and plane rebuild it.
py::tuple circle3(const Circle3& c) {
    return call<Circle3>(Point3{c.v.center()}, c.v.squared_radius(), Plane3{c.v.supporting_plane()});
}

}  // namespace

void register_pickling(py::module_& m) {
    const py::object reducer = py::module_::import("copyreg").attr("pickle");
    reduce_with(reducer, &point2);
    reduce_with(reducer, &vector2);
    // No constructor: rebuilt by `orientation` on three points that give it.
    const py::object orientation = m.attr("orientation");
    reducer(py::type::of<OrientationResult>(),
            py::cpp_function([orientation](const OrientationResult& o) {
                const Point2 a{K::Point_2(0.0, 0.0)}, b{K::Point_2(1.0, 0.0)},
                    c{K::Point_2(0.0, static_cast<double>(o.value))};
                return py::make_tuple(orientation, py::make_tuple(a, b, c));
            }));
    reduce_with(reducer, &bbox2);
    reduce_with(reducer, &direction2);
    reduce_with(reducer, &line2);
    reduce_with(reducer, &segment2);
    reduce_with(reducer, &ray2);
    reduce_with(reducer, &triangle2);
    reduce_with(reducer, &circle2);
    reduce_with(reducer, &iso_rectangle2);
    reduce_with(reducer, &weighted_point2);
    reduce_with(reducer, &aff_transformation2);

    reduce_with(reducer, &bbox3);
    reduce_with(reducer, &point3);
    reduce_with(reducer, &vector3);
    reduce_with(reducer, &direction3);
    reduce_with(reducer, &plane3);
    reduce_with(reducer, &line3);
    reduce_with(reducer, &segment3);
    reduce_with(reducer, &ray3);
    reduce_with(reducer, &triangle3);
    reduce_with(reducer, &sphere3);
    reduce_with(reducer, &tetrahedron3);
    reduce_with(reducer, &iso_cuboid3);
    reduce_with(reducer, &circle3);
}

}  // namespace zenolith
