// zenolith._native's intersections and distances: one table per operation,
// filled by the family's translation units, looked up by the classes of the
// arguments.
#include <memory>

#include "pair_table.hpp"
#include "registrations.hpp"

namespace zenolith::companion {

void register_intersections(py::module_& m) {
    auto tables = std::make_shared<PairTables>();
    add_planar_intersections(*tables);
    add_spatial_intersections(*tables);
    add_solid_intersections(*tables);
    add_distances(*tables);
    add_distance_rows(*tables);

    const std::shared_ptr<const PairTables> t = tables;
    m.def("do_intersect", [t](py::handle a, py::handle b) { return t->do_intersect(a, b); },
          py::arg("a"), py::arg("b"));
    m.def("intersection", [t](py::handle a, py::handle b) { return t->intersection(a, b); },
          py::arg("a"), py::arg("b"));
    m.def("squared_distance",
          [t](py::handle a, py::handle b) { return t->squared_distance(a, b); }, py::arg("a"),
          py::arg("b"));
    m.def("do_intersect_rows",
          [t](py::handle obj, py::handle p) { return t->do_intersect_rows(obj, p); },
          py::arg("obj"), py::arg("points"));
    m.def("squared_distance_rows",
          [t](py::handle obj, py::handle p) { return t->squared_distance_rows(obj, p); },
          py::arg("obj"), py::arg("points"));
    m.def("closest_point_rows",
          [t](py::handle obj, py::handle p) { return t->closest_point_rows(obj, p); },
          py::arg("obj"), py::arg("points"));
    // What the tables hold, for the documentation's pair table and its test.
    m.def("supported", [t]() {
        py::dict d;
        d["do_intersect"] = t->do_intersect.pairs();
        d["intersection"] = t->intersection.pairs();
        d["squared_distance"] = t->squared_distance.pairs();
        d["do_intersect_rows"] = t->do_intersect_rows.classes();
        d["squared_distance_rows"] = t->squared_distance_rows.classes();
        d["closest_point_rows"] = t->closest_point_rows.classes();
        return d;
    });
}

}  // namespace zenolith::companion
