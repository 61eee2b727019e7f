// zenolith_algorithms._polygons: convex hulls, polygon predicates and
// Boolean operations behind zenolith_algorithms.polygons, which documents
// them.
#include "polygons/registrations.hpp"

PYBIND11_MODULE(_polygons, m) {
    m.doc() = "Native hulls and polygons (use zenolith_algorithms.polygons instead).";
    zenolith::polygons::register_hulls(m);
    zenolith::polygons::register_polygon(m);
    zenolith::polygons::register_booleans(m);
    zenolith::polygons::register_minkowski(m);
}
