// SVG, PDF and EPS, written out by hand: each is a handful of lines around the dark runs.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "render/writers.h"

namespace tirrel::render {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;

// Locale-independent, at most `decimals` decimals, no trailing zeros.
std::string Num(double v, int decimals = 4) {
    char buf[64];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string s(buf, ec == std::errc() ? end : buf);
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string Num(int64_t v) {
    return std::to_string(v);
}

std::string HexColour(Rgba c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

// An SVG paint: the colour, and its opacity when not opaque.
std::string SvgFill(Rgba c) {
    std::string s = "fill=\"" + HexColour(c) + "\"";
    if (c.a != 255) s += " fill-opacity=\"" + Num(c.a / 255.0) + "\"";
    return s;
}

// PDF and PostScript colour operands.
std::string Rgb(Rgba c) {
    return Num(c.r / 255.0) + " " + Num(c.g / 255.0) + " " + Num(c.b / 255.0);
}

double SidePoints(const Options& o) {
    return o.sizeMm * kPointsPerMm;
}

}  // namespace

void ForEachDarkRun(Modules m, int quietZone,
                    const std::function<void(int64_t x, int64_t y, int64_t length)>& run) {
    for (int row = 0; row < m.width; ++row)
        ForEachDarkRunInRow(m, row, [&](int start, int end) {
            run(int64_t(quietZone) + start, int64_t(quietZone) + row, end - start);
        });
}

std::string BuildSvg(Modules m, const Options& o) {
    const std::string side = Num(PaddedSide(m.width, o));
    const std::string pixels = Num(PaddedSide(m.width, o) * o.moduleSize);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
        pixels + "\" height=\"" + pixels + "\" viewBox=\"0 0 " + side + " " + side +
        "\" shape-rendering=\"crispEdges\">\n";
    if (o.light.a != 0)
        svg += "<rect width=\"" + side + "\" height=\"" + side + "\" " + SvgFill(o.light) + "/>\n";
    svg += "<path " + SvgFill(o.dark) + " d=\"";
    ForEachDarkRun(m, o.quietZone, [&](int64_t x, int64_t y, int64_t n) {
        svg += "M" + Num(x) + " " + Num(y) + "h" + Num(n) + "v1h-" + Num(n) + "z";
    });
    svg += "\"/>\n</svg>\n";
    return svg;
}

// One page the size of the symbol. Module coordinates run down from the top left, so the
// content flips the page's axis once; each colour has its own graphics state for its alpha.
std::string BuildPdf(Modules m, const Options& o) {
    const double page = SidePoints(o);
    const double unit = page / double(PaddedSide(m.width, o));
    std::string content = "q\n/Light gs " + Rgb(o.light) + " rg\n";
    if (o.light.a != 0) content += "0 0 " + Num(page) + " " + Num(page) + " re f\n";
    content += Num(unit, 6) + " 0 0 " + Num(-unit, 6) + " 0 " + Num(page) + " cm\n/Dark gs " +
               Rgb(o.dark) + " rg\n";
    ForEachDarkRun(m, o.quietZone, [&](int64_t x, int64_t y, int64_t n) {
        content += Num(x) + " " + Num(y) + " " + Num(n) + " 1 re\n";
    });
    content += "f\nQ\n";

    const std::string box = "[0 0 " + Num(page) + " " + Num(page) + "]";
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox " + box +
            " /Resources << /ExtGState << /Dark << /ca " + Num(o.dark.a / 255.0) +
            " >> /Light << /ca " + Num(o.light.a / 255.0) + " >> >> >> /Contents 4 0 R >>",
        "<< /Length " + Num(int64_t(content.size())) + " >>\nstream\n" + content + "endstream",
    };
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t at : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", at);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// PostScript has no transparency: the colours are drawn as they show over white, and a
// fully transparent light leaves the background unpainted.
std::string BuildEps(Modules m, const Options& o) {
    const double page = SidePoints(o);
    const double unit = page / double(PaddedSide(m.width, o));
    std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 " +
                      Num(int64_t(std::ceil(page))) + " " + Num(int64_t(std::ceil(page))) +
                      "\n%%HiResBoundingBox: 0 0 " + Num(page) + " " + Num(page) +
                      "\n%%Creator: tirrel\n%%LanguageLevel: 2\n%%EndComments\ngsave\n";
    if (o.light.a != 0)
        eps += Rgb(OverWhite(o.light)) + " setrgbcolor 0 0 " + Num(page) + " " + Num(page) +
               " rectfill\n";
    eps += "0 " + Num(page) + " translate " + Num(unit, 6) + " " + Num(-unit, 6) + " scale\n" +
           Rgb(OverWhite(o.dark)) + " setrgbcolor\n/R { 1 rectfill } bind def\n";
    ForEachDarkRun(m, o.quietZone, [&](int64_t x, int64_t y, int64_t n) {
        eps += Num(x) + " " + Num(y) + " " + Num(n) + " R\n";
    });
    eps += "grestore\n%%EOF\n";
    return eps;
}

}  // namespace tirrel::render
