#include "platform/pdf/PdfJbig2_p.h"

#include "platform/pdf/PdfMqCoder_p.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numeric>
#include <tuple>
#include <unordered_map>

namespace platform {

namespace {

// Bands beyond this many pixels or runs of ink stay with the other coding: it keeps the memory that
// labelling takes to some tens of megabytes and counts well inside 32 bits.
constexpr uint64_t kMaxBandPixels = uint64_t(1) << 26;
constexpr size_t kMaxRuns = size_t(1) << 21;
// Boxes of a band's patches of ink may overlap (a frame round text): their areas together beyond
// this many times the band's are a picture better left to the other coding.
constexpr uint64_t kMaxBoxAreaPerBand = 4;

// A run of ink [x0, x1) on row y.
struct Run {
    int x0, x1, y;
};

// A shape of ink, rows of (w + 7) / 8 bytes, the first pixel in the top bit; 1 is ink.
struct Symbol {
    int w = 0, h = 0;
    std::vector<uint8_t> bits;
    int next = -1; // the next symbol of the same hash
};

struct Placed {
    int x = 0, y = 0;
    int symbol = 0;
};

// The sheet's shapes, each kept once.
struct SymbolTable {
    std::vector<Symbol> symbols;
    std::unordered_map<uint64_t, int> byHash; // the first symbol of each hash

