#include "course/CentreLine.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <numeric>

#include "base/WorldUnits.h"
#include "course/CourseData.h"
#include "course/Fence.h"

namespace {
// A sample's eight neighbours in ring order: the side ones at even places.
constexpr int32_t kRing[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1},
                                 {0, 1},  {-1, 1}, {-1, 0}, {-1, -1}};
constexpr float kRadiansToDegrees = 57.2957795f;
// Two forks make one crossing only when the branch between them is at most this many times as
// long as the depths of the ground at both added up (about the track's width).
constexpr float kLongestCrossing = 4.0f;

// The groups among a sample's eight neighbours, by the set of them that are on a line (bit k
// for ring place k). Lines join neighbours that touch at a side or a corner; the ground
// between them (off the line) joins only at sides, so that a line and the ground beside it
// never both pass between the same two corners.
struct RingTable {
    std::array<uint8_t, 256> lines{};   // groups of neighbours on a line: the lines that leave
    std::array<uint8_t, 256> simple{};  // 1: taking the sample off changes no connection, of
                                        // the line or of the ground beside it
};

int32_t Groups(int32_t mask, bool onLine) {
    std::array<int32_t, 8> root{};
    std::iota(root.begin(), root.end(), 0);
    const auto find = [&root](int32_t k) {
        while (root[k] != k) {
            k = root[k];
        }
        return k;
    };
    const auto in = [mask, onLine](int32_t k) { return (((mask >> k) & 1) != 0) == onLine; };
    for (int32_t k = 0; k < 8; ++k) {
        for (int32_t m = k + 1; m < 8; ++m) {
            const int32_t dx = std::abs(kRing[k][0] - kRing[m][0]);
            const int32_t dy = std::abs(kRing[k][1] - kRing[m][1]);
            const bool touch = onLine ? std::max(dx, dy) == 1 : dx + dy == 1;
            if (in(k) && in(m) && touch) {
                root[find(m)] = find(k);
            }
        }
    }
    // Off the line, only the groups that reach a side neighbour touch the sample.
    int32_t groups = 0;
    for (int32_t k = 0; k < 8; ++k) {
        if (!in(k) || find(k) != k) {
            continue;
        }
        bool side = onLine;
        for (int32_t m = 0; m < 8 && !side; m += 2) {
            side = in(m) && find(m) == k;
        }
        groups += side ? 1 : 0;
    }
    return groups;
}

const RingTable& Table() {
    static const RingTable table = [] {
        RingTable built;
        for (int32_t mask = 0; mask < 256; ++mask) {
            built.lines[mask] = static_cast<uint8_t>(Groups(mask, true));
            built.simple[mask] = built.lines[mask] == 1 && Groups(mask, false) == 1;
        }
        return built;
    }();
    return table;
}

int32_t MaskAt(const std::vector<uint8_t>& set, int32_t size, int32_t sample) {
    const int32_t i = sample / size;
    const int32_t j = sample % size;
    int32_t mask = 0;
    for (int32_t k = 0; k < 8; ++k) {
        const int32_t ni = i + kRing[k][0];
        const int32_t nj = j + kRing[k][1];
        if (ni >= 0 && nj >= 0 && ni < size && nj < size && set[ni * size + nj] != 0) {
            mask |= 1 << k;
        }
    }
    return mask;
}

// The neighbour of a sample at ring place k, or -1 off the raster.
int32_t Neighbour(int32_t size, int32_t sample, int32_t k) {
    const int32_t i = sample / size + kRing[k][0];
    const int32_t j = sample % size + kRing[k][1];
    return i >= 0 && j >= 0 && i < size && j < size ? i * size + j : -1;
}

WorldSpot Centre(const GroundRaster& ground, int32_t sample) {
    return WorldSpot{(static_cast<float>(sample / ground.size) + 0.5f) * ground.step,
                     (static_cast<float>(sample % ground.size) + 0.5f) * ground.step};
}

