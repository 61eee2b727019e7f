#include <CGAL/Intersections_3/Plane_3_Plane_3_Plane_3.h>
#include <CGAL/Intersections_3/Plane_3_Sphere_3.h>
#include <CGAL/Intersections_3/Sphere_3_Sphere_3.h>
#include <CGAL/version.h>

#include <stdexcept>

#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// One alternative of an intersection result, or null: the result is a
// boost::variant in older kernels and a std::variant in newer ones.
template <class T, class Variant>
const T* alternative(const Variant& v) {
#if CGAL_VERSION_NR >= 1060000000  // 6.0 and newer
    return std::get_if<T>(&v);
#else
    return boost::get<T>(&v);
#endif
}

// A single point of contact: radius 0, supporting plane x = P.x.
K::Circle_3 degenerate_at(const K::Point_3& p) {
    return K::Circle_3(p, 0.0, K::Vector_3(1.0, 0.0, 0.0));
}

// The kernel's circle constructors assume that the intersection they read
// exists and is a circle or a point; here every result is tested first and
// the cases without a circle raise ValueError.

K::Circle_3 through(const K::Point_3& p, const K::Point_3& q, const K::Point_3& r) {
    if (CGAL::collinear(p, q, r)) throw std::invalid_argument("the points are collinear");
    const K::Plane_3 plane(p, q, r);
    const auto center = CGAL::intersection(plane, K::Plane_3(CGAL::bisector(p, q)),
                                           K::Plane_3(CGAL::bisector(p, r)));
    const K::Point_3* c = center ? alternative<K::Point_3>(*center) : nullptr;
    if (!c) throw std::invalid_argument("the points are collinear");
    return K::Circle_3(*c, CGAL::squared_distance(*c, r), plane);
}

K::Circle_3 cut(const K::Plane_3& h, const K::Sphere_3& s, const char* none) {
    const auto meet = CGAL::intersection(h, s);
    if (meet) {
        if (const K::Circle_3* c = alternative<K::Circle_3>(*meet)) return *c;
        if (const K::Point_3* p = alternative<K::Point_3>(*meet)) return degenerate_at(*p);
    }
    throw std::invalid_argument(none);
}

K::Circle_3 meet(const K::Sphere_3& s1, const K::Sphere_3& s2) {
    const auto meet = CGAL::intersection(s1, s2);
    if (meet) {
        if (const K::Circle_3* c = alternative<K::Circle_3>(*meet)) return *c;
        if (const K::Point_3* p = alternative<K::Point_3>(*meet)) return degenerate_at(*p);
        // The same sphere twice: a whole sphere, not a circle.
        throw std::invalid_argument("the spheres coincide");
    }
    throw std::invalid_argument("the spheres do not intersect");
}

constexpr const char* plane_misses = "the plane does not intersect the sphere";

}  // namespace

// Every circle the module makes holds a sphere of the default orientation
// around its center, so center, radius and plane rebuild it.
template <>
py::tuple reduce(const Circle3& c) {
    return call<Circle3>(Point3{c.v.center()}, c.v.squared_radius(), Plane3{c.v.supporting_plane()});
}

template <>
void register_class(py::class_<Circle3> cls) {
    cls.def(py::init([](const Point3& center, double sq_r, const Plane3& plane) {
                return Circle3{K::Circle_3(center.v, sq_r, plane.v)};
            }),
            py::arg("center"), py::arg("sq_r"), py::arg("plane"))
        .def(py::init([](const Point3& center, double sq_r, const Vector3& n) {
                 return Circle3{K::Circle_3(center.v, sq_r, n.v)};
             }),
             py::arg("center"), py::arg("sq_r"), py::arg("n"))
        .def(py::init([](const Point3& p, const Point3& q, const Point3& r) {
                 return Circle3{through(p.v, q.v, r.v)};
             }),
             py::arg("p"), py::arg("q"), py::arg("r"))
        .def(py::init([](const Sphere3& s1, const Sphere3& s2) { return Circle3{meet(s1.v, s2.v)}; }),
             py::arg("s1"), py::arg("s2"))
        .def(py::init([](const Sphere3& s, const Plane3& plane) {
                 return Circle3{cut(plane.v, s.v, plane_misses)};
             }),
             py::arg("s"), py::arg("plane"))
        .def(py::init([](const Plane3& plane, const Sphere3& s) {
                 return Circle3{cut(plane.v, s.v, plane_misses)};
             }),
             py::arg("plane"), py::arg("s"))
        .def("center", [](const Circle3& c) { return Point3{c.v.center()}; })
        .def("squared_radius", [](const Circle3& c) { return c.v.squared_radius(); })
        .def("supporting_plane", [](const Circle3& c) { return Plane3{c.v.supporting_plane()}; })
        .def("diametral_sphere", [](const Circle3& c) { return Sphere3{c.v.diametral_sphere()}; })
        .def("area_divided_by_pi", [](const Circle3& c) { return c.v.area_divided_by_pi(); })
        .def("approximate_area", [](const Circle3& c) { return c.v.approximate_area(); })
        .def("squared_length_divided_by_pi_square",
             [](const Circle3& c) { return c.v.squared_length_divided_by_pi_square(); })
        .def("approximate_squared_length",
             [](const Circle3& c) { return c.v.approximate_squared_length(); })
        .def(
            "has_on", [](const Circle3& c, const Point3& p) { return c.v.has_on(p.v); },
            py::arg("p"))
        .def("bbox", [](const Circle3& c) { return Bbox3{c.v.bbox()}; });
    // Same center and radius; supporting planes equal up to a factor of
    // either sign.
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const Circle3& c) {
        return "Circle3(center=" + point_text(c.v.center()) +
               ", squared_radius=" + number_text(c.v.squared_radius()) + ")";
    });
}

}  // namespace zenolith