    // The symbol of a shape of w by h whose rows are bits, added when new.
    int Find(int w, int h, const std::vector<uint8_t> &bits)
    {
        uint64_t hash = (uint64_t(w) << 32 | uint64_t(h)) * 0x9E3779B97F4A7C15ull;
        for (uint8_t b : bits)
            hash = (hash ^ b) * 1099511628211ull;
        auto [it, fresh] = byHash.emplace(hash, int(symbols.size()));
        if (!fresh) {
            for (int i = it->second;; i = symbols[size_t(i)].next) {
                const Symbol &known = symbols[size_t(i)];
                if (known.w == w && known.h == h && known.bits == bits)
                    return i;
                if (known.next < 0) {
                    symbols[size_t(i)].next = int(symbols.size());
                    break;
                }
            }
        }
        symbols.push_back({w, h, bits, -1});
        return int(symbols.size() - 1);
    }
};

// Union-find over runs, without recursion.
int Root(std::vector<int> &parent, int i)
{
    while (parent[size_t(i)] != i) {
        parent[size_t(i)] = parent[size_t(parent[size_t(i)])];
        i = parent[size_t(i)];
    }
    return i;
}

// Appends the runs of ink of a row, packed 64 pixels a word with the first in the top bit and white
// beyond the row's end, to runs; false when that would make more than kMaxRuns.
bool AppendRuns(const std::vector<uint64_t> &words, int width, int y, std::vector<Run> &runs)
{
    int start = -1; // of the run open at the word's start
    for (size_t k = 0; k < words.size(); ++k) {
        const uint64_t v = words[k];
        if (v == (start < 0 ? 0 : ~uint64_t(0)))
            continue;
        const int base = int(k * 64);
        for (int bit = 0; bit < 64;) {
            // Ink begins where the word has its next one, and ends where the inverted word has.
            const uint64_t rest = (start < 0 ? v : ~v) << bit;
            if (rest == 0)
                break;
            bit += std::countl_zero(rest);
            if (start < 0) {
                start = base + bit;
            } else {
                if (runs.size() == kMaxRuns)
                    return false;
                runs.push_back({start, base + bit, y});
                start = -1;
            }
        }
    }
    if (start < 0)
        return true;
    if (runs.size() == kMaxRuns)
        return false;
    runs.push_back({start, width, y});
    return true;
}

void SetPixels(uint8_t *row, int a, int b)
{
    const int first = a >> 3, last = (b - 1) >> 3;
    const uint8_t head = uint8_t(0xFF >> (a & 7)), tail = uint8_t(0xFF << (7 - ((b - 1) & 7)));
    if (first == last) {
        row[first] |= head & tail;
        return;
    }
    row[first] |= head;
    std::memset(row + first + 1, 0xFF, size_t(last - first - 1));
    row[last] |= tail;
}

// The band's patches of ink (8-connected), each a symbol of the table placed at its box, and its
// runs of ink counted; false when the band is too large or its patches' boxes too big for symbols
// to pay.
bool Label(const Jbig2Band &band, SymbolTable &table, std::vector<Placed> &placed, size_t &runCount)
{
    const int w = band.width, h = band.height;
    if (w <= 0 || h <= 0 || uint64_t(w) * uint64_t(h) > kMaxBandPixels || !band.bits)
        return false;
    const size_t rowBytes = (size_t(w) + 7) / 8;
    std::vector<uint64_t> words((size_t(w) + 63) / 64);
    const uint64_t tailMask = w % 64 ? ~uint64_t(0) << (64 - w % 64) : ~uint64_t(0);
    std::vector<Run> runs;
    std::vector<int> parent;
    const uint64_t flip = band.blackIsOne ? 0 : ~uint64_t(0);
    size_t above = 0; // the first run of the row above
    for (int y = 0; y < h; ++y) {
        const uchar *src = band.bits + qsizetype(y) * band.stride;
        const size_t whole = rowBytes / 8;
        for (size_t k = 0; k < whole; ++k) {
            uint64_t v;
            std::memcpy(&v, src + 8 * k, 8);
            words[k] = __builtin_bswap64(v) ^ flip;
        }
        if (whole < words.size()) {
            uint64_t v = 0;
            std::memcpy(&v, src + 8 * whole, rowBytes - 8 * whole);
            words[whole] = __builtin_bswap64(v) ^ flip;
        }
        words.back() &= tailMask;
        const size_t first = runs.size();
        if (!AppendRuns(words, w, y, runs))
            return false;
        for (size_t r = first; r < runs.size(); ++r)
            parent.push_back(int(r));
        // Runs of the row above that touch, corners included.
        size_t i = above;
        for (size_t j = first; j < runs.size(); ++j) {
            while (i < first && runs[i].x1 < runs[j].x0)
                ++i;
            // The run's root, kept as it joins: the smaller of two roots becomes the other's parent.
            int root = int(j);
            for (size_t k = i; k < first && runs[k].x0 <= runs[j].x1; ++k) {
                const int other = Root(parent, int(k));
                if (other != root) {
                    parent[size_t(std::max(other, root))] = std::min(other, root);
                    root = std::min(other, root);
                }
            }
        }
        above = first;
    }
    runCount = runs.size();
    if (runs.empty())
        return false;

    struct Box {
        int x0, y0, x1, y1; // inclusive
    };
    // A run's parent comes before it, so its component is known by the time the run's is asked.
    std::vector<int> component(runs.size(), -1);
    std::vector<Box> boxes;
    for (size_t r = 0; r < runs.size(); ++r) {
        const int up = parent[r];
        int c = up == int(r) ? -1 : component[size_t(up)];
        if (c < 0) {
            c = int(boxes.size());
            boxes.push_back({runs[r].x0, runs[r].y, runs[r].x1 - 1, runs[r].y});
        }
        Box &b = boxes[size_t(c)];
        b.x0 = std::min(b.x0, runs[r].x0);
        b.x1 = std::max(b.x1, runs[r].x1 - 1);
        b.y1 = runs[r].y; // runs come row by row
        component[r] = c;
    }
    uint64_t area = 0;
    for (const Box &b : boxes)
        area += uint64_t(b.x1 - b.x0 + 1) * uint64_t(b.y1 - b.y0 + 1);
    if (area > kMaxBoxAreaPerBand * uint64_t(w) * uint64_t(h))
        return false;

    // Runs by component, each component's shape drawn in one reused bitmap.
    std::vector<int> start(boxes.size() + 1, 0), order(runs.size());
    for (int c : component)
        ++start[size_t(c) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<int> at(start.begin(), start.end() - 1);
    for (size_t r = 0; r < runs.size(); ++r)
        order[size_t(at[size_t(component[r])]++)] = int(r);
    std::vector<uint8_t> shape;
    placed.reserve(boxes.size());
    for (size_t c = 0; c < boxes.size(); ++c) {
        const Box &b = boxes[c];
        const int sw = b.x1 - b.x0 + 1, sh = b.y1 - b.y0 + 1;
        const size_t stride = (size_t(sw) + 7) / 8;
        shape.assign(stride * size_t(sh), 0);
        for (int k = start[c]; k < start[c + 1]; ++k) {
            const Run &run = runs[size_t(order[size_t(k)])];
            SetPixels(shape.data() + size_t(run.y - b.y0) * stride, run.x0 - b.x0, run.x1 - b.x0);
        }
        placed.push_back({b.x0, b.y0, table.Find(sw, sh, shape)});
    }
    return true;
}

void Put32(std::string &out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(char((v >> shift) & 0xFF));
}

// A segment: its header, then data. Segments of a band belong to page 1, the dictionary to none.
void Segment(std::string &out, uint32_t number, int type, int referredTo, uint32_t page, const std::string &data)
{
    Put32(out, number);
    out.push_back(char(type)); // and a page association of one byte
    if (referredTo < 0) {
        out.push_back(0);
    } else {
        out.push_back(char(1 << 5));
        out.push_back(char(referredTo)); // numbers up to 256 take a byte
    }
    out.push_back(char(page));
    Put32(out, uint32_t(data.size()));
    out += data;
}

struct Dictionary {
    std::string segment;
    std::vector<int> ids;      // by symbol of the table, -1 for those left out
    std::vector<size_t> costs; // bytes each symbol took, about
    int codeLength = 0;
};

// The symbols wanted, in height classes, each bitmap a generic region.
Dictionary CodeDictionary(const SymbolTable &table, const std::vector<bool> &wanted)
{
    Dictionary d;
    std::vector<int> order;
    for (size_t i = 0; i < table.symbols.size(); ++i)
        if (wanted[i])
            order.push_back(int(i));
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const Symbol &sa = table.symbols[size_t(a)], &sb = table.symbols[size_t(b)];
        return std::tie(sa.h, sa.w, a) < std::tie(sb.h, sb.w, b);
    });
    d.ids.assign(table.symbols.size(), -1);
    d.costs.assign(table.symbols.size(), 0);
    MqEncoder mq;
    MqIntegerCoder heights, widths, exports;
    MqGenericCoder generic;
    int classHeight = 0;
    for (size_t i = 0; i < order.size();) {
        const int h = table.symbols[size_t(order[i])].h;
        heights.Encode(mq, h - classHeight);
        classHeight = h;
        int width = 0;
        for (; i < order.size() && table.symbols[size_t(order[i])].h == h; ++i) {
            const Symbol &s = table.symbols[size_t(order[i])];
            widths.Encode(mq, s.w - width);
            width = s.w;
            const size_t before = mq.Size();
            generic.Encode(mq, s.bits.data(), (size_t(s.w) + 7) / 8, s.w, s.h);
            d.costs[size_t(order[i])] = mq.Size() - before;
            d.ids[size_t(order[i])] = int(i);
        }
        widths.EncodeOob(mq);
    }
    // Every symbol exported: a run of none left out, then all.
    exports.Encode(mq, 0);
    exports.Encode(mq, int64_t(order.size()));
    std::string data(2, '\0'); // arithmetic, template 0, no refinement
    for (int at : {3, -1, -3, -1, 2, -2, -2, -2})
        data.push_back(char(at));
    Put32(data, uint32_t(order.size()));
    Put32(data, uint32_t(order.size()));
    data += mq.Finish();
    Segment(d.segment, 0, 0, -1, 0, data);
    while ((uint64_t(1) << d.codeLength) < order.size())
        ++d.codeLength;
    return d;
}

// A band's page segments: page information, then a text region placing its symbols by their
// bottom-left pixels, a strip for each row that symbols stand on, so that a line of text is one.
std::string CodeBand(const Jbig2Band &band, std::vector<Placed> placed, const SymbolTable &table, const Dictionary &d)
{
    const auto bottom = [&](const Placed &p) { return p.y + table.symbols[size_t(p.symbol)].h - 1; };
    std::sort(placed.begin(), placed.end(), [&](const Placed &a, const Placed &b) {
        return std::make_pair(bottom(a), a.x) < std::make_pair(bottom(b), b.x);
    });
    MqEncoder mq;
    MqIntegerCoder stripDelta, firstS, deltaS;
    MqSymbolCoder ids(d.codeLength);
    stripDelta.Encode(mq, 0);
    int stripT = 0, firstX = 0;
    for (size_t i = 0; i < placed.size();) {
        const int t = bottom(placed[i]);
        stripDelta.Encode(mq, int64_t(t) - stripT);
        stripT = t;
        firstS.Encode(mq, int64_t(placed[i].x) - firstX);
        firstX = placed[i].x;
        int64_t s = 0;
        for (bool first = true; i < placed.size() && bottom(placed[i]) == t; ++i, first = false) {
            if (!first)
                deltaS.Encode(mq, placed[i].x - s);
            ids.Encode(mq, uint32_t(d.ids[size_t(placed[i].symbol)]));
            s = int64_t(placed[i].x) + table.symbols[size_t(placed[i].symbol)].w - 1;
        }
        deltaS.EncodeOob(mq);
    }

    std::string page;
    Put32(page, uint32_t(band.width));
    Put32(page, uint32_t(band.height));
    Put32(page, 0); // resolution unknown
    Put32(page, 0);
    page.push_back(1);    // lossless, white by default, combined by OR
    page.append(2, '\0'); // not striped
    std::string region;
    Put32(region, uint32_t(band.width));
    Put32(region, uint32_t(band.height));
    Put32(region, 0);
    Put32(region, 0);
    region.push_back(0);    // combined by OR
    region.append(2, '\0'); // arithmetic, no refinement, single strips, bottom-left corner, OR
    Put32(region, uint32_t(placed.size()));
    region += mq.Finish();
    std::string out;
    Segment(out, 1, 48, -1, 1, page);
    Segment(out, 2, 7, 0, 1, region);
    return out;
}

} // namespace