void Chamfer(GroundRaster& ground) {
    const int32_t size = ground.size;
    ground.depth.assign(ground.ground.size(), 0);
    const auto at = [&ground, size](int32_t i, int32_t j) {
        return i >= 0 && j >= 0 && i < size && j < size ? ground.depth[i * size + j] : 0;
    };
    for (int32_t pass = 0; pass < 2; ++pass) {
        const int32_t s = pass == 0 ? 1 : -1;  // the side already passed over
        for (int32_t n = 0; n < size * size; ++n) {
            const int32_t p = pass == 0 ? n : size * size - 1 - n;
            if (ground.ground[p] == 0) {
                continue;
            }
            const int32_t i = p / size;
            const int32_t j = p % size;
            int32_t d = pass == 0 ? 1 << 20 : ground.depth[p];
            d = std::min({d, at(i - s, j) + 3, at(i, j - s) + 3, at(i - s, j - s) + 4,
                          at(i - s, j + s) + 4});
            ground.depth[p] = d;
        }
    }
}

// Takes samples off the ground, the shallowest first, wherever that changes no connection,
// until only lines are left: a loop of the ground stays a loop, a piece without one shrinks to
// a point.
std::vector<uint8_t> Thin(const GroundRaster& ground) {
    std::vector<uint8_t> line = ground.ground;
    std::vector<std::vector<int32_t>> levels;
    for (int32_t p = 0; p < static_cast<int32_t>(line.size()); ++p) {
        if (line[p] != 0) {
            levels.resize(std::max<size_t>(levels.size(), ground.depth[p] + 1));
            levels[ground.depth[p]].push_back(p);
        }
    }
    const RingTable& table = Table();
    for (bool changed = true; changed;) {
        changed = false;
        for (const std::vector<int32_t>& level : levels) {
            for (const int32_t p : level) {
                if (line[p] != 0 && table.simple[MaskAt(line, ground.size, p)] != 0) {
                    line[p] = 0;
                    changed = true;
                }
            }
        }
    }
    return line;
}

float Dot(WorldSpot a, WorldSpot b) {
    return a.x * b.x + a.z * b.z;
}

WorldSpot Unit(WorldSpot v) {
    const float length = std::hypot(v.x, v.z);
    return length > 0.0f ? WorldSpot{v.x / length, v.z / length} : WorldSpot{0.0f, 0.0f};
}

// One end of a branch, where it meets a junction.
struct BranchEnd {
    int32_t branch;
    bool last;         // at the branch's last point (else its first)
    int32_t junction;  // the group of junction samples it meets
    WorldSpot out;     // unit direction from the junction along the branch
};

// A line between junctions, or a loop with none.
struct Branch {
    std::vector<WorldSpot> points;
    int32_t ends[2] = {-1, -1};  // its first and last ends, or -1
    bool loop = false;           // a loop of its own, with no junction
    bool inner = false;          // joins two junctions that make one crossing
};

// Samples where more than two lines meet, side by side.
struct JunctionGroup {
    WorldSpot at;
    float depth;                 // world units to the ground's edge
    std::vector<int32_t> ends;
};

// The lines and junctions the thinned ground holds.
class CentreGraph {
public:
    explicit CentreGraph(const GroundRaster& ground)
        : _ground(ground), _line(Thin(ground)), _group(_line.size(), -1),
          _branchOf(_line.size(), -1), _distance(_line.size(), -1) {
        // A junction: each sample of a line with more than two neighbours on lines (thinned
        // lines that meet may leave a few samples side by side where they meet), and the
        // samples of lines round it, so that the lines leave it apart from each other.
        _junction.assign(_line.size(), 0);
        for (int32_t p = 0; p < static_cast<int32_t>(_line.size()); ++p) {
            if (_line[p] == 0 || std::bitset<8>(MaskAt(_line, ground.size, p)).count() < 3) {
                continue;
            }
            _junction[p] = 1;
            for (int32_t k = 0; k < 8; ++k) {
                const int32_t q = Neighbour(ground.size, p, k);
                if (q >= 0 && _line[q] != 0) {
                    _junction[q] = 1;
                }
            }
        }
        GroupJunctions();
        TraceBranches();
        for (size_t g = 0; g < _groups.size(); ++g) {
            _root.push_back(static_cast<int32_t>(g));
        }
        MergeCrossings();
        _members.resize(_groups.size());
        for (size_t g = 0; g < _groups.size(); ++g) {
            _members[Root(static_cast<int32_t>(g))].push_back(static_cast<int32_t>(g));
        }
    }

