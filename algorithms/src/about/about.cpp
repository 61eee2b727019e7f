// What this distribution was built against. Reads only the geometry
// library's version header, so it compiles in seconds.
#include <pybind11/pybind11.h>

#include <CGAL/version.h>

PYBIND11_MODULE(_about, m) {
    m.doc() = "Build facts of zenolith_algorithms (use zenolith_algorithms instead).";
    m.def("library_version", []() { return CGAL_VERSION_STR; },
          "The version of the geometry library (CGAL) the algorithm families were compiled "
          "against, such as '5.5.1'.");
}
