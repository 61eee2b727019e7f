// Every overlapping pair between two sets of axis-aligned boxes (or within
// one set), by sorting and sweeping along x: the boxes are sorted by their
// lower x bound, and each box is compared with the boxes of the other set
// that start after it and before its upper x bound; a pair is reported by
// whichever of its two boxes starts first, so exactly once. The candidate
// pairs of zenolith.all_pairs, which then decides each pair exactly.
#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "companion/io/array_readers.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion {

namespace {

using Pair = std::array<std::int64_t, 2>;

// One set of boxes sorted by lower x, each box's bounds stored together.
class SortedBoxes {
public:
    SortedBoxes(const double* lo, const double* hi, py::ssize_t n, int d) : d_(d) {
        std::vector<std::int64_t> order(static_cast<std::size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [lo, d](std::int64_t a, std::int64_t b) { return lo[a * d] < lo[b * d]; });
        id_ = order;
        bounds_.resize(static_cast<std::size_t>(n) * 2 * d);
        double* out = bounds_.data();
        for (std::int64_t i : order) {
            for (int k = 0; k < d; ++k) {
                *out++ = lo[i * d + k];
                *out++ = hi[i * d + k];
            }
        }
    }

    std::size_t size() const { return id_.size(); }
    std::int64_t id(std::size_t i) const { return id_[i]; }
    double lower_x(std::size_t i) const { return bounds_[i * 2 * d_]; }
    double upper_x(std::size_t i) const { return bounds_[i * 2 * d_ + 1]; }

    // Whether box i here and box j of `other` overlap beyond x (closed
    // intervals: boxes that touch overlap).
    bool overlap_beyond_x(std::size_t i, const SortedBoxes& other, std::size_t j) const {
        const double* a = &bounds_[i * 2 * d_];
        const double* b = &other.bounds_[j * 2 * d_];
        for (int k = 1; k < d_; ++k) {
            if (a[2 * k] > b[2 * k + 1] || b[2 * k] > a[2 * k + 1]) return false;
        }
        return true;
    }

private:
    int d_;
    std::vector<std::int64_t> id_;
    std::vector<double> bounds_;  // per box: lo x, hi x, lo y, hi y, ...
};

// Box i of `first` against the boxes of `second` from `from` on that start
// before i ends.
template <class Emit>
void scan(const SortedBoxes& first, std::size_t i, const SortedBoxes& second, std::size_t from, Emit&& emit) {
    const double end = first.upper_x(i);
    for (std::size_t j = from; j < second.size() && second.lower_x(j) <= end; ++j) {
        if (first.overlap_beyond_x(i, second, j)) emit(first.id(i), second.id(j));
    }
}

std::vector<Pair> between(const SortedBoxes& a, const SortedBoxes& b) {
    std::vector<Pair> out;
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.lower_x(i) <= b.lower_x(j)) {
            scan(a, i++, b, j, [&](std::int64_t p, std::int64_t q) { out.push_back({p, q}); });
        } else {
            scan(b, j++, a, i, [&](std::int64_t q, std::int64_t p) { out.push_back({p, q}); });
        }
    }
    return out;
}

std::vector<Pair> within(const SortedBoxes& a) {
    std::vector<Pair> out;
    for (std::size_t i = 0; i < a.size(); ++i) {
        scan(a, i, a, i + 1, [&](std::int64_t p, std::int64_t q) { out.push_back({std::min(p, q), std::max(p, q)}); });
    }
    return out;
}

// The (N, D) lower and upper bounds of one set, D 2 or 3; NaN bounds are
// refused (they have no order to sort by), and every lower bound must be at
// most its upper bound.
struct BoundsArgument {
    Doubles lo, hi;
    py::ssize_t n = 0;
    int d = 0;

    BoundsArgument(py::handle lower, py::handle upper, const char* name) {
        const std::string expected = "box bounds of shape (N, 2) or (N, 3)";
        lo = detail::to_doubles(lower, name, expected);
        hi = detail::to_doubles(upper, name, expected);
        if (lo.ndim() != 2 || (lo.shape(1) != 2 && lo.shape(1) != 3) || hi.ndim() != 2 ||
            hi.shape(0) != lo.shape(0) || hi.shape(1) != lo.shape(1)) {
            throw py::value_error(std::string(name) + ": expected " + expected + " twice, got shapes " +
                                  detail::shape_text(lo) + " and " + detail::shape_text(hi));
        }
        n = lo.shape(0);
        d = static_cast<int>(lo.shape(1));
        for (py::ssize_t i = 0; i < n * d; ++i) {
            if (!(lo.data()[i] <= hi.data()[i])) {
                throw py::value_error(std::string(name) + "[" + std::to_string(i / d) +
                                      "]: expected a lower bound at most the upper bound, and no NaN");
            }
        }
    }
};

py::array_t<std::int64_t> as_array(std::vector<Pair>& pairs) {
    std::sort(pairs.begin(), pairs.end());
    py::array_t<std::int64_t> out({static_cast<py::ssize_t>(pairs.size()), py::ssize_t{2}});
    if (!pairs.empty()) std::copy_n(pairs.front().data(), pairs.size() * 2, out.mutable_data());
    return out;
}

// The pairs (i, j), sorted, of boxes i of the first set and j of the
// second that overlap; without a second set, the pairs i < j within the
// first.
py::array_t<std::int64_t> box_pairs(py::handle lo_a, py::handle hi_a, py::handle lo_b, py::handle hi_b) {
    const BoundsArgument a(lo_a, hi_a, "a");
    std::vector<Pair> pairs;
    if (lo_b.is_none()) {
        py::gil_scoped_release nogil;
        pairs = within(SortedBoxes(a.lo.data(), a.hi.data(), a.n, a.d));
    } else {
        const BoundsArgument b(lo_b, hi_b, "b");
        if (b.d != a.d) throw py::value_error("a and b: boxes of different dimensions");
        py::gil_scoped_release nogil;
        pairs = between(SortedBoxes(a.lo.data(), a.hi.data(), a.n, a.d),
                        SortedBoxes(b.lo.data(), b.hi.data(), b.n, b.d));
    }
    return as_array(pairs);
}

}  // namespace

void register_box_pairs(py::module_& m) {
    m.def("box_pairs", &box_pairs, py::arg("lo_a"), py::arg("hi_a"), py::arg("lo_b") = py::none(),
          py::arg("hi_b") = py::none());
}

}  // namespace zenolith::companion