    const std::vector<Branch>& Branches() const { return _branches; }
    const std::vector<BranchEnd>& Ends() const { return _ends; }

    // The junction (its merged groups) an end meets.
    int32_t JunctionOf(int32_t end) const { return Root(_ends[end].junction); }

    // Every end of a junction, but those of the branches inside it.
    std::vector<int32_t> EndsOf(int32_t junction) const {
        std::vector<int32_t> ends;
        for (const int32_t g : _members[junction]) {
            for (const int32_t end : _groups[g].ends) {
                if (!_branches[_ends[end].branch].inner) {
                    ends.push_back(end);
                }
            }
        }
        return ends;
    }

    // The branches inside a junction that lead from one of its groups to another, each with the
    // way it is driven (true: first point to last).
    std::vector<std::pair<int32_t, bool>> InnerPath(int32_t from, int32_t to) const {
        std::vector<int32_t> came(_groups.size(), -1);  // the end each group was reached by
        std::vector<int32_t> queue{from};
        came[from] = -2;
        for (size_t next = 0; next < queue.size() && came[to] == -1; ++next) {
            for (const int32_t end : _groups[queue[next]].ends) {
                const Branch& branch = _branches[_ends[end].branch];
                const int32_t other = branch.ends[_ends[end].last ? 0 : 1];
                const int32_t group = other >= 0 ? _ends[other].junction : -1;
                if (branch.inner && group >= 0 && came[group] == -1) {
                    came[group] = end;
                    queue.push_back(group);
                }
            }
        }
        std::vector<std::pair<int32_t, bool>> path;
        for (int32_t group = to; group != from && came[group] >= 0;) {
            const BranchEnd& end = _ends[came[group]];
            path.insert(path.begin(), {end.branch, !end.last});
            group = end.junction;
        }
        return path;
    }

    int32_t JunctionCount() const { return static_cast<int32_t>(_groups.size()); }
    bool IsJunction(int32_t junction) const { return Root(junction) == junction; }

    WorldSpot JunctionPlace(int32_t junction) const {
        WorldSpot sum{0.0f, 0.0f};
        for (const int32_t g : _members[junction]) {
            sum.x += _groups[g].at.x;
            sum.z += _groups[g].at.z;
        }
        const float count = static_cast<float>(_members[junction].size());
        return WorldSpot{sum.x / count, sum.z / count};
    }

private:
    bool IsJunctionSample(int32_t p) const { return _junction[p] != 0; }

    // Flood over the samples that pass `test`, side and corner neighbours, from `seed`.
    template <typename Test>
    std::vector<int32_t> Flood(int32_t seed, std::vector<int32_t>& mark, int32_t label,
                               Test test) const {
        std::vector<int32_t> found{seed};
        mark[seed] = label;
        for (size_t next = 0; next < found.size(); ++next) {
            for (int32_t k = 0; k < 8; ++k) {
                const int32_t q = Neighbour(_ground.size, found[next], k);
                if (q >= 0 && mark[q] < 0 && test(q)) {
                    mark[q] = label;
                    found.push_back(q);
                }
            }
        }
        return found;
    }

    void GroupJunctions() {
        for (int32_t p = 0; p < static_cast<int32_t>(_line.size()); ++p) {
            if (!IsJunctionSample(p) || _group[p] >= 0) {
                continue;
            }
            const int32_t label = static_cast<int32_t>(_groups.size());
            const std::vector<int32_t> samples =
                Flood(p, _group, label, [this](int32_t q) { return IsJunctionSample(q); });
            JunctionGroup group{{0.0f, 0.0f}, 0.0f, {}};
            int32_t deepest = 0;
            for (const int32_t q : samples) {
                const WorldSpot at = Centre(_ground, q);
                group.at.x += at.x / static_cast<float>(samples.size());
                group.at.z += at.z / static_cast<float>(samples.size());
                deepest = std::max(deepest, _ground.depth[q]);
            }
            group.depth = static_cast<float>(deepest) / 3.0f * _ground.step;
            _groups.push_back(group);
        }
    }

