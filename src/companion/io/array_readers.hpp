// How the companion's array operations read their arguments and shape their
// results. Every family of operations uses these rules, so that shapes,
// broadcasting and error messages are the same everywhere:
//
// - points of dimension D come as an (N, D) array-like of any real numeric
//   dtype and any strides, as one point given as a length-D sequence, or as
//   one core point (or vector) object; one point broadcasts against any N;
// - the result has the broadcast length N, or is 0-d when every input is a
//   single point;
// - a wrong rank, trailing dimension, dtype or length raises ValueError, an
//   object of the wrong class raises TypeError, each naming the argument,
//   what was expected and what came.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <initializer_list>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "shared/types.hpp"

namespace zenolith::companion {

namespace py = pybind11;

// float64, C order: what every loop reads.
using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;

namespace detail {

// The Python name of an object's class, for messages.
inline std::string type_name(py::handle obj) { return py::str(py::type::handle_of(obj).attr("__name__")); }

// The shape of an array as Python prints it: "(3, 2)", "(2,)", "()".
inline std::string shape_text(const py::array& a) {
    std::string s = "(";
    for (py::ssize_t k = 0; k < a.ndim(); ++k) {
        s += std::to_string(a.shape(k));
        s += (a.ndim() == 1 || k + 1 < a.ndim()) ? "," : "";
        if (k + 1 < a.ndim()) s += ' ';
    }
    return s + ")";
}

// Copies the coordinates of a core point or vector of dimension D into
// `out`; false when `obj` is none of them.
template <int D>
bool read_core_point(py::handle obj, double* out) {
    auto copy = [out](const auto& v) {
        for (int k = 0; k < D; ++k) out[k] = v.cartesian(k);
        return true;
    };
    if constexpr (D == 2) {
        if (py::isinstance<Point2>(obj)) return copy(obj.cast<const Point2&>().v);
        if (py::isinstance<Vector2>(obj)) return copy(obj.cast<const Vector2&>().v);
    } else {
        if (py::isinstance<Point3>(obj)) return copy(obj.cast<const Point3&>().v);
        if (py::isinstance<Vector3>(obj)) return copy(obj.cast<const Vector3&>().v);
    }
    return false;
}

// True when `obj` is an instance of a class bound with pybind11 (a core
// object): such an argument of the wrong class is a TypeError, not an array.
inline bool is_bound_object(py::handle obj) {
    return py::detail::get_type_info(Py_TYPE(obj.ptr())) != nullptr;
}

// True for numpy's masked arrays (and their subclasses): read as plain
// arrays they would lose their mask, so they are refused.
inline bool is_masked(py::handle obj) {
    if (!py::isinstance<py::array>(obj) || Py_TYPE(obj.ptr()) == py::detail::npy_api::get().PyArray_Type_) {
        return false;
    }
    for (py::handle cls : py::type::handle_of(obj).attr("__mro__")) {
        if (std::string(py::str(cls.attr("__name__"))) == "MaskedArray") return true;
    }
    return false;
}

// Converts an array-like to float64 in C order, refusing an array of what is
// not a real number (strings, objects, complex numbers, dates) with a
// ValueError.
// A str, None or any other object that is neither numbers nor a sequence
// of them is a TypeError naming what came.
inline Doubles to_doubles(py::handle obj, const char* name, const std::string& expected) {
    const auto refuse = [&]() {
        return py::type_error(std::string(name) + ": expected " + expected + ", got " +
                              type_name(obj));
    };
    if (PyUnicode_Check(obj.ptr()) || PyBytes_Check(obj.ptr())) throw refuse();
    if (is_masked(obj)) {
        throw py::type_error(std::string(name) + ": a masked array's mask would be ignored; pass "
                             "arr.filled(value) or arr.compressed() (the unmasked rows) instead");
    }
    py::array raw = py::array::ensure(obj);
    if (!raw) {  // a ragged sequence, or an object numpy cannot read
        if (PyErr_ExceptionMatches(PyExc_MemoryError)) throw py::error_already_set();
        PyErr_Clear();
        if (!PySequence_Check(obj.ptr())) throw refuse();
        throw py::value_error(std::string(name) + ": expected " + expected + ", got " +
                              type_name(obj));
    }
    const char kind = raw.dtype().kind();
    if (kind == 'O' && raw.ndim() == 0) throw refuse();
    if (kind == 'O' && raw.size() > 0 && is_bound_object(py::handle(*static_cast<PyObject* const*>(raw.data())))) {
        throw py::type_error(std::string(name) + ": expected " + expected + ", got a sequence of " +
                             type_name(py::handle(*static_cast<PyObject* const*>(raw.data()))) +
                             " objects; pass zenolith.to_array(seq) for points, or an object array "
                             "such as zenolith.Segments2.from_objects(seq)");
    }
    if (kind != 'f' && kind != 'i' && kind != 'u' && kind != 'b') {
        throw py::value_error(std::string(name) + ": expected " + expected +
                              " of real numbers, got an array of dtype " +
                              std::string(py::str(raw.dtype())));
    }
    // A float64 array at a misaligned address (a buffer read from an odd
    // offset) would be taken as it is and read with misaligned loads:
    // copied instead.
    if ((raw.flags() & py::detail::npy_api::NPY_ARRAY_ALIGNED_) == 0) raw = raw.attr("copy")();
    // The constructor raises what the conversion raised (MemoryError when
    // the float64 copy cannot be allocated), where ensure() would hand back
    // a null array with the error cleared.
    return Doubles(raw);
}

}  // namespace detail

// An argument holding N items of a fixed shape `item` (a point: {D}; a
// segment: {2, D}), read as an (N, *item) array, or one item of shape `item`.
// The array is kept alive, so items may be read with the GIL released.
struct Items {
    Doubles keep;
    py::ssize_t n = 1;
    bool single = true;

