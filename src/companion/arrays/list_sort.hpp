// Python's list sort (CPython 3.12's adaptive merge sort: natural runs,
// binary insertion up to the minimum run length, powersort merge order,
// galloping), re-done over an array of items with a caller's `less`.
//
// Every comparison is made in the order and with the operands Python's sort
// uses, so the permutation is the one sorted(range(n), key=...) gives even
// when `less` is not a strict weak order (points with NaN coordinates): the
// outcome then depends on exactly which pairs are compared. For the same
// reason the two merges stay two mirrored functions: their binary searches
// round their midpoints down in both directions, so one cannot be written as
// the other over reversed runs without changing which pairs get compared.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace zenolith::companion {

template <class T, class Less>
class ListSort {
public:
    using Index = std::ptrdiff_t;

    ListSort(Less less, Index n) : less_(less), n_(n) {}

    // keys[0 .. n) is permuted in place.
    void sort(T* keys) {
        base_ = keys;
        if (n_ < 2) return;
        const Index minrun = compute_minrun(n_);
        T* lo = keys;
        Index remaining = n_;
        do {
            bool descending = false;
            Index n = count_run(lo, lo + remaining, descending);
            if (descending) std::reverse(lo, lo + n);
            if (n < minrun) {
                const Index force = remaining <= minrun ? remaining : minrun;
                binary_insertion(lo, lo + force, lo + n);
                n = force;
            }
            found_new_run(n);
            pending_.push_back({lo, n, 0});
            lo += n;
            remaining -= n;
        } while (remaining);
        force_collapse();
    }

private:
    static constexpr Index min_gallop_start = 7;

    struct Run {
        T* base;
        Index len;
        int power;
    };

    Less less_;
    Index n_;
    T* base_ = nullptr;
    std::vector<Run> pending_;
    std::vector<T> temp_;
    Index min_gallop_ = min_gallop_start;

    bool lt(const T& a, const T& b) { return less_(a, b); }

    static Index compute_minrun(Index n) {
        Index r = 0;
        while (n >= 64) {
            r |= n & 1;
            n >>= 1;
        }
        return n + r;
    }

    // Length of the run starting at lo: non-descending, or strictly
    // descending (then reversed by the caller).
    Index count_run(T* lo, T* hi, bool& descending) {
        ++lo;
        if (lo == hi) return 1;
        Index n = 2;
        if (lt(*lo, *(lo - 1))) {
            descending = true;
            for (++lo; lo < hi && lt(*lo, *(lo - 1)); ++lo) ++n;
        } else {
            for (++lo; lo < hi && !lt(*lo, *(lo - 1)); ++lo) ++n;
        }
        return n;
    }

    // [lo, start) is sorted; inserts start .. hi-1 one by one.
    void binary_insertion(T* lo, T* hi, T* start) {
        if (lo == start) ++start;
        for (; start < hi; ++start) {
            T* l = lo;
            T* r = start;
            const T pivot = *r;
            do {
                T* p = l + ((r - l) >> 1);
                if (lt(pivot, *p))
                    r = p;
                else
                    l = p + 1;
            } while (l < r);
            for (T* p = start; p > l; --p) *p = *(p - 1);
            *l = pivot;
        }
    }

    // The depth of the boundary between two adjacent runs in the merge tree.
    int power_of(Index s1, Index n1, Index n2) const {
        int result = 0;
        Index a = 2 * s1 + n1;
        Index b = a + n1 + n2;
        for (;;) {
            ++result;
            if (a >= n_) {
                a -= n_;
                b -= n_;
            } else if (b >= n_) {
                break;
            }
            a <<= 1;
            b <<= 1;
        }
        return result;
    }

    void found_new_run(Index n2) {
        if (pending_.empty()) return;
        Run& top = pending_.back();
        const int power = power_of(top.base - base_, top.len, n2);
        while (pending_.size() > 1 && pending_[pending_.size() - 2].power > power)
            merge_at(pending_.size() - 2);
        pending_.back().power = power;
    }