    // The junction groups a sample of a branch touches, one a sample at most: the first found.
    int32_t TouchedGroup(int32_t p) const {
        for (int32_t k = 0; k < 8; ++k) {
            const int32_t q = Neighbour(_ground.size, p, k);
            if (q >= 0 && IsJunctionSample(q)) {
                return _group[q];
            }
        }
        return -1;
    }

    void TraceBranches() {
        for (int32_t p = 0; p < static_cast<int32_t>(_line.size()); ++p) {
            if (_line[p] == 0 || IsJunctionSample(p) || _branchOf[p] >= 0) {
                continue;
            }
            const int32_t label = static_cast<int32_t>(_branches.size());
            std::vector<int32_t> samples = Flood(p, _branchOf, label, [this](int32_t q) {
                return _line[q] != 0 && !IsJunctionSample(q);
            });
            _branches.emplace_back();
            Order(label, samples);
        }
    }

    // The samples of a branch where it touches junctions, in groups of neighbours that touch
    // the same junction group: one group of samples for each end.
    std::vector<std::vector<int32_t>> EndSamples(const std::vector<int32_t>& samples) const {
        std::vector<int32_t> touching;
        for (const int32_t p : samples) {
            if (TouchedGroup(p) >= 0) {
                touching.push_back(p);
            }
        }
        std::vector<int32_t> root(touching.size());
        std::iota(root.begin(), root.end(), 0);
        const auto find = [&root](int32_t k) {
            while (root[k] != k) {
                k = root[k];
            }
            return k;
        };
        for (size_t a = 0; a < touching.size(); ++a) {
            for (size_t b = a + 1; b < touching.size(); ++b) {
                const int32_t di = std::abs(touching[a] / _ground.size - touching[b] / _ground.size);
                const int32_t dj = std::abs(touching[a] % _ground.size - touching[b] % _ground.size);
                if (std::max(di, dj) <= 1 && TouchedGroup(touching[a]) == TouchedGroup(touching[b])) {
                    root[find(static_cast<int32_t>(b))] = find(static_cast<int32_t>(a));
                }
            }
        }
        std::vector<std::vector<int32_t>> ends;
        std::vector<int32_t> endOf(touching.size(), -1);
        for (size_t a = 0; a < touching.size(); ++a) {
            const int32_t r = find(static_cast<int32_t>(a));
            if (endOf[r] < 0) {
                endOf[r] = static_cast<int32_t>(ends.size());
                ends.emplace_back();
            }
            ends[endOf[r]].push_back(touching[a]);
        }
        return ends;
    }

    // Points along the samples in the order of their distance (in neighbour steps) from the
    // `from` samples, those at one distance averaged into one point; `skip` is left out.
    std::vector<WorldSpot> Walk(const std::vector<int32_t>& from, int32_t label,
                                int32_t skip) const {
        std::vector<int32_t>& distance = _distance;
        std::vector<int32_t> queue = from;
        for (const int32_t p : from) {
            distance[p] = 0;
        }
        std::vector<WorldSpot> sums;
        std::vector<float> counts;
        for (size_t next = 0; next < queue.size(); ++next) {
            const int32_t p = queue[next];
            const size_t d = static_cast<size_t>(distance[p]);
            sums.resize(std::max(sums.size(), d + 1), WorldSpot{0.0f, 0.0f});
            counts.resize(sums.size(), 0.0f);
            const WorldSpot at = Centre(_ground, p);
            sums[d].x += at.x;
            sums[d].z += at.z;
            counts[d] += 1.0f;
            for (int32_t k = 0; k < 8; ++k) {
                const int32_t q = Neighbour(_ground.size, p, k);
                if (q >= 0 && q != skip && _branchOf[q] == label && distance[q] < 0) {
                    distance[q] = distance[p] + 1;
                    queue.push_back(q);
                }
            }
        }
        for (const int32_t p : queue) {
            distance[p] = -1;
        }
        for (size_t d = 0; d < sums.size(); ++d) {
            sums[d] = WorldSpot{sums[d].x / counts[d], sums[d].z / counts[d]};
        }
        return sums;
    }

