// How values travel: pickle (every protocol), copy.copy and copy.deepcopy.
//
// Nothing is added to the classes or to the module. A reducer per class is
// registered with copyreg, which pickle and copy consult before a class's own
// attributes. Each reducer names a public constructor of the module (or the
// module's `orientation`) and the arguments that rebuild the stored value bit
// for bit: the stored numbers themselves, never a derived or normalised form
// (a ray's second point, a line's point and vector, a direction's components,
// a circle's supporting plane, a transformation's own representation).
// Each class defines its reducer in its own source file (`reduce`, below
// `core/pickling.hpp`); this file registers them all and holds the shared
// rules. Binary pickle protocols carry every double exactly; protocol 0 writes
// floats as text, which keeps signed zeros and infinities but not a NaN's
// sign or payload (Python's own float does the same there).
#include <pybind11/pybind11.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>

#include "core/pickling.hpp"

namespace zenolith {

namespace {

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

}  // namespace

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

void no_exact_rebuild(const std::string& what) {
    throw py::value_error("cannot pickle this " + what +
                          ": no constructor of the module rebuilds it exactly");
}

namespace {
template <class... T>
void register_reducers(const py::object& pickle, type_list<T...>) {
    (pickle(py::type::of<T>(), py::cpp_function(static_cast<py::tuple (*)(const T&)>(&reduce<T>))),
     ...);
}
}  // namespace

void register_pickling() {
    register_reducers(py::module_::import("copyreg").attr("pickle"), value_types{});
}

}  // namespace zenolith