    Items() = default;
    Items(py::handle obj, const char* name, const std::string& expected,
          const std::vector<py::ssize_t>& item)
        : keep(detail::to_doubles(obj, name, expected)) {
        const auto rank = static_cast<py::ssize_t>(item.size());
        bool fits = keep.ndim() == rank || keep.ndim() == rank + 1;
        const py::ssize_t skip = keep.ndim() - rank;
        py::ssize_t k = 0;
        for (py::ssize_t extent : item) fits = fits && keep.shape(skip + k++) == extent;
        if (!fits) {
            throw py::value_error(std::string(name) + ": expected " + expected +
                                  ", got an array of shape " + detail::shape_text(keep));
        }
        single = skip == 0;
        n = single ? 1 : keep.shape(0);
    }

    const double* data() const { return keep.data(); }
};

// A read-only view of the points of one argument. Rows are read through
// operator[], which repeats the single point when the argument was one (a
// step of 0 over its own copy, so the loops carry no branch for it).
template <int D>
class Points {
public:
    Points(const Points&) = delete;  // data_ may point into this object
    Points& operator=(const Points&) = delete;

    Points(py::handle obj, const char* name) : name_(name) {
        if (detail::read_core_point<D>(obj, one_)) return;
        const std::string expected = D == 2 ? "2D points of shape (N, 2) or (2,), or a Point2"
                                            : "3D points of shape (N, 3) or (3,), or a Point3";
        if (detail::is_bound_object(obj)) {
            throw py::type_error(std::string(name) + ": expected " + expected + ", got " +
                                 detail::type_name(obj));
        }
        if (read_core_points(obj, expected)) return;
        items_ = Items(obj, name, expected, {D});
        if (items_.single) {
            for (int k = 0; k < D; ++k) one_[k] = items_.data()[k];
            return;
        }
        rows(items_.data(), items_.n);
    }

    const char* name() const { return name_; }
    bool single() const { return single_; }
    // Number of rows; 1 for a single point.
    py::ssize_t size() const { return n_; }
    const double* operator[](py::ssize_t i) const { return data_ + i * step_; }

private:
    // N rows at `data`; an array of one row repeats it like a single point,
    // but keeps its length in the result.
    void rows(const double* data, py::ssize_t n) {
        single_ = false;
        n_ = n;
        data_ = data;
        step_ = n == 1 ? 0 : D;
    }

    // A list or tuple of core points (what zenolith.points2 returns) is read
    // point by point; false for anything else.
    bool read_core_points(py::handle obj, const std::string& expected) {
        if (!(PyList_Check(obj.ptr()) || PyTuple_Check(obj.ptr())) || PySequence_Fast_GET_SIZE(obj.ptr()) == 0 ||
            !detail::is_bound_object(PySequence_Fast_GET_ITEM(obj.ptr(), 0))) {
            return false;
        }
        const py::ssize_t n = PySequence_Fast_GET_SIZE(obj.ptr());
        owned_.resize(static_cast<std::size_t>(n * D));
        for (py::ssize_t i = 0; i < n; ++i) {
            py::handle item = PySequence_Fast_GET_ITEM(obj.ptr(), i);
            if (!detail::read_core_point<D>(item, owned_.data() + i * D)) {
                throw py::type_error(std::string(name_) + ": expected " + expected + " or a list of core points, got " +
                                     detail::type_name(item) + " at index " + std::to_string(i));
            }
        }
        rows(owned_.data(), n);
        return true;
    }

