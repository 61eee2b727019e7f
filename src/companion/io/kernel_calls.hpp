// The kernel's own queries of an object at a point, as function objects, so
// that the double loops and the exact predicates call the same member
// functions. Each returns what the kernel returns; the caller converts.
#pragma once

namespace zenolith::companion {

struct OrientedSide {
    template <class S, class P>
    auto operator()(const S& shape, const P& p) const { return shape.oriented_side(p); }
};
struct BoundedSide {
    template <class S, class P>
    auto operator()(const S& shape, const P& p) const { return shape.bounded_side(p); }
};
struct HasOn {
    template <class S, class P>
    bool operator()(const S& shape, const P& p) const { return shape.has_on(p); }
};
struct Projection {
    template <class S, class P>
    auto operator()(const S& shape, const P& p) const { return shape.projection(p); }
};

// A free function as such a function object: Call<&f>{}(shape, p) is f(shape, p).
template <auto F>
struct Call {
    template <class... A>
    auto operator()(const A&... a) const { return F(a...); }
};

}  // namespace zenolith::companion