Jbig2Sheet EncodeJbig2Sheet(const std::vector<Jbig2Band> &bands, const std::function<size_t(size_t)> &otherSize)
{
    const size_t n = bands.size();
    Jbig2Sheet sheet;
    sheet.bands.resize(n);
    SymbolTable table;
    std::vector<std::vector<Placed>> placed(n);
    std::vector<bool> coded(n);
    // What the other coding takes at least, until it is asked: group 4 spends a bit or more on each
    // change of colour, and a run of ink makes two but where it meets the row's end.
    std::vector<size_t> other(n, 0);
    std::vector<bool> otherKnown(n, false);
    for (size_t b = 0; b < n; ++b) {
        size_t runs = 0;
        coded[b] = Label(bands[b], table, placed[b], runs);
        other[b] = (2 * runs - std::min(runs, size_t(std::max(bands[b].height, 0)))) / 8;
    }
    const auto known = [&](size_t b) {
        if (!otherKnown[b]) {
            other[b] = otherSize(b);
            otherKnown[b] = true;
        }
        return other[b];
    };

    // A band whose code, with the symbols only it uses, is no smaller than the other coding takes
    // that; the dictionary is then coded again without its symbols.
    Dictionary d;
    std::vector<std::string> codes(n);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<int> users(table.symbols.size(), 0), lastUser(table.symbols.size(), -1);
        for (size_t b = 0; b < n; ++b) {
            if (!coded[b])
                continue;
            for (const Placed &p : placed[b])
                if (lastUser[size_t(p.symbol)] != int(b)) {
                    lastUser[size_t(p.symbol)] = int(b);
                    ++users[size_t(p.symbol)];
                }
        }
        std::vector<bool> wanted(table.symbols.size());
        for (size_t i = 0; i < wanted.size(); ++i)
            wanted[i] = users[i] > 0;
        if (std::none_of(wanted.begin(), wanted.end(), [](bool w) { return w; }))
            return sheet;
        d = CodeDictionary(table, wanted);
        bool dropped = false;
        for (size_t b = 0; b < n; ++b) {
            if (!coded[b])
                continue;
            codes[b] = CodeBand(bands[b], placed[b], table, d);
            size_t cost = codes[b].size();
            for (const Placed &p : placed[b])
                if (users[size_t(p.symbol)] == 1) {
                    cost += d.costs[size_t(p.symbol)];
                    users[size_t(p.symbol)] = 0; // counted once
                }
            if (pass == 0 && cost >= other[b] && cost >= known(b)) {
                coded[b] = false;
                dropped = true;
            }
        }
        if (!dropped)
            break;
    }
    const auto totals = [&] {
        std::pair<size_t, size_t> sizes{d.segment.size(), 0};
        for (size_t b = 0; b < n; ++b)
            if (coded[b]) {
                sizes.first += codes[b].size();
                sizes.second += other[b];
            }
        return sizes;
    };
    auto [jbig2, others] = totals();
    if (jbig2 >= others) {
        for (size_t b = 0; b < n; ++b)
            if (coded[b])
                known(b);
        std::tie(jbig2, others) = totals();
    }
    if (jbig2 >= others || jbig2 > UINT32_MAX)
        return sheet;
    sheet.globals = std::move(d.segment);
    for (size_t b = 0; b < n; ++b)
        if (coded[b])
            sheet.bands[b] = std::move(codes[b]);
    return sheet;
}

} // namespace platform
