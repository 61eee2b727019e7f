// Every overlapping pair between two sets of axis-aligned boxes (or within
// one set), by sorting and sweeping along x: the boxes are sorted by their
// lower x bound, and each box is compared with the boxes of the other set
// that start after it and before its upper x bound; a pair is reported by
// whichever of its two boxes starts first, so exactly once. The candidate
// pairs of zenolith.all_pairs, which then decides each pair exactly.
//
// A sweep along x alone compares each box with every box of the same x
// range, however far apart in y; so the boxes are first dealt into strips
// along y about as high as a typical box (a box in every strip it crosses),
// each strip is swept on its own, and a pair is reported only in the strip
// that holds the lower end of the two boxes' common y range, the one strip
// both are sure to be in.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "companion/io/array_readers.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion {

namespace {

using Pair = std::array<std::int64_t, 2>;

// Horizontal strips: `count` of them from y0 on, each `height` high; the
// first and last take everything below and above.
struct Strips {
    double y0 = 0, height = 1;
    std::int64_t count = 1;

    std::int64_t of(double y) const {
        if (count == 1) return 0;
        const double k = std::floor((y - y0) / height);
        return k < 0 ? 0 : k >= static_cast<double>(count) ? count - 1 : static_cast<std::int64_t>(k);
    }
};

// One whole set of boxes sorted by lower x (ties by index): each box's
// index, bounds (lo x, hi x, lo y, hi y, ...) stored together in that
// order, and the strip of its lower y.
struct BoxSet {
    int d = 2;
    std::vector<std::int64_t> id;
    std::vector<double> bounds;
    std::vector<std::int64_t> strip;

    BoxSet(const double* lo, const double* hi, py::ssize_t n, int dim, const Strips& strips) : d(dim) {
        std::vector<std::pair<double, std::int64_t>> keys(static_cast<std::size_t>(n));
        for (py::ssize_t i = 0; i < n; ++i) keys[static_cast<std::size_t>(i)] = {lo[i * d], i};
        std::sort(keys.begin(), keys.end());
        id.reserve(keys.size());
        bounds.reserve(keys.size() * 2 * d);
        strip.reserve(keys.size());
        for (const auto& [x, i] : keys) {
            id.push_back(i);
            for (int k = 0; k < d; ++k) {
                bounds.push_back(lo[i * d + k]);
                bounds.push_back(hi[i * d + k]);
            }
            strip.push_back(strips.of(lo[i * d + 1]));
        }
    }

    double upper_y(std::size_t p) const { return bounds[p * 2 * d + 3]; }
};

// The boxes of one strip (positions into a BoxSet, increasing), copied
// together.
class SortedBoxes {
public:
    SortedBoxes(const BoxSet& set, const std::vector<std::int64_t>& positions) : d_(set.d) {
        id_.reserve(positions.size());
        strip_.reserve(positions.size());
        bounds_.reserve(positions.size() * 2 * d_);
        for (const std::int64_t p : positions) {
            id_.push_back(set.id[p]);
            strip_.push_back(set.strip[p]);
            const double* from = &set.bounds[p * 2 * d_];
            bounds_.insert(bounds_.end(), from, from + 2 * d_);
        }
    }

    std::size_t size() const { return id_.size(); }
    std::int64_t id(std::size_t i) const { return id_[i]; }
    std::int64_t lower_strip(std::size_t i) const { return strip_[i]; }
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
    std::vector<std::int64_t> id_, strip_;
    std::vector<double> bounds_;
};

// Box i of `first` against the boxes of `second` from `from` on that start
// before i ends; `keep(i, j)` says whether this sweep reports the pair.
template <class Keep, class Emit>
void scan(const SortedBoxes& first, std::size_t i, const SortedBoxes& second, std::size_t from,
          const Keep& keep, Emit&& emit) {
    const double end = first.upper_x(i);
    for (std::size_t j = from; j < second.size() && second.lower_x(j) <= end; ++j) {
        if (first.overlap_beyond_x(i, second, j) && keep(first, i, second, j)) emit(first.id(i), second.id(j));
    }
}

template <class Keep>
void between(const SortedBoxes& a, const SortedBoxes& b, const Keep& keep, std::vector<Pair>& out) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.lower_x(i) <= b.lower_x(j)) {
            scan(a, i++, b, j, keep, [&](std::int64_t p, std::int64_t q) { out.push_back({p, q}); });
        } else {
            scan(b, j++, a, i, keep, [&](std::int64_t q, std::int64_t p) { out.push_back({p, q}); });
        }
    }
}

