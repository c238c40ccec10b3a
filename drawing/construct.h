#pragma once
// The constructions the drawings are made of, in metres: the rolling sphere's boundary
// arcs, the upper edge between two tips, the protected waist in plan, and the marks,
// dimensions and labels around them. The heights and reaches come from the same
// reach() and lowest() the units compute with.

#include <string>
#include <vector>

#include "calc/common/warning.h"
#include "drawing/model.h"

namespace tervalen::drawing {

// A value as a result box prints it, without the blank before a positive number.
std::string num(float value);
std::string num(double value);

// Angle of p seen from c, in degrees within [0, 360).
double angleOf(Point c, Point p);

// The boundary of the range beside a rod or wire standing at x whose top is h above the
// level `base` the sphere rolls on: an arc of radius Hr, centred at height base + Hr,
// from the top (or, for a wire above the sphere radius, from the highest protected
// point 2Hr − h) down to where it touches the base, on the side `side` (+1 right, −1
// left). Its centre is marked as construction. Returns the reach: where it touches.
double boundaryArc(Drawing& d, double x, double base, double h, double Hr, int side,
                   Stroke stroke = Stroke::Solid);

// The upper edge between two tips h above `base` at xa < xb: an arc centred on the centre
// line at height base + Hr, of radius √((Hr − h)² + (D/2)²), through both tips. Its
// centre is marked. Returns its lowest point above the base.
double upperEdge(Drawing& d, double xa, double xb, double base, double h, double Hr);

// The waist and the strip are drawn on the construction layer, the area between the line
// a→b and each curve claimed protected (Drawing::claimed), withdrawn where the unit found
// the sphere reaching one of the places `withdrawnBy`.
// The protected waist in plan between rods at a and b of height h above the ground the
// sphere rolls on: at each point of the line between them, the width on the plane Hx of
// the sphere resting on the upper edge there, reach(edge) − reachHx. At a rod it is Rx,
// midway it is Bx. side: +1 the left of a→b, −1 the right, 0 both. Where the edge lies
// below the plane (no width) nothing is drawn.
void waist(Drawing& d, Point a, Point b, double h, double Hr, double reachHx, int side,
           const std::vector<Place>& withdrawnBy);

// The protected strip along a sagging wire in plan, from a to b: its height falls from
// H at the supports to H − sag at mid-span (a parabola), and the half-width at each point
// is reach(height) − reachHx. side as for waist().
void strip(Drawing& d, Point a, Point b, double H, double sag, double Hr, double reachHx, int side,
           const std::vector<Place>& withdrawnBy);

// A range circle in plan (the radius a closed formula gives on the plane Hx): drawn on
// the construction layer, its disc claimed protected (Drawing::claimed) as a polygon
// inscribed in it. Nothing for a radius of zero or less.
void rangeCircle(Drawing& d, Point c, double r, const std::vector<Place>& withdrawnBy = {});
// An area the closed formulas claim protected (a figure's inside), not drawn.
void claimPolygon(Drawing& d, std::vector<Point> ring, const std::vector<Place>& withdrawnBy);

void cross(Drawing& d, Point p, double size, Layer layer);
void rodMark(Drawing& d, Point p, double size);

// Dimensions: a line with oblique ticks at its ends and its label beside it.
void hDim(Drawing& d, double xa, double xb, double y, const std::string& text, double th);
void vDim(Drawing& d, double x, double ya, double yb, const std::string& text, double th);
// A dimension along any direction, label at its middle.
void dim(Drawing& d, Point a, Point b, const std::string& text, double th);

void label(Drawing& d, Point at, std::string text, double th, Align align = Align::Left,
           bool warning = false);

// A stretch of the plane Hx that the sphere reaches, seen in a section: a red line on it.
void uncoveredStretch(Drawing& d, double xa, double xb, double Hx);

// The weak points in a plan: each marked in red at the places `at` gives for it (a ring
// with a cross; the first of them labelled "Hx 高度该处无保护"), and each stated in full
// in red under the plan. A weak point with no place in this plan is stated only.
struct WeakPlace {
    Place place;
    std::vector<Point> at;
};
void markWeakPoints(Drawing& plan, const Warnings& warnings, const std::vector<WeakPlace>& places);

// Moves every item.
void translate(Drawing& d, double dx, double dy);
// Appends `part` below the items of `d`, `gap` under their lowest point, and its top
// edge at y = top at most: used to put the plan below the section. The parts of `part`
// come after those of `d`.
void appendBelow(Drawing& d, Drawing part, double gap);

// The title above everything and a scale bar of a round length below everything.
void frame(Drawing& d, const std::string& title);

}  // namespace tervalen::drawing