    void force_collapse() {
        while (pending_.size() > 1) {
            std::size_t n = pending_.size() - 2;
            if (n > 0 && pending_[n - 1].len < pending_[n + 1].len) --n;
            merge_at(n);
        }
    }

    // Leftmost position in a[0 .. n) where key fits (a[k-1] < key <= a[k]),
    // searched from `hint` outwards.
    Index gallop_left(const T& key, const T* a, Index n, Index hint) {
        a += hint;
        Index lastofs = 0, ofs = 1;
        if (lt(*a, key)) {
            const Index maxofs = n - hint;
            while (ofs < maxofs) {
                if (!lt(a[ofs], key)) break;
                lastofs = ofs;
                ofs = (ofs << 1) + 1;
            }
            if (ofs > maxofs) ofs = maxofs;
            lastofs += hint;
            ofs += hint;
        } else {
            const Index maxofs = hint + 1;
            while (ofs < maxofs) {
                if (lt(*(a - ofs), key)) break;
                lastofs = ofs;
                ofs = (ofs << 1) + 1;
            }
            if (ofs > maxofs) ofs = maxofs;
            const Index k = lastofs;
            lastofs = hint - ofs;
            ofs = hint - k;
        }
        a -= hint;
        ++lastofs;
        while (lastofs < ofs) {
            const Index m = lastofs + ((ofs - lastofs) >> 1);
            if (lt(a[m], key))
                lastofs = m + 1;
            else
                ofs = m;
        }
        return ofs;
    }

    // Rightmost position in a[0 .. n) where key fits (a[k-1] <= key < a[k]).
    Index gallop_right(const T& key, const T* a, Index n, Index hint) {
        a += hint;
        Index lastofs = 0, ofs = 1;
        if (lt(key, *a)) {
            const Index maxofs = hint + 1;
            while (ofs < maxofs) {
                if (!lt(key, *(a - ofs))) break;
                lastofs = ofs;
                ofs = (ofs << 1) + 1;
            }
            if (ofs > maxofs) ofs = maxofs;
            const Index k = lastofs;
            lastofs = hint - ofs;
            ofs = hint - k;
        } else {
            const Index maxofs = n - hint;
            while (ofs < maxofs) {
                if (lt(key, a[ofs])) break;
                lastofs = ofs;
                ofs = (ofs << 1) + 1;
            }
            if (ofs > maxofs) ofs = maxofs;
            lastofs += hint;
            ofs += hint;
        }
        a -= hint;
        ++lastofs;
        while (lastofs < ofs) {
            const Index m = lastofs + ((ofs - lastofs) >> 1);
            if (lt(key, a[m]))
                ofs = m;
            else
                lastofs = m + 1;
        }
        return ofs;
    }

    void merge_at(std::size_t i) {
        T* a = pending_[i].base;
        Index na = pending_[i].len;
        T* b = pending_[i + 1].base;
        Index nb = pending_[i + 1].len;
        pending_[i].len = na + nb;
        if (i + 3 == pending_.size()) pending_[i + 1] = pending_[i + 2];
        pending_.pop_back();

        const Index k = gallop_right(*b, a, na, 0);
        a += k;
        na -= k;
        if (na == 0) return;
        nb = gallop_left(a[na - 1], b, nb, nb - 1);
        if (nb <= 0) return;
        if (na <= nb)
            merge_lo(a, na, b, nb);
        else
            merge_hi(a, na, b, nb);
    }