    void Order(int32_t label, const std::vector<int32_t>& samples) {
        Branch& branch = _branches[label];
        const std::vector<std::vector<int32_t>> ends = EndSamples(samples);
        if (ends.size() == 2) {
            branch.points = Walk(ends[0], label, -1);
            AddEnd(label, false, TouchedGroup(ends[0][0]));
            AddEnd(label, true, TouchedGroup(ends[1][0]));
            return;
        }
        if (!ends.empty() || samples.size() < 8) {
            return;  // a scrap of line, on no loop
        }
        // A loop with no junction: cut at a sample between two that do not touch, walked from
        // one of them round to the other.
        for (const int32_t p : samples) {
            const int32_t mask = MaskAt(_line, _ground.size, p);
            if (std::bitset<8>(static_cast<unsigned>(mask)).count() != 2 || Table().lines[mask] != 2) {
                continue;
            }
            int32_t first = -1;
            for (int32_t k = 0; k < 8 && first < 0; ++k) {
                first = (mask >> k & 1) != 0 ? Neighbour(_ground.size, p, k) : -1;
            }
            branch.points = Walk({first}, label, p);
            branch.points.insert(branch.points.begin(), Centre(_ground, p));
            branch.loop = true;
            return;
        }
    }

    void AddEnd(int32_t branch, bool last, int32_t group) {
        const int32_t end = static_cast<int32_t>(_ends.size());
        _branches[branch].ends[last ? 1 : 0] = end;
        _ends.push_back(BranchEnd{branch, last, group, {0.0f, 0.0f}});
        _groups[group].ends.push_back(end);
        // Its direction: the way the branch runs a little way out, beyond where the lines
        // that meet there bend toward each other (about the track's width from the junction).
        const std::vector<WorldSpot>& points = _branches[branch].points;
        const int32_t size = static_cast<int32_t>(points.size());
        const int32_t along = std::clamp(
            static_cast<int32_t>(2.0f * _groups[group].depth / _ground.step), 1, std::max(size / 3, 1));
        const int32_t nearIndex = std::min(along, size - 1);
        const int32_t farIndex = std::min(2 * along, size - 1);
        const WorldSpot near = points[last ? size - 1 - nearIndex : nearIndex];
        const WorldSpot far = points[last ? size - 1 - farIndex : farIndex];
        _ends[end].out = Unit(WorldSpot{far.x - near.x, far.z - near.z});
    }

    int32_t Root(int32_t group) const {
        while (_root[group] != group) {
            group = _root[group];
        }
        return group;
    }

    // Two forks joined by a branch are one crossing when their four other lines go on
    // straightest from one fork to the other, not back into each other: a crossing whose lines
    // run together for a while (the flatter, the longer) thins down to that. The branch between
    // them is inside the crossing.
    void MergeCrossings() {
        std::vector<int32_t> byLength(_branches.size());
        std::iota(byLength.begin(), byLength.end(), 0);
        std::stable_sort(byLength.begin(), byLength.end(), [this](int32_t a, int32_t b) {
            return _branches[a].points.size() < _branches[b].points.size();
        });
        for (const int32_t b : byLength) {
            const Branch& branch = _branches[b];
            if (branch.ends[0] < 0) {
                continue;
            }
            const int32_t g0 = _ends[branch.ends[0]].junction;
            const int32_t g1 = _ends[branch.ends[1]].junction;
            const float longest = kLongestCrossing * (_groups[g0].depth + _groups[g1].depth);
            if (g0 == g1 || _groups[g0].ends.size() != 3 || _groups[g1].ends.size() != 3 ||
                Root(g0) != g0 || Root(g1) != g1 ||
                static_cast<float>(branch.points.size()) * _ground.step > longest) {
                continue;
            }
            std::vector<int32_t> outer;
            for (const int32_t g : {g0, g1}) {
                for (const int32_t end : _groups[g].ends) {
                    if (_ends[end].branch != b) {
                        outer.push_back(end);
                    }
                }
            }
            const auto dot = [this](int32_t e, int32_t f) { return Dot(_ends[e].out, _ends[f].out); };
            const float within = dot(outer[0], outer[1]) + dot(outer[2], outer[3]);
            const float across = std::min(dot(outer[0], outer[2]) + dot(outer[1], outer[3]),
                                          dot(outer[0], outer[3]) + dot(outer[1], outer[2]));
            if (across < within) {
                _branches[b].inner = true;
                _root[g1] = g0;
            }
        }
    }

