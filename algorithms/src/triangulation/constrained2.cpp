// The planar constrained Delaunay triangulation, the domain its constraints
// enclose, and its refinement into a quality mesh.
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_mesh_size_criteria_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <deque>
#include <memory>

#include "triangulation/planar.hpp"
#include "triangulation/registrations.hpp"

namespace zenolith::triangulation {
namespace {

using Vb = CGAL::Triangulation_vertex_base_with_info_2<Slot, Epick>;
using Fb = CGAL::Delaunay_mesh_face_base_2<
    Epick, CGAL::Constrained_triangulation_face_base_2<Epick, CGAL::Triangulation_face_base_with_info_2<Slot, Epick>>>;
// Exact_predicates_tag: constraints may cross; the library then inserts
// their crossing point (rounded to doubles) as a new vertex.
using Cdt = CGAL::Constrained_Delaunay_triangulation_2<Epick, CGAL::Triangulation_data_structure_2<Vb, Fb>,
                                                       CGAL::Exact_predicates_tag>;
using Criteria = CGAL::Delaunay_mesh_size_criteria_2<Cdt>;

class Constrained2 : public Planar<Cdt> {
public:
    // segments: an (S, 2) int64 array of point indices, checked here too.
    Constrained2(py::handle points, const py::array_t<Index, py::array::c_style | py::array::forcecast>& segments) {
        insert(points, true);
        constrain(segments);
    }

    Constrained2(const Constrained2& other) : Planar<Cdt>(other) {}

    // Adds constraints between existing points.
    void constrain(const py::array_t<Index, py::array::c_style | py::array::forcecast>& segments) {
        if (segments.ndim() != 2 || segments.shape(1) != 2) {
            throw py::value_error("segments: expected an (S, 2) array of point indices, got an array of shape " +
                                  companion::detail::shape_text(segments));
        }
        const Index* ends = segments.data();
        const py::ssize_t s = segments.shape(0);
        Locked lock(mutex_);
        for (py::ssize_t k = 0; k < 2 * s; ++k) {
            if (ends[k] < 0 || ends[k] >= count()) {
                throw py::value_error("segments[" + std::to_string(k / 2) + "]: index " + std::to_string(ends[k]) +
                                      " is out of range for " + std::to_string(count()) + " points");
            }
        }
        for (py::ssize_t k = 0; k < s; ++k) {
            const Vertex_handle a = vertex_of_[static_cast<std::size_t>(ends[2 * k])];
            const Vertex_handle b = vertex_of_[static_cast<std::size_t>(ends[2 * k + 1])];
            if (a != b) tr_.insert_constraint(a, b);  // a segment between equal points is a point
        }
        adopt_new_vertices();
    }

    // The constrained edges, as (smaller index, larger index).
    IndexArray constrained_edges() {
        return edge_array(tr_, mutex_, [&](const Cdt::Edge& e) { return tr_.is_constrained(e); });
    }

    // (is_constrained (M, 3): the edge opposite each vertex of each simplex
    // is a constraint; levels (M,): how many constraints separate each
    // simplex from the unbounded side).
    py::tuple domain() {
        std::vector<std::uint8_t> constrained;
        std::vector<Index> levels;
        py::ssize_t m = 0;
        {
            Locked lock(mutex_);
            number();
            m = cells_;
            if (tr_.dimension() == 2) {
                constrained.resize(static_cast<std::size_t>(3 * m));
                for (auto f = tr_.finite_faces_begin(); f != tr_.finite_faces_end(); ++f) {
                    for (int i = 0; i < 3; ++i) {
                        constrained[static_cast<std::size_t>(3 * f->info().value + i)] = f->is_constrained(i);
                    }
                }
                const std::vector<int> level = nesting_levels();
                levels.assign(level.begin(), level.begin() + m);
            }
        }
        return py::make_tuple(as_array(std::move(constrained), {m, 3}).attr("view")("bool"),
                              as_array(std::move(levels), {m}));
    }

    // Which triangles a refinement meshes: those inside the constraints by
    // the even-odd rule, every one a constraint separates from the unbounded
    // side, or the whole convex hull (its edges become constraints).
    enum Domain { inside = 0, enclosed = 1, convex_hull = 2 };