    // Merges a (copied aside) into place from the left; na <= nb.
    void merge_lo(T* ssa, Index na, T* ssb, Index nb) {
        temp_.assign(ssa, ssa + na);
        T* dest = ssa;
        T* a = temp_.data();
        T* b = ssb;
        Index min_gallop = min_gallop_;
        *dest++ = *b++;
        if (--nb == 0) goto succeed;
        if (na == 1) goto copy_b;
        for (;;) {
            Index acount = 0, bcount = 0;
            for (;;) {
                if (lt(*b, *a)) {
                    *dest++ = *b++;
                    ++bcount;
                    acount = 0;
                    if (--nb == 0) goto succeed;
                    if (bcount >= min_gallop) break;
                } else {
                    *dest++ = *a++;
                    ++acount;
                    bcount = 0;
                    if (--na == 1) goto copy_b;
                    if (acount >= min_gallop) break;
                }
            }
            ++min_gallop;
            do {
                min_gallop -= min_gallop > 1;
                min_gallop_ = min_gallop;
                Index k = gallop_right(*b, a, na, 0);
                acount = k;
                if (k) {
                    dest = std::copy(a, a + k, dest);
                    a += k;
                    na -= k;
                    if (na == 1) goto copy_b;
                    // Only an inconsistent order empties a here.
                    if (na == 0) goto succeed;
                }
                *dest++ = *b++;
                if (--nb == 0) goto succeed;

                k = gallop_left(*a, b, nb, 0);
                bcount = k;
                if (k) {
                    dest = std::copy(b, b + k, dest);
                    b += k;
                    nb -= k;
                    if (nb == 0) goto succeed;
                }
                *dest++ = *a++;
                if (--na == 1) goto copy_b;
            } while (acount >= min_gallop_start || bcount >= min_gallop_start);
            ++min_gallop;
            min_gallop_ = min_gallop;
        }
    succeed:
        if (na) std::copy(a, a + na, dest);
        return;
    copy_b:
        dest = std::copy(b, b + nb, dest);
        *dest = *a;
    }

    // Merges b (copied aside) into place from the right; na > nb.
    void merge_hi(T* ssa, Index na, T* ssb, Index nb) {
        temp_.assign(ssb, ssb + nb);
        T* const basea = ssa;
        T* const baseb = temp_.data();
        T* dest = ssb + nb - 1;
        T* a = ssa + na - 1;
        T* b = baseb + nb - 1;
        Index min_gallop = min_gallop_;
        *dest-- = *a--;
        if (--na == 0) goto succeed;
        if (nb == 1) goto copy_a;
        for (;;) {
            Index acount = 0, bcount = 0;
            for (;;) {
                if (lt(*b, *a)) {
                    *dest-- = *a--;
                    ++acount;
                    bcount = 0;
                    if (--na == 0) goto succeed;
                    if (acount >= min_gallop) break;
                } else {
                    *dest-- = *b--;
                    ++bcount;
                    acount = 0;
                    if (--nb == 1) goto copy_a;
                    if (bcount >= min_gallop) break;
                }
            }
            ++min_gallop;
            do {
                min_gallop -= min_gallop > 1;
                min_gallop_ = min_gallop;
                Index k = na - gallop_right(*b, basea, na, na - 1);
                acount = k;
                if (k) {
                    dest -= k;
                    a -= k;
                    std::copy_backward(a + 1, a + 1 + k, dest + 1 + k);
                    na -= k;
                    if (na == 0) goto succeed;
                }
                *dest-- = *b--;
                if (--nb == 1) goto copy_a;

                k = nb - gallop_left(*a, baseb, nb, nb - 1);
                bcount = k;
                if (k) {
                    dest -= k;
                    b -= k;
                    std::copy(b + 1, b + 1 + k, dest + 1);
                    nb -= k;
                    if (nb == 1) goto copy_a;
                    // Only an inconsistent order empties b here.
                    if (nb == 0) goto succeed;
                }
                *dest-- = *a--;
                if (--na == 0) goto succeed;
            } while (acount >= min_gallop_start || bcount >= min_gallop_start);
            ++min_gallop;
            min_gallop_ = min_gallop;
        }
    succeed:
        if (nb) std::copy(baseb, baseb + nb, dest - (nb - 1));
        return;
    copy_a:
        dest -= na;
        a -= na;
        std::copy_backward(a + 1, a + 1 + na, dest + 1 + na);
        *dest = *b;
    }
};

}  // namespace zenolith::companion
