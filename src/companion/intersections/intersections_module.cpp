// The intersections family: which pairs meet and where, how far apart two
// objects are, and one object against whole arrays of points, all as entries
// of the module's class-keyed tables.
#include "companion/intersections/pair_entries.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion {

void register_intersections(Tables& t) {
    add_planar_intersections(t);
    add_spatial_intersections(t);
    add_solid_intersections(t);
    add_pair_distances(t);
    add_object_against_points(t);
}

}  // namespace zenolith::companion