    const GroundRaster& _ground;
    std::vector<uint8_t> _line;      // 1 on a centre line
    std::vector<uint8_t> _junction;  // 1 for the samples of junctions
    std::vector<int32_t> _group;     // each junction sample's group
    std::vector<int32_t> _branchOf;  // each other sample's branch
    std::vector<JunctionGroup> _groups;
    std::vector<Branch> _branches;
    std::vector<BranchEnd> _ends;
    std::vector<int32_t> _root;      // groups merged into one junction point to the first
    std::vector<std::vector<int32_t>> _members;  // the groups of each junction, at its first
    mutable std::vector<int32_t> _distance;  // Walk's distances, -1 between walks
};

// Where a branch's segment from point k to k + 1 crosses the line, going forward: the crossing's
// distance from the line's middle, or -1 where it does not.
float CrossingOffset(WorldSpot p, WorldSpot q, WorldSpot a, WorldSpot b, WorldSpot forward) {
    const WorldSpot move{q.x - p.x, q.z - p.z};
    if (Dot(move, forward) <= 0.0f) {
        return -1.0f;
    }
    const WorldSpot along{b.x - a.x, b.z - a.z};
    const float denominator = move.x * along.z - move.z * along.x;
    if (denominator == 0.0f) {
        return -1.0f;
    }
    const float t = ((a.x - p.x) * along.z - (a.z - p.z) * along.x) / denominator;
    const float u = ((a.x - p.x) * move.z - (a.z - p.z) * move.x) / denominator;
    if (t < 0.0f || t >= 1.0f || u < 0.0f || u > 1.0f) {
        return -1.0f;
    }
    return std::fabs(u - 0.5f);
}

// The route's walk over the graph: from the branch across the start line, through each
// junction to the end its pairing gives, until it comes back to where it started.
class LoopWalk {
public:
    explicit LoopWalk(const CentreGraph& graph)
        : _graph(graph), _pair(graph.Ends().size(), -1), _used(graph.Ends().size(), 0) {
        for (int32_t j = 0; j < graph.JunctionCount(); ++j) {
            if (graph.IsJunction(j)) {
                Pair(j);
            }
        }
    }

