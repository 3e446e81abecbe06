// Median cut with k-means refinement; nearest-colour mapping.
#include "quantize.h"

#include <algorithm>
#include <array>
#include <limits>

namespace artgen {

namespace {

// Squared-error weights per channel: green counts most, blue least, as the eye sees them.
constexpr std::array<double, 3> kWeight = {3, 4, 2};

struct Entry {
    std::array<int, 3> c;
    std::uint32_t key;
    double count;
};

struct Box {
    std::size_t begin, end;
    double error;
};

std::uint32_t Key(const Rgb8& c) { return (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b; }

Rgb8 ToRgb8(const Rgb& c) { return {ToByte(c.r), ToByte(c.g), ToByte(c.b)}; }

std::vector<Entry> Histogram(const std::vector<std::uint32_t>& keys) {
    std::vector<std::uint32_t> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t j = i;
        while (j < sorted.size() && sorted[j] == sorted[i]) ++j;
        const std::uint32_t k = sorted[i];
        entries.push_back({{int(k >> 16), int((k >> 8) & 255), int(k & 255)}, k, double(j - i)});
        i = j;
    }
    return entries;
}

// Weighted squared error of a box around its mean, summed over the channels.
double BoxError(const std::vector<Entry>& e, std::size_t begin, std::size_t end) {
    double n = 0;
    std::array<double, 3> s{}, s2{};
    for (std::size_t i = begin; i < end; ++i) {
        n += e[i].count;
        for (int a = 0; a < 3; ++a) {
            s[a] += e[i].count * e[i].c[a];
            s2[a] += e[i].count * e[i].c[a] * e[i].c[a];
        }
    }
    double err = 0;
    for (int a = 0; a < 3; ++a) err += kWeight[a] * (s2[a] - s[a] * s[a] / n);
    return err;
}

int WidestAxis(const std::vector<Entry>& e, const Box& box) {
    std::array<double, 3> err{};
    for (int a = 0; a < 3; ++a) {
        double n = 0, s = 0, s2 = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            n += e[i].count;
            s += e[i].count * e[i].c[a];
            s2 += e[i].count * e[i].c[a] * e[i].c[a];
        }
        err[a] = kWeight[a] * (s2 - s * s / n);
    }
    return err[0] >= err[1] && err[0] >= err[2] ? 0 : (err[1] >= err[2] ? 1 : 2);
}

// Sorts the box along the axis and returns the split that leaves the least variance.
std::size_t SplitPoint(std::vector<Entry>& e, const Box& box, int axis) {
    std::sort(e.begin() + box.begin, e.begin() + box.end, [axis](const Entry& x, const Entry& y) {
        return x.c[axis] != y.c[axis] ? x.c[axis] < y.c[axis] : x.key < y.key;
    });
    double totalN = 0, totalS = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) {
        totalN += e[i].count;
        totalS += e[i].count * e[i].c[axis];
    }
    double n = 0, s = 0, best = -1;
    std::size_t at = box.begin + 1;
    for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
        n += e[i].count;
        s += e[i].count * e[i].c[axis];
        // Between-group variance: the larger it is, the less is left inside the halves.
        const double rn = totalN - n, rs = totalS - s;
        const double gain = s * s / n + rs * rs / rn;
        if (gain > best) {
            best = gain;
            at = i + 1;
        }
    }
    return at;
}

std::vector<Box> MedianCut(std::vector<Entry>& e, int colours) {
    std::vector<Box> boxes{{0, e.size(), BoxError(e, 0, e.size())}};
    while (static_cast<int>(boxes.size()) < colours) {
        int pick = -1;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].end - boxes[i].begin > 1 && (pick < 0 || boxes[i].error > boxes[pick].error))
                pick = static_cast<int>(i);
        if (pick < 0) break;
        const Box box = boxes[pick];
        const std::size_t at = SplitPoint(e, box, WidestAxis(e, box));
        boxes[pick] = {box.begin, at, BoxError(e, box.begin, at)};
        boxes.push_back({at, box.end, BoxError(e, at, box.end)});
    }
    return boxes;
}

