// Alpha shapes in the plane and in space: the library's alpha shapes over a
// Delaunay triangulation, with exact comparisons of alpha values (the
// squared radii are compared exactly, not as rounded doubles). Regularized:
// the shape for alpha is the union of the simplices whose circumscribing
// ball has a squared radius at most alpha, without dangling parts.
#include <CGAL/Alpha_shape_2.h>
#include <CGAL/Alpha_shape_3.h>
#include <CGAL/Alpha_shape_cell_base_3.h>
#include <CGAL/Alpha_shape_face_base_2.h>
#include <CGAL/Alpha_shape_vertex_base_2.h>
#include <CGAL/Alpha_shape_vertex_base_3.h>
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_triangulation_3.h>
#include <CGAL/Triangulation_cell_base_with_info_3.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_3.h>

#include <cmath>
#include <limits>
#include <memory>

#include "triangulation/common.hpp"
#include "triangulation/registrations.hpp"

namespace zenolith::triangulation {
namespace {

using Exact = CGAL::Tag_true;

struct Planar {
    static constexpr int dimension = 2;
    using Vb = CGAL::Alpha_shape_vertex_base_2<Epick, CGAL::Triangulation_vertex_base_with_info_2<Slot, Epick>, Exact>;
    using Fb = CGAL::Alpha_shape_face_base_2<Epick, CGAL::Triangulation_face_base_with_info_2<Slot, Epick>, Exact>;
    using Dt = CGAL::Delaunay_triangulation_2<Epick, CGAL::Triangulation_data_structure_2<Vb, Fb>>;
    using Shape = CGAL::Alpha_shape_2<Dt, Exact>;
};

struct Spatial {
    static constexpr int dimension = 3;
    using Vb = CGAL::Alpha_shape_vertex_base_3<Epick, CGAL::Triangulation_vertex_base_with_info_3<Slot, Epick>, Exact>;
    using Cb = CGAL::Alpha_shape_cell_base_3<
        Epick, CGAL::Triangulation_cell_base_with_info_3<Slot, Epick, CGAL::Delaunay_triangulation_cell_base_3<Epick>>,
        Exact>;
    using Dt = CGAL::Delaunay_triangulation_3<Epick, CGAL::Triangulation_data_structure_3<Vb, Cb>>;
    using Shape = CGAL::Alpha_shape_3<Dt, Exact>;
};

template <class S>
class AlphaShape : public PointStore<S::dimension> {
    static constexpr int D = S::dimension;
    using Shape = typename S::Shape;
    using Alpha = typename Shape::FT;

public:
    explicit AlphaShape(py::handle obj) {
        const PointRows rows = read_points<D>(obj, "points");
        Locked lock(this->mutex_);
        const std::size_t n = rows.xyz.size() / D;
        this->coords_ = rows.xyz;
        this->rep_.resize(n);
        typename S::Dt dt;
        insert_points<typename S::Dt, D>(dt, kernel_points<D>(rows.xyz.data(), n), 0, this->rep_, true);
        dimension_ = dt.dimension();
        // the alpha shape takes the triangulation over; below full dimension
        // there is nothing to classify and it is not built
        if (dimension_ == D) shape_ = std::make_unique<Shape>(dt, Alpha(0), Shape::REGULARIZED);
    }

    int dimension() const { return dimension_; }

    // The alpha values where the shape changes, ascending, rounded up.
    py::array_t<double> spectrum() {
        std::vector<double> out;
        {
            Locked lock(this->mutex_);
            if (shape_) {
                for (auto a = shape_->alpha_begin(); a != shape_->alpha_end(); ++a) out.push_back(rounded_up(*a));
            }
        }
        const auto n = static_cast<py::ssize_t>(out.size());
        return as_array(std::move(out), {n});
    }

    // The smallest alpha of the spectrum whose shape has at most
    // `components` solid parts and every point on it or inside; inf when
    // there is none.
    double optimal_alpha(int components) {
        if (components < 1) throw py::value_error("components: expected at least 1, got " + std::to_string(components));
        Locked lock(this->mutex_);
        if (!shape_) return std::numeric_limits<double>::infinity();
        const auto a = shape_->find_optimal_alpha(static_cast<std::size_t>(components));
        return a == shape_->alpha_end() ? std::numeric_limits<double>::infinity() : rounded_up(*a);
    }

