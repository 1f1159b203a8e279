#include "tools/artwork/palette.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace MX::artwork {

namespace {

int channel(std::uint32_t c, int which) { return static_cast<int>(c >> (16 - 8 * which) & 0xFF); }

struct Weighted {
    std::uint32_t colour;
    std::size_t count;
};

// Splits the widest box along its widest channel at the weighted median until
// there are `boxes` boxes; each box becomes its weighted mean colour.
std::vector<std::uint32_t> medianCut(std::vector<Weighted> colours, std::size_t boxes) {
    std::vector<std::vector<Weighted>> parts;
    if (!colours.empty()) parts.push_back(std::move(colours));
    auto spread = [](const std::vector<Weighted>& part, int& widest) {
        int best = -1;
        for (int ch = 0; ch < 3; ++ch) {
            const auto [lo, hi] =
                std::minmax_element(part.begin(), part.end(), [ch](const Weighted& a, const Weighted& b) {
                    return channel(a.colour, ch) < channel(b.colour, ch);
                });
            const int range = channel(hi->colour, ch) - channel(lo->colour, ch);
            if (range > best) best = range, widest = ch;
        }
        return best;
    };
    while (parts.size() < boxes) {
        std::size_t pick = parts.size();
        int pickRange = 0, pickChannel = 0;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            int ch = 0;
            const int range = parts[i].size() > 1 ? spread(parts[i], ch) : 0;
            if (range > pickRange) pick = i, pickRange = range, pickChannel = ch;
        }
        if (pick == parts.size()) break;  // nothing left to split
        std::vector<Weighted>& part = parts[pick];
        std::sort(part.begin(), part.end(), [pickChannel](const Weighted& a, const Weighted& b) {
            return channel(a.colour, pickChannel) < channel(b.colour, pickChannel);
        });
        std::size_t total = 0;
        for (const Weighted& w : part) total += w.count;
        std::size_t running = 0, cut = 1;
        for (; cut < part.size(); ++cut) {
            running += part[cut - 1].count;
            if (running * 2 >= total) break;
        }
        std::vector<Weighted> upper(part.begin() + static_cast<std::ptrdiff_t>(cut), part.end());
        part.resize(cut);
        parts.push_back(std::move(upper));
    }
    std::vector<std::uint32_t> result;
    for (const auto& part : parts) {
        double sum[3] = {0, 0, 0}, weight = 0;
        for (const Weighted& w : part) {
            for (int ch = 0; ch < 3; ++ch) sum[ch] += channel(w.colour, ch) * static_cast<double>(w.count);
            weight += static_cast<double>(w.count);
        }
        std::uint32_t c = 0xFF000000u;
        for (int ch = 0; ch < 3; ++ch)
            c |= static_cast<std::uint32_t>(sum[ch] / weight + 0.5) << (16 - 8 * ch);
        result.push_back(c);
    }
    return result;
}

std::size_t nearest(std::uint32_t colour, const std::vector<std::uint32_t>& palette) {
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        long d = 0;
        for (int ch = 0; ch < 3; ++ch) {
            const long diff = channel(colour, ch) - channel(palette[i], ch);
            d += diff * diff;
        }
        if (bestDistance < 0 || d < bestDistance) best = i, bestDistance = d;
        if (d == 0) break;
    }
    return best;
}

}  // namespace

std::vector<std::uint32_t> buildPalette(const std::vector<const toolkit::PixelImage*>& images,
                                        const std::vector<std::uint32_t>& exact, std::size_t maxColours) {
    std::map<std::uint32_t, std::size_t> counts;
    for (const toolkit::PixelImage* image : images) {
        for (std::uint32_t p : image->pixels) ++counts[p | 0xFF000000u];
    }
    std::vector<std::uint32_t> palette;
    for (std::uint32_t c : exact) {
        if (std::find(palette.begin(), palette.end(), c | 0xFF000000u) == palette.end())
            palette.push_back(c | 0xFF000000u);
    }
    std::vector<Weighted> rest;
    for (const auto& [colour, count] : counts) {
        if (std::find(palette.begin(), palette.end(), colour) == palette.end())
            rest.push_back({colour, count});
    }
    if (palette.size() > maxColours) throw std::runtime_error("more exact colours than palette entries");
    if (palette.size() + rest.size() <= maxColours) {
        for (const Weighted& w : rest) palette.push_back(w.colour);
        return palette;
    }
    // Flat areas stay exact: the most used quarter of the entries.
    std::sort(rest.begin(), rest.end(),
              [](const Weighted& a, const Weighted& b) { return a.count > b.count; });
    const std::size_t keep = std::min(rest.size(), (maxColours - palette.size()) / 4);
    for (std::size_t i = 0; i < keep; ++i) palette.push_back(rest[i].colour);
    rest.erase(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(keep));
    for (std::uint32_t c : medianCut(std::move(rest), maxColours - palette.size())) {
        if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
    }
    return palette;
}

IndexedImage indexImage(const toolkit::PixelImage& image, const std::vector<std::uint32_t>& palette) {
    std::vector<std::size_t> full(image.pixels.size());
    std::vector<int> remap(palette.size(), -1);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        full[i] = nearest(image.pixels[i] | 0xFF000000u, palette);
        remap[full[i]] = 0;
    }
    IndexedImage out{image.width, image.height, {}, std::vector<std::uint8_t>(image.pixels.size())};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (remap[i] < 0) continue;
        remap[i] = static_cast<int>(out.palette.size());
        out.palette.push_back(palette[i]);
    }
    if (out.palette.size() > 256) throw std::runtime_error("image needs more than 256 colours");
    for (std::size_t i = 0; i < full.size(); ++i) out.indices[i] = static_cast<std::uint8_t>(remap[full[i]]);
    return out;
}

toolkit::PixelImage expand(const IndexedImage& image) {
    toolkit::PixelImage out{image.width, image.height, std::vector<std::uint32_t>(image.indices.size())};
    for (std::size_t i = 0; i < image.indices.size(); ++i) out.pixels[i] = image.palette[image.indices[i]];
    return out;
}

}  // namespace MX::artwork