    const char* name_;
    Items items_;
    std::vector<double> owned_;
    double one_[D] = {};
    const double* data_ = one_;
    py::ssize_t step_ = 0;
    py::ssize_t n_ = 1;
    bool single_ = true;
};

// The kernel point of a row.
inline K::Point_2 point_at(const Points<2>& p, py::ssize_t i) { return {p[i][0], p[i][1]}; }
inline K::Point_3 point_at(const Points<3>& p, py::ssize_t i) { return {p[i][0], p[i][1], p[i][2]}; }

// 2 or 3: the dimension of a points argument, from a core object's class or
// an array's trailing length; anything else is a ValueError (TypeError for a
// core object of another class).
namespace detail {
// The first item of a non-empty list or tuple, else nothing.
inline py::handle first_item(py::handle obj) {
    if ((PyList_Check(obj.ptr()) || PyTuple_Check(obj.ptr())) && PySequence_Fast_GET_SIZE(obj.ptr()) > 0) {
        return PySequence_Fast_GET_ITEM(obj.ptr(), 0);
    }
    return {};
}
}  // namespace detail

inline int point_dimension(py::handle obj, const char* name) {
    double ignored[3];
    if (detail::read_core_point<2>(obj, ignored)) return 2;
    if (detail::read_core_point<3>(obj, ignored)) return 3;
    if (const py::handle first = detail::first_item(obj)) {  // a list of core points
        if (detail::read_core_point<2>(first, ignored)) return 2;
        if (detail::read_core_point<3>(first, ignored)) return 3;
    }
    const std::string expected = "2D or 3D points of shape (N, 2) or (N, 3), or a core point";
    if (detail::is_bound_object(obj)) {
        throw py::type_error(std::string(name) + ": expected " + expected + ", got " +
                             detail::type_name(obj));
    }
    const Doubles a = detail::to_doubles(obj, name, expected);
    const py::ssize_t d = a.ndim() > 0 ? a.shape(a.ndim() - 1) : 0;
    if ((a.ndim() == 1 || a.ndim() == 2) && (d == 2 || d == 3)) return static_cast<int>(d);
    throw py::value_error(std::string(name) + ": expected " + expected +
                          ", got an array of shape " + detail::shape_text(a));
}

// The dimension an argument's points have, without raising: 2 or 3 for a core point or vector
// and for an array-like whose last axis (of at most two) has that length, 0
// when it is neither (the Points reader then names the fault). `as_array`
// receives the converted array when a conversion was needed, so that the
// argument is not converted twice.
inline int probe_point_dimension(py::handle obj, py::object& as_array) {
    if (py::isinstance<Point2>(obj) || py::isinstance<Vector2>(obj)) return 2;
    if (py::isinstance<Point3>(obj) || py::isinstance<Vector3>(obj)) return 3;
    if (detail::is_bound_object(obj)) return 0;
    if (const py::handle first = detail::first_item(obj)) {  // a list of core points
        if (py::isinstance<Point2>(first) || py::isinstance<Vector2>(first)) return 2;
        if (py::isinstance<Point3>(first) || py::isinstance<Vector3>(first)) return 3;
        if (detail::is_bound_object(first)) return 0;
    }
    py::array a;
    if (py::isinstance<py::array>(obj)) {
        a = py::reinterpret_borrow<py::array>(obj);
    } else {
        a = py::array::ensure(obj);
        if (!a) {
            PyErr_Clear();
            return 0;
        }
        as_array = a;
    }
    const py::ssize_t last = a.ndim() == 1 || a.ndim() == 2 ? a.shape(a.ndim() - 1) : 0;
    return last == 2 || last == 3 ? static_cast<int>(last) : 0;
}

// The common length of several arguments: every array argument must have
// the same number of rows; single points broadcast.
struct Broadcast {
    py::ssize_t n = 1;
    bool scalar = true;  // every argument was a single point

