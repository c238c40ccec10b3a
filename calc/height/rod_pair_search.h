#pragma once
// The two searches behind the heights of two, three and four equal rods: first the
// lowest protection point Hm that gives the required width Bxo on the plane Hx, then the
// rod height whose lowest point midway between two rods a distance s apart reaches Hm.

#include <string_view>

#include "calc/common/arith.h"
#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "calc/sphere/form_check.h"

namespace tervalen {

struct RodPairHeight {
    float Hm;  // lowest point required between two neighbouring rods
    float Bx;  // width that Hm gives on the plane Hx (the first search's last step)
    float H;   // rod height whose lowest point reaches Hm
    float Ho;  // lowest point that H gives
    Working working;
    Warnings warnings;   // three rods: the centre, where the sphere rests on the three tips
    SphereCheck sphere;  // the press checked with the exact sphere (two and three rods)
};

struct RodPairSearch {
    float Hr, Bxo, Hx;
    float s;                     // distance between the two rods
    bool planeIsGround = false;  // the plane Hx is taken as the ground: Hm and H are above it
    // Whether each step's width and lowest point are stored as single precision before
    // they are compared, or compared as computed in double precision.
    bool compareStored = true;
    std::string_view spacing = "D";  // the distance's symbol in the working
};

// Both searches, each from 0 in steps of 0.01 up to Hr + 0.01; either one exhausted
// refuses with the same message.
Outcome<RodPairHeight> searchRodPair(const RodPairSearch& in);

// The refusal of rods too far apart for the height found: 2·reach(H), stored as single
// precision, must be greater than the spacing.
bool spacingCovered(float H, float Hr, float spacing);
// The same test as passed, appended to a working: "D = 20 < Dmax = 40.70074".
void noteSpacingCovered(float H, float Hr, float spacing, std::string_view symbol,
                        Working& working);

}  // namespace tervalen