    CentreLoop Follow(WorldSpot a, WorldSpot b, WorldSpot forward) {
        CentreLoop loop;
        int32_t start = -1;
        int32_t at = -1;
        bool onward = true;
        float best = 2.0f;
        const std::vector<Branch>& branches = _graph.Branches();
        for (size_t s = 0; s < branches.size(); ++s) {
            const std::vector<WorldSpot>& points = branches[s].points;
            if (branches[s].inner || (branches[s].ends[0] < 0 && !branches[s].loop)) {
                continue;
            }
            const size_t closing = branches[s].loop ? points.size() : points.size() - 1;
            for (size_t k = 0; k < closing; ++k) {
                const WorldSpot p = points[k];
                const WorldSpot q = points[(k + 1) % points.size()];
                for (const bool ahead : {true, false}) {
                    const float offset = ahead ? CrossingOffset(p, q, a, b, forward)
                                               : CrossingOffset(q, p, a, b, forward);
                    if (offset >= 0.0f && offset < best) {
                        best = offset;
                        start = static_cast<int32_t>(s);
                        at = static_cast<int32_t>(k);
                        onward = ahead;
                    }
                }
            }
        }
        if (start >= 0) {
            loop.points = Walk(start, at, onward);
        }
        loop.junctions = Junctions();
        return loop;
    }

private:
    // The ends each end goes on to: for two lines through a junction, each to the other; for a
    // crossing of two, each to the one across from it; elsewhere none (a fork: see Next).
    void Pair(int32_t junction) {
        const std::vector<int32_t> ends = _graph.EndsOf(junction);
        const auto dot = [this](int32_t e, int32_t f) {
            return Dot(_graph.Ends()[e].out, _graph.Ends()[f].out);
        };
        if (ends.size() == 2) {
            _pair[ends[0]] = ends[1];
            _pair[ends[1]] = ends[0];
        } else if (ends.size() == 4) {
            // Of the three pairings, the one whose pairs go on straightest.
            const int32_t pairings[3][4] = {{0, 1, 2, 3}, {0, 2, 1, 3}, {0, 3, 1, 2}};
            const int32_t* best = pairings[0];
            float bestSum = 1e9f;
            for (const auto& p : pairings) {
                const float sum = dot(ends[p[0]], ends[p[1]]) + dot(ends[p[2]], ends[p[3]]);
                if (sum < bestSum) {
                    bestSum = sum;
                    best = p;
                }
            }
            for (int32_t k = 0; k < 4; k += 2) {
                _pair[ends[best[k]]] = ends[best[k + 1]];
                _pair[ends[best[k + 1]]] = ends[best[k]];
            }
        }
    }

    // The end a walk that arrives at `end` leaves by: its pair, or at a fork the straightest.
    int32_t Next(int32_t end) const {
        if (_pair[end] >= 0) {
            return _pair[end];
        }
        int32_t next = -1;
        float straightest = 1e9f;
        for (const int32_t other : _graph.EndsOf(_graph.JunctionOf(end))) {
            const float dot = Dot(_graph.Ends()[other].out, _graph.Ends()[end].out);
            if (other != end && dot < straightest) {
                straightest = dot;
                next = other;
            }
        }
        return next;
    }

    void Append(std::vector<WorldSpot>& points, const Branch& branch, size_t from, size_t to,
                bool onward) {
        if (onward) {
            points.insert(points.end(), branch.points.begin() + from, branch.points.begin() + to);
        } else {
            for (size_t k = to; k > from; --k) {
                points.push_back(branch.points[k - 1]);
            }
        }
    }

    std::vector<WorldSpot> Walk(int32_t start, int32_t at, bool onward) {
        const std::vector<Branch>& branches = _graph.Branches();
        const Branch& first = branches[start];
        const size_t size = first.points.size();
        std::vector<WorldSpot> points;
        if (first.loop) {
            for (size_t k = 0; k < size; ++k) {
                const size_t step = onward ? at + 1 + k : size + at - k;
                points.push_back(first.points[step % size]);
            }
            return points;
        }
        // From the crossing to the end ahead: points k + 1 onward, or k back to the first.
        onward ? Append(points, first, at + 1, size, true) : Append(points, first, 0, at + 1, false);
        std::vector<uint8_t> taken(branches.size() * 2, 0);
        taken[start * 2 + (onward ? 0 : 1)] = 1;
        int32_t branch = start;
        bool forward = onward;
        for (size_t steps = 0; steps <= 2 * branches.size(); ++steps) {
            const int32_t arrive = branches[branch].ends[forward ? 1 : 0];
            const int32_t leave = arrive >= 0 ? Next(arrive) : -1;
            if (leave < 0) {
                return {};
            }
            _used[arrive] = _used[leave] = 1;
            for (const auto& [inner, way] :
                 _graph.InnerPath(_graph.Ends()[arrive].junction, _graph.Ends()[leave].junction)) {
                Append(points, branches[inner], 0, branches[inner].points.size(), way);
            }
            branch = _graph.Ends()[leave].branch;
            forward = !_graph.Ends()[leave].last;
            const Branch& next = branches[branch];
            if (branch == start && forward == onward) {
                // Back where it began: on to the crossing.
                onward ? Append(points, next, 0, at + 1, true)
                       : Append(points, next, at + 1, next.points.size(), false);
                return points;
            }
            if (taken[branch * 2] != 0 || taken[branch * 2 + 1] != 0) {
                return {};  // round a loop that does not come back, or back along itself
            }
            taken[branch * 2 + (forward ? 0 : 1)] = 1;
            Append(points, next, 0, next.points.size(), forward);
        }
        return {};
    }