    template <class... Args>
    explicit Broadcast(const Args&... args) {
        (take(args.name(), args.single(), args.size()), ...);
    }

private:
    const char* first_ = nullptr;
    // numpy's rule for the leading dimension: equal lengths, or a length of
    // one that repeats.
    void take(const char* name, bool single, py::ssize_t size) {
        if (single) return;
        if (scalar || (n == 1 && size != 1)) {
            scalar = false;
            n = size;
            first_ = name;
        } else if (size != n && size != 1) {
            throw py::value_error(std::string("mismatched lengths: ") + first_ + " has " +
                                  std::to_string(n) + " rows, " + name + " has " +
                                  std::to_string(size));
        }
    }
};

// A new result array of the broadcast shape ((n,), or 0-d), with `extra`
// trailing dimensions (e.g. {2} for planar points).
template <class T>
py::array_t<T> result_array(const Broadcast& b, std::initializer_list<py::ssize_t> extra = {}) {
    std::vector<py::ssize_t> shape;
    if (!b.scalar) shape.push_back(b.n);
    shape.insert(shape.end(), extra.begin(), extra.end());
    return py::array_t<T>(shape);
}

// In a loop that holds the GIL (it creates or reads Python objects): a
// pending signal (Ctrl-C) ends it with its exception, checked every 2^18
// rows.
inline void check_signals_at(py::ssize_t row) {
    if ((row & ((py::ssize_t{1} << 18) - 1)) == 0 && row > 0 && PyErr_CheckSignals() != 0) {
        throw py::error_already_set();
    }
}

// body(begin, end) over consecutive blocks of [0, n) with the GIL released;
// between blocks the GIL is taken back for a moment so that a signal
// (Ctrl-C) interrupts a long loop with its exception, as numpy's loops do.
template <class F>
void run_blocks(py::ssize_t n, F&& body) {
    constexpr py::ssize_t block = py::ssize_t{1} << 18;
    py::gil_scoped_release nogil;
    for (py::ssize_t begin = 0; begin < n; begin += block) {
        if (begin > 0) {
            py::gil_scoped_acquire gil;
            if (PyErr_CheckSignals() != 0) throw py::error_already_set();
        }
        body(begin, std::min(n, begin + block));
    }
}

// How many threads a loop over n rows of costly work (an exact pair
// operation: tens of nanoseconds and up a row) runs on: one below 2^16
// rows, where starting threads would not pay; else the machine's cores, at
// most eight.
inline int row_threads(py::ssize_t n) {
    if (n < (py::ssize_t{1} << 16)) return 1;
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 8u));
}

// body(begin, end, part) over consecutive blocks of [0, n) with the GIL
// released, the rows split into `threads` consecutive parts, each part's
// blocks run in order on a thread of its own (part 0 on the calling one,
// and any part no thread could be started for after it). body must only
// touch plain memory, and per-part state by `part`. Between blocks on the
// calling thread the GIL is taken back for a moment so that a signal
// (Ctrl-C) stops every part and raises; an exception in a part is raised
// once all have stopped.
template <class F>
void run_parts(py::ssize_t n, int threads, F&& body) {
    constexpr py::ssize_t block = py::ssize_t{1} << 18;
    if (threads <= 1) {
        run_blocks(n, [&](py::ssize_t begin, py::ssize_t end) { body(begin, end, 0); });
        return;
    }
    std::atomic<bool> stop{false};
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(threads));
    // part k of the rows; on the calling thread, with the signal checks
    const auto part = [&](int k, bool calling) {
        const py::ssize_t first = n * k / threads, last = n * (k + 1) / threads;
        try {
            for (py::ssize_t begin = first; begin < last && !stop; begin += block) {
                if (calling && begin > 0) {
                    py::gil_scoped_acquire gil;
                    if (PyErr_CheckSignals() != 0) {
                        stop = true;
                        throw py::error_already_set();
                    }
                }
                body(begin, std::min(last, begin + block), k);
            }
        } catch (...) {
            stop = true;
            errors[static_cast<std::size_t>(k)] = std::current_exception();
        }
    };
    {
        py::gil_scoped_release nogil;
        std::vector<std::thread> others;
        int started = 1;
        try {
            for (; started < threads; ++started) others.emplace_back(part, started, false);
        } catch (const std::system_error&) {  // no more threads to be had: the rest run here
        }
        part(0, true);
        for (int k = started; k < threads; ++k) part(k, true);
        for (std::thread& t : others) t.join();
    }
    for (const std::exception_ptr& e : errors) {
        if (e) std::rethrow_exception(e);
    }
}

// out[i] = f(i) for every row, with the GIL released: f must only read
// plain memory (Points rows, kernel objects copied out beforehand).
template <class T, class F>
py::array_t<T> map_rows(const Broadcast& b, F&& f) {
    py::array_t<T> out = result_array<T>(b);
    T* o = out.mutable_data();
    run_blocks(b.n, [&](py::ssize_t begin, py::ssize_t end) {
        for (py::ssize_t i = begin; i < end; ++i) o[i] = f(i);
    });
    return out;
}

// out[i] = f(i) for every row, where f gives a kernel point or vector of
// dimension W: the result has W coordinates per row. GIL released as above.
template <int W, class F>
py::array_t<double> map_points(const Broadcast& b, F&& f) {
    py::array_t<double> out = result_array<double>(b, {W});
    double* o = out.mutable_data();
    run_blocks(b.n, [&](py::ssize_t begin, py::ssize_t end) {
        for (py::ssize_t i = begin; i < end; ++i) {
            const auto v = f(i);
            for (int k = 0; k < W; ++k) o[W * i + k] = v.cartesian(k);
        }
    });
    return out;
}

}  // namespace zenolith::companion
