#pragma once
// A small site whose roofs' verdicts are known by construction: a pump house (10 m × 10 m,
// roof 10 m) with a 接闪带 0.5 m above its roof edges, across which the sphere sags
// 45 − √(45² − 5²) = 0.278 m, so the whole roof is covered; with `withStore` a store
// (10 m × 8 m, roof 6 m) with nothing on it, open to the sphere all over; and a rod and a
// wire far enough not to reach either (near the store, a wire would keep the sphere from
// resting on the roof edge that faces it).

#include "calc/sphere/site.h"

namespace tervalen::testing_sites {

inline sphere::Site pumpHouse(bool withStore) {
    sphere::Site s;
    s.hr = 45;
    const sphere::Point2 c[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    for (int i = 0; i < 4; ++i)
        s.conductors.push_back(
            {{c[i].x, c[i].y, 10.5}, {c[(i + 1) % 4].x, c[(i + 1) % 4].y, 10.5}});
    s.buildings.push_back({"泵房", {c[0], c[1], c[2], c[3]}, 0, 10, "建筑-外墙"});
    if (withStore) s.buildings.push_back({"库房", {{30, 0}, {40, 0}, {40, 8}, {30, 8}}, 0, 6});
    s.rods.push_back({150, 20, 0, 8});
    s.wires.push_back({{160, 0, 12}, {160, 40, 12}, 1.5});
    return s;
}

}  // namespace tervalen::testing_sites