double Distance(const std::array<double, 3>& p, const std::array<int, 3>& c) {
    double d = 0;
    for (int a = 0; a < 3; ++a) d += kWeight[a] * (p[a] - c[a]) * (p[a] - c[a]);
    return d;
}

std::size_t Nearest(const std::vector<std::array<double, 3>>& centres, const std::array<int, 3>& c) {
    std::size_t best = 0;
    double bestD = std::numeric_limits<double>::max();
    for (std::size_t k = 0; k < centres.size(); ++k) {
        const double d = Distance(centres[k], c);
        if (d < bestD) {
            bestD = d;
            best = k;
        }
    }
    return best;
}

void RefineKMeans(const std::vector<Entry>& e, std::vector<std::array<double, 3>>& centres, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::array<double, 4>> acc(centres.size(), {0, 0, 0, 0});
        for (const Entry& entry : e) {
            auto& a = acc[Nearest(centres, entry.c)];
            for (int c = 0; c < 3; ++c) a[c] += entry.count * entry.c[c];
            a[3] += entry.count;
        }
        for (std::size_t k = 0; k < centres.size(); ++k)
            if (acc[k][3] > 0)
                for (int c = 0; c < 3; ++c) centres[k][c] = acc[k][c] / acc[k][3];
    }
}

std::vector<Rgb8> BuildPalette(std::vector<Entry> e, int colours) {
    std::vector<std::array<double, 3>> centres;
    for (const Box& box : MedianCut(e, colours)) {
        std::array<double, 4> acc{0, 0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i) {
            for (int c = 0; c < 3; ++c) acc[c] += e[i].count * e[i].c[c];
            acc[3] += e[i].count;
        }
        centres.push_back({acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3]});
    }
    RefineKMeans(e, centres, 6);
    std::vector<Rgb8> palette;
    for (const auto& c : centres)
        palette.push_back({ToByte(c[0] / 255), ToByte(c[1] / 255), ToByte(c[2] / 255)});
    // Dark to light, so that a palette reads like a ramp in a viewer.
    std::sort(palette.begin(), palette.end(), [](const Rgb8& a, const Rgb8& b) {
        const int la = 3 * a.r + 4 * a.g + 2 * a.b, lb = 3 * b.r + 4 * b.g + 2 * b.b;
        return la != lb ? la < lb : Key(a) < Key(b);
    });
    // A picture with fewer colours than asked for repeats its last colour.
    while (static_cast<int>(palette.size()) < colours) palette.push_back(palette.back());
    return palette;
}

}  // namespace

IndexedImage MapToPalette(const Image& image, const std::vector<Rgb8>& palette) {
    IndexedImage out{image.width, image.height, palette, {}};
    std::vector<std::array<double, 3>> centres;
    for (const Rgb8& p : palette) centres.push_back({double(p.r), double(p.g), double(p.b)});
    std::vector<std::uint32_t> keys;
    for (const Rgb& px : image.pixels) keys.push_back(Key(ToRgb8(px)));
    const std::vector<Entry> entries = Histogram(keys);
    std::vector<std::uint8_t> nearest;
    for (const Entry& e : entries) nearest.push_back(static_cast<std::uint8_t>(Nearest(centres, e.c)));
    for (std::uint32_t k : keys) {
        auto it = std::lower_bound(entries.begin(), entries.end(), k,
                                   [](const Entry& e, std::uint32_t key) { return e.key < key; });
        out.indices.push_back(nearest[static_cast<std::size_t>(it - entries.begin())]);
    }
    return out;
}

IndexedImage Quantize(const Image& image, int colours) {
    std::vector<std::uint32_t> keys;
    for (const Rgb& px : image.pixels) keys.push_back(Key(ToRgb8(px)));
    return MapToPalette(image, BuildPalette(Histogram(keys), colours));
}

Image Expand(const IndexedImage& image) {
    Image out(image.width, image.height);
    for (std::size_t i = 0; i < image.indices.size(); ++i) {
        const Rgb8& p = image.palette[image.indices[i]];
        out.pixels[i] = Bytes(p.r, p.g, p.b);
    }
    return out;
}

}  // namespace artgen