template <class Keep>
void within(const SortedBoxes& a, const Keep& keep, std::vector<Pair>& out) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        scan(a, i, a, i + 1, keep,
             [&](std::int64_t p, std::int64_t q) { out.push_back({std::min(p, q), std::max(p, q)}); });
    }
}


// Strips about twice as high as the sets' mean finite box height, over the
// finite range of the lower bounds, fewer where boxes would be dealt into
// more than four strips each on average.
Strips choose_strips(const std::vector<std::pair<const double*, const double*>>& sets,
                     const std::vector<py::ssize_t>& sizes, int d) {
    double lo = INFINITY, hi = -INFINITY, height = 0;
    py::ssize_t n = 0, finite = 0;
    for (std::size_t k = 0; k < sets.size(); ++k) {
        for (py::ssize_t i = 0; i < sizes[k]; ++i) {
            const double y0 = sets[k].first[i * d + 1], y1 = sets[k].second[i * d + 1];
            if (std::isfinite(y0)) lo = std::min(lo, y0), hi = std::max(hi, y0);
            if (std::isfinite(y0) && std::isfinite(y1)) height += y1 - y0, ++finite;
        }
        n += sizes[k];
    }
    Strips strips;
    if (!(hi > lo) || finite == 0) return strips;
    const double typical = 2 * height / static_cast<double>(finite);
    const double most = std::sqrt(static_cast<double>(n)) * 4;  // no point in more
    double count = typical > 0 ? std::min((hi - lo) / typical, most) : most;
    for (;; count /= 2) {
        if (count < 2) return strips;
        strips.y0 = lo;
        strips.count = static_cast<std::int64_t>(count);
        strips.height = (hi - lo) / static_cast<double>(strips.count);
        double dealt = 0;
        for (std::size_t k = 0; k < sets.size(); ++k) {
            for (py::ssize_t i = 0; i < sizes[k]; ++i) {
                dealt += static_cast<double>(strips.of(sets[k].second[i * d + 1]) - strips.of(sets[k].first[i * d + 1]) + 1);
            }
        }
        if (dealt <= 4.0 * static_cast<double>(n)) return strips;
    }
}