    // (simplices of the shape, boundary facets oriented outwards) for alpha.
    py::tuple at(double alpha) {
        if (!(alpha >= 0) || !std::isfinite(alpha)) {
            throw py::value_error("alpha: expected a finite squared radius >= 0, got " + std::to_string(alpha));
        }
        std::vector<Index> simplices, boundary;
        {
            Locked lock(this->mutex_);
            if (shape_) collect(Alpha(alpha), simplices, boundary);
        }
        const auto m = static_cast<py::ssize_t>(simplices.size() / (D + 1));
        const auto b = static_cast<py::ssize_t>(boundary.size() / D);
        return py::make_tuple(as_array(std::move(simplices), {m, D + 1}), as_array(std::move(boundary), {b, D}));
    }

private:
    // An alpha value as the smallest double not below it: given back, it
    // gives the shape at that value, not the one just before.
    // The interval approximation decides where it is a single double; the
    // exact value only where it is not.
    static double rounded_up(const Alpha& a) {
        const auto& approx = a.approx();
        return approx.is_point() ? approx.sup() : CGAL::to_interval(a.exact()).second;
    }

    void collect(const Alpha& alpha, std::vector<Index>& simplices, std::vector<Index>& boundary) const {
        const Shape& as = *shape_;
        if constexpr (D == 2) {
            for (auto f = as.finite_faces_begin(); f != as.finite_faces_end(); ++f) {
                if (as.classify(f, alpha) != Shape::INTERIOR) continue;
                for (int i = 0; i < 3; ++i) simplices.push_back(f->vertex(i)->info().value);
            }
            for (auto e = as.finite_edges_begin(); e != as.finite_edges_end(); ++e) {
                if (as.classify(e->first, e->second, alpha) != Shape::REGULAR) continue;
                // from the interior side: counter-clockwise there, the shape on its left
                auto f = e->first;
                int i = e->second;
                if (as.classify(f, alpha) != Shape::INTERIOR) {
                    const auto g = f->neighbor(i);
                    i = g->index(f);
                    f = g;
                }
                boundary.push_back(f->vertex(Shape::ccw(i))->info().value);
                boundary.push_back(f->vertex(Shape::cw(i))->info().value);
            }
        } else {
            for (auto c = as.finite_cells_begin(); c != as.finite_cells_end(); ++c) {
                if (as.classify(c, alpha) != Shape::INTERIOR) continue;
                for (int i = 0; i < 4; ++i) simplices.push_back(c->vertex(i)->info().value);
            }
            for (auto f = as.finite_facets_begin(); f != as.finite_facets_end(); ++f) {
                if (as.classify(*f, alpha) != Shape::REGULAR) continue;
                // seen from the exterior cell, whose side the facet's normal points to
                auto c = f->first;
                int i = f->second;
                if (as.classify(c, alpha) == Shape::INTERIOR) {
                    const auto g = c->neighbor(i);
                    i = g->index(c);
                    c = g;
                }
                for (int j = 0; j < 3; ++j) boundary.push_back(c->vertex(Shape::vertex_triple_index(i, j))->info().value);
            }
        }
    }

    std::unique_ptr<Shape> shape_;
    int dimension_ = -1;
};

template <class S>
void register_alpha_shape(py::module_& m, const char* name) {
    using T = AlphaShape<S>;
    py::class_<T>(m, name)
        .def(py::init<py::handle>(), py::arg("points"))
        .def_property_readonly("dimension", [](const T& t) { return t.dimension(); })
        .def("points", [](T& t) { return t.points(); })
        .def("duplicates", [](T& t) { return t.duplicates(); })
        .def("spectrum", [](T& t) { return t.spectrum(); })
        .def("optimal_alpha", [](T& t, int components) { return t.optimal_alpha(components); }, py::arg("components"))
        .def("at", [](T& t, double alpha) { return t.at(alpha); }, py::arg("alpha"));
}

}  // namespace

void register_alpha_shapes(py::module_& m) {
    register_alpha_shape<Planar>(m, "AlphaShape2");
    register_alpha_shape<Spatial>(m, "AlphaShape3");
}

}  // namespace zenolith::triangulation