    // A copy refined into a quality mesh of the domain: no triangle there
    // with the squared sine of an angle below `shape_bound`, nor an edge
    // longer than `max_edge` (0: no bound). Interrupted by Ctrl-C.
    std::unique_ptr<Constrained2> refined(double shape_bound, double max_edge, int domain, std::size_t max_points) {
        if (domain < inside || domain > convex_hull) throw py::value_error("domain: expected 0, 1 or 2");
        std::unique_ptr<Constrained2> out;
        {
            Locked lock(mutex_);
            out = std::make_unique<Constrained2>(*this);
        }
        py::gil_scoped_release nogil;
        out->refine(shape_bound, max_edge, domain, max_points);
        return out;
    }

private:
    // Nesting level of every numbered face (infinite ones included): the
    // number of constraints crossed on the way from the unbounded face.
    std::vector<int> nesting_levels() const {
        std::vector<int> level(static_cast<std::size_t>(faces_), -1);
        std::deque<std::pair<Face_handle, int>> todo{{tr_.infinite_face(), 0}};
        // breadth-first within a level, the next level once it is done
        std::deque<std::pair<Face_handle, int>> later;
        while (!todo.empty() || !later.empty()) {
            if (todo.empty()) std::swap(todo, later);
            const auto [f, l] = todo.front();
            todo.pop_front();
            int& mine = level[static_cast<std::size_t>(f->info().value)];
            if (mine >= 0) continue;
            mine = l;
            for (int i = 0; i < 3; ++i) {
                const Face_handle g = f->neighbor(i);
                if (level[static_cast<std::size_t>(g->info().value)] >= 0) continue;
                (f->is_constrained(i) ? later : todo).push_back({g, f->is_constrained(i) ? l + 1 : l});
            }
        }
        return level;
    }

    // Without the GIL, on an object no other thread knows yet.
    void refine(double shape_bound, double max_edge, int domain, std::size_t max_points) {
        if (tr_.dimension() < 2) return;
        if (domain == convex_hull) {
            std::vector<std::pair<Vertex_handle, Vertex_handle>> hull;
            auto f = tr_.incident_faces(tr_.infinite_vertex()), done = f;
            do {
                const int i = f->index(tr_.infinite_vertex());
                hull.emplace_back(f->vertex(Cdt::cw(i)), f->vertex(Cdt::ccw(i)));
            } while (++f != done);
            for (const auto& [a, b] : hull) tr_.insert_constraint(a, b);
        }
        number();
        const std::vector<int> level = nesting_levels();
        for (auto f = tr_.all_faces_begin(); f != tr_.all_faces_end(); ++f) {
            const int l = level[static_cast<std::size_t>(f->info().value)];
            f->set_in_domain(domain == inside ? l % 2 == 1 : l >= 1);
        }
        CGAL::Delaunay_mesher_2<Cdt, Criteria> mesher(tr_, Criteria(shape_bound, max_edge));
        mesher.init(true);
        // Where the doubles run out (coordinates near the underflow), new
        // points can fall onto old ones and the mesher would go round for
        // ever, and a sliver of a domain can need more points than memory
        // holds: a long run of steps adding no vertex, or more vertices than
        // asked for at most, ends it with an error instead.
        constexpr long idle_limit = 1L << 22;
        const std::size_t vertex_limit = tr_.number_of_vertices() + max_points;
        long idle = 0;
        std::size_t vertices = tr_.number_of_vertices();
        for (long step = 1; !mesher.is_refinement_done(); ++step) {
            mesher.try_one_step_refine_mesh();
            if (tr_.number_of_vertices() != vertices) {
                vertices = tr_.number_of_vertices();
                idle = 0;
            } else if (++idle > idle_limit) {
                throw py::value_error("refine: the refinement makes no progress (coordinates too close to the "
                                      "limits of the doubles for the bounds asked for)");
            }
            if (vertices > vertex_limit) {
                throw py::value_error("refine: the mesh needs more than max_points = " + std::to_string(max_points) +
                                      " new points for these bounds");
            }
            if (step % 4096 == 0) {
                py::gil_scoped_acquire gil;
                if (PyErr_CheckSignals() != 0) throw py::error_already_set();
            }
        }
        adopt_new_vertices();
    }
};

}  // namespace

void register_constrained2(py::module_& m) {
    using Segments = py::array_t<Index, py::array::c_style | py::array::forcecast>;
    py::class_<Constrained2> cls(m, "ConstrainedDelaunay2");
    cls.def(py::init<py::handle, const Segments&>(), py::arg("points"), py::arg("segments"));
    bind_planar<Constrained2>(cls);
    cls.def("constrain", [](Constrained2& t, const Segments& s) { t.constrain(s); }, py::arg("segments"))
        .def("constrained_edges", [](Constrained2& t) { return t.constrained_edges(); })
        .def("domain", [](Constrained2& t) { return t.domain(); })
        .def("refined", [](Constrained2& t, double shape_bound, double max_edge, int domain,
                           std::size_t max_points) { return t.refined(shape_bound, max_edge, domain, max_points); },
             py::arg("shape_bound"), py::arg("max_edge"), py::arg("domain"), py::arg("max_points"));
}

}  // namespace zenolith::triangulation