// The positions of a set's boxes in each strip they cross, increasing.
std::vector<std::vector<std::int64_t>> deal(const BoxSet& set, const Strips& strips) {
    std::vector<std::vector<std::int64_t>> out(static_cast<std::size_t>(strips.count));
    for (std::size_t p = 0; p < set.id.size(); ++p) {
        const std::int64_t last = strips.of(set.upper_y(p));
        for (std::int64_t k = set.strip[p]; k <= last; ++k) out[static_cast<std::size_t>(k)].push_back(static_cast<std::int64_t>(p));
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

// The pairs sorted by i, then j, as a (K, 2) array: dealt into one bucket
// per i (a counting sort), each bucket then sorted by j (a few entries).
py::array_t<std::int64_t> as_array(const std::vector<Pair>& pairs, py::ssize_t n) {
    py::array_t<std::int64_t> out({static_cast<py::ssize_t>(pairs.size()), py::ssize_t{2}});
    std::int64_t* o = out.mutable_data();
    py::gil_scoped_release nogil;
    std::vector<std::int64_t> start(static_cast<std::size_t>(n) + 1, 0);
    for (const Pair& p : pairs) ++start[static_cast<std::size_t>(p[0]) + 1];
    for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
    std::vector<std::int64_t> next(start.begin(), start.end() - 1);
    std::vector<std::int64_t> second(pairs.size());
    for (const Pair& p : pairs) second[static_cast<std::size_t>(next[static_cast<std::size_t>(p[0])]++)] = p[1];
    for (py::ssize_t i = 0; i < n; ++i) {
        const auto begin = second.begin() + start[static_cast<std::size_t>(i)];
        const auto end = second.begin() + start[static_cast<std::size_t>(i) + 1];
        std::sort(begin, end);
        for (auto j = begin; j != end; ++j) {
            *o++ = i;
            *o++ = *j;
        }
    }
    return out;
}

// The pairs (i, j), sorted, of boxes i of the first set and j of the
// second that overlap; without a second set, the pairs i < j within the
// first.
py::array_t<std::int64_t> box_pairs(py::handle lo_a, py::handle hi_a, py::handle lo_b, py::handle hi_b) {
    const BoundsArgument a(lo_a, hi_a, "a");
    std::optional<BoundsArgument> b;
    if (!lo_b.is_none()) {
        b.emplace(lo_b, hi_b, "b");
        if (b->d != a.d) throw py::value_error("a and b: boxes of different dimensions");
    }
    const py::ssize_t boxes = a.n + (b ? b->n : 0);
    const int threads = row_threads(boxes);
    // the strips, then each set sorted and dealt into them (the two sets at once)
    Strips strips;
    {
        py::gil_scoped_release nogil;
        std::vector<std::pair<const double*, const double*>> sets{{a.lo.data(), a.hi.data()}};
        std::vector<py::ssize_t> sizes{a.n};
        if (b) sets.emplace_back(b->lo.data(), b->hi.data()), sizes.push_back(b->n);
        strips = choose_strips(sets, sizes, a.d);
    }
    std::optional<BoxSet> set_a, set_b;
    std::vector<std::vector<std::int64_t>> in_a, in_b;
    run_parts(b ? 2 : 1, b && threads > 1 ? 2 : 1, [&](py::ssize_t begin, py::ssize_t end, int) {
        for (py::ssize_t k = begin; k < end; ++k) {
            const BoundsArgument& from = k == 0 ? a : *b;
            auto& set = k == 0 ? set_a : set_b;
            set.emplace(from.lo.data(), from.hi.data(), from.n, from.d, strips);
            (k == 0 ? in_a : in_b) = deal(*set, strips);
        }
    });
    // the strips swept in as many parts as threads, each part's pairs apart
    std::vector<std::vector<Pair>> found(static_cast<std::size_t>(threads));
    run_parts(strips.count, threads, [&](py::ssize_t begin, py::ssize_t end, int part) {
        auto& pairs = found[static_cast<std::size_t>(part)];
        for (std::int64_t k = begin; k < end; ++k) {
            const auto here = static_cast<std::size_t>(k);
            // the strip of the lower end of the pair's common y range
            const auto keep = [k](const SortedBoxes& p, std::size_t i, const SortedBoxes& q, std::size_t j) {
                return std::max(p.lower_strip(i), q.lower_strip(j)) == k;
            };
            const SortedBoxes first(*set_a, in_a[here]);
            if (b) {
                between(first, SortedBoxes(*set_b, in_b[here]), keep, pairs);
            } else {
                within(first, keep, pairs);
            }
        }
    });
    std::vector<Pair> pairs;
    for (auto& part : found) {
        if (pairs.empty()) pairs = std::move(part);
        else pairs.insert(pairs.end(), part.begin(), part.end());
    }
    return as_array(pairs, a.n);
}

}  // namespace

void register_box_pairs(py::module_& m) {
    m.def("box_pairs", &box_pairs, py::arg("lo_a"), py::arg("hi_a"), py::arg("lo_b") = py::none(),
          py::arg("hi_b") = py::none());
}

}  // namespace zenolith::companion