    std::vector<CentreJunction> Junctions() const {
        std::vector<CentreJunction> junctions;
        for (int32_t j = 0; j < _graph.JunctionCount(); ++j) {
            const std::vector<int32_t> ends = _graph.IsJunction(j) ? _graph.EndsOf(j)
                                                                   : std::vector<int32_t>{};
            if (ends.size() <= 2) {
                continue;
            }
            CentreJunction junction{_graph.JunctionPlace(j), static_cast<int32_t>(ends.size()),
                                    ends.size() == 4, 0.0f};
            for (const int32_t end : ends) {
                junction.crossing = junction.crossing && _used[end] != 0;
            }
            if (ends.size() == 4) {
                // The angle between the lines through it, each from one end to its pair's.
                const BranchEnd& e0 = _graph.Ends()[ends[0]];
                const BranchEnd& e1 = _graph.Ends()[_pair.at(ends[0])];
                int32_t third = ends[1] == _pair.at(ends[0]) ? ends[2] : ends[1];
                const BranchEnd& e2 = _graph.Ends()[third];
                const BranchEnd& e3 = _graph.Ends()[_pair.at(third)];
                const WorldSpot one = Unit({e0.out.x - e1.out.x, e0.out.z - e1.out.z});
                const WorldSpot two = Unit({e2.out.x - e3.out.x, e2.out.z - e3.out.z});
                junction.angle = std::acos(std::min(1.0f, std::fabs(Dot(one, two)))) *
                                 kRadiansToDegrees;
            }
            junctions.push_back(junction);
        }
        return junctions;
    }

    const CentreGraph& _graph;
    std::vector<int32_t> _pair;   // each end's pair, or -1
    std::vector<uint8_t> _used;  // the ends the walk went through
};
}  // namespace

GroundRaster ReachableGround(const CourseData& course, const Fence& fence, WorldSpot from) {
    GroundRaster ground;
    ground.step = std::clamp(CellSizeForWidth(course.GetWidth()) / 4.0f, 0.5f, 1.0f);
    ground.size = static_cast<int32_t>(std::ceil(static_cast<float>(kTerrainSize) / ground.step));
    const size_t samples = static_cast<size_t>(ground.size) * ground.size;
    ground.ground.assign(samples, 0);
    const int32_t seed = SampleAt(ground, from);
    const auto inside = [&](int32_t p) {
        const WorldSpot at = Centre(ground, p);
        return IsInsideFence(course, fence, at.x, at.z);
    };
    if (seed >= 0 && inside(seed)) {
        // Side by side only: two samples that touch at a corner may lie either side of a rope.
        std::vector<int32_t> pending{seed};
        ground.ground[seed] = 1;
        while (!pending.empty()) {
            const int32_t p = pending.back();
            pending.pop_back();
            for (int32_t k = 0; k < 8; k += 2) {
                const int32_t q = Neighbour(ground.size, p, k);
                if (q >= 0 && ground.ground[q] == 0 && inside(q)) {
                    ground.ground[q] = 1;
                    pending.push_back(q);
                }
            }
        }
    }
    Chamfer(ground);
    return ground;
}

int32_t SampleAt(const GroundRaster& ground, WorldSpot at) {
    const float i = std::floor(at.x / ground.step);
    const float j = std::floor(at.z / ground.step);
    if (!(i >= 0.0f && j >= 0.0f && i < static_cast<float>(ground.size) &&
          j < static_cast<float>(ground.size))) {
        return -1;
    }
    return static_cast<int32_t>(i) * ground.size + static_cast<int32_t>(j);
}

CentreLoop FollowCentreLine(const GroundRaster& ground, WorldSpot lineA, WorldSpot lineB,
                            WorldSpot forward) {
    const CentreGraph graph(ground);
    LoopWalk walk(graph);
    return walk.Follow(lineA, lineB, forward);
}
