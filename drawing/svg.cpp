#include "drawing/svg.h"

#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>

#include "drawing/number_text.h"

namespace tervalen::drawing {
namespace {

std::string colourOf(unsigned rgb) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06x", rgb & 0xffffffu);
    return buf;
}

std::string n(double v) {
    return numberText(v, 6, 1e-9);
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

// y turned to point down, as SVG has it.
std::string pt(Point p) {
    return n(p.x) + ' ' + n(-p.y);
}

void shape(std::ostringstream& o, const Item& item, double th) {
    const double width = item.warning                  ? th * 0.12
                         : item.stroke == Stroke::Thin ? th * 0.03
                                                       : th * 0.07;
    const std::string colour = colourOf(isWarning(item) ? kWarnRgb : styleOf(item.layer).rgb);
    std::string style = "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"" + n(width) + '"';
    if (item.stroke == Stroke::Dashed)
        style += " stroke-dasharray=\"" + n(th) + ' ' + n(th / 2) + '"';
    if (const auto* l = std::get_if<Line>(&item.shape)) {
        o << "<path d=\"M " << pt(l->a) << " L " << pt(l->b) << "\" " << style << "/>\n";
    } else if (const auto* c = std::get_if<Circle>(&item.shape)) {
        o << "<circle cx=\"" << n(c->c.x) << "\" cy=\"" << n(-c->c.y) << "\" r=\"" << n(c->r)
          << "\" " << style << "/>\n";
    } else if (const auto* a = std::get_if<Arc>(&item.shape)) {
        const double span = arcSpan(*a);
        // Counter-clockwise in the drawing stays so on the page: sweep flag 0 with y down.
        o << "<path d=\"M " << pt(onCircle(a->c, a->r, a->startDeg)) << " A " << n(a->r) << ' '
          << n(a->r) << " 0 " << (span > 180 ? 1 : 0) << " 0 "
          << pt(onCircle(a->c, a->r, a->endDeg)) << "\" " << style << "/>\n";
    } else if (const auto* p = std::get_if<Polyline>(&item.shape)) {
        o << "<path d=\"";
        for (std::size_t i = 0; i < p->points.size(); ++i)
            o << (i ? " L " : "M ") << pt(p->points[i]);
        o << (p->closed ? " Z" : "") << "\" " << style << "/>\n";
    } else if (const auto* h = std::get_if<Hatch>(&item.shape)) {
        // A light fill under the lines, by the even-odd rule (holes stay open).
        std::string d;
        for (const auto& ring : h->rings) {
            if (ring.size() < 3) continue;
            for (std::size_t i = 0; i < ring.size(); ++i)
                d += (i ? " L " : d.empty() ? "M " : " M ") + pt(ring[i]);
            d += " Z";
        }
        o << "<path d=\"" << d;
        o << "\" fill=\"" << colour << "\" fill-opacity=\"" << n(kHatchOpacity)
          << "\" fill-rule=\"evenodd\" stroke=\"none\"/>\n";
    } else if (const auto* t = std::get_if<Text>(&item.shape)) {
        const char* anchor = t->align == Align::Left     ? "start"
                             : t->align == Align::Centre ? "middle"
                                                         : "end";
        o << "<text x=\"" << n(t->at.x) << "\" y=\"" << n(-t->at.y) << "\" font-size=\""
          << n(t->height * kEmPerCapHeight) << "\" text-anchor=\"" << anchor << "\" fill=\""
          << colour << "\">" << escaped(t->text) << "</text>\n";
    }
}

}  // namespace

std::string toSvg(const Drawing& d) {
    const Box b = d.bounds().value_or(Box{0, 0, 1, 1});
    const double margin = d.margin();
    const double w = b.width() + 2 * margin, h = b.height() + 2 * margin;
    // About 1600 px across the longer side when shown at its natural size.
    const double px = 1600 / std::max(w, h);
    std::ostringstream o;
    o.imbue(std::locale::classic());
    o << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << n(w * px) << "\" height=\""
      << n(h * px) << "\" viewBox=\"" << n(b.x0 - margin) << ' ' << n(-b.y1 - margin) << ' ' << n(w)
      << ' ' << n(h) << "\" font-family=\"AR PL UMing CN, SimSun, sans-serif\">\n"
      << "<title>" << escaped(d.title) << "（单位：米）</title>\n"
      << "<rect x=\"" << n(b.x0 - margin) << "\" y=\"" << n(-b.y1 - margin) << "\" width=\"" << n(w)
      << "\" height=\"" << n(h) << "\" fill=\"white\"/>\n";
    for (Layer layer : kLayers) {
        o << "<g id=\"" << layerName(layer) << "\">\n";
        for (const Item& item : d.items)
            if (item.layer == layer) shape(o, item, d.textHeight);
        o << "</g>\n";
    }
    o << "</svg>\n";
    return o.str();
}

}  // namespace tervalen::drawing
