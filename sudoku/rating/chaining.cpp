#include "sudoku/rating/chaining.h"

#include <array>
#include <cmath>
#include <memory>

#include "sudoku/rating/chain_search.h"

namespace sudoku::rating {

namespace {

using chain::HintKind;

// The deductions the nested levels may make in one search. A search at the second level runs
// the whole forcing chain search at each point where its own chains stall, and each level
// multiplies that again: without a bound the hardest puzzles take hours. Twenty million
// deductions are a few seconds on one core, enough for the nested chains that puzzles rated
// up to about 10 need; past it the search returns the easiest step found so far, which is
// still sound, only perhaps not the easiest there is.
constexpr long long kNestedEffort = 20'000'000;

Candidate CandidateFrom(int candidate) {
    return {static_cast<std::uint8_t>(chain::CellOf(candidate)),
            static_cast<std::uint8_t>(chain::DigitOf(candidate))};
}

Technique TechniqueOf(ChainRule rule) {
    switch (rule) {
        case ChainRule::Cycles:
            return Technique::ForcingChainCycle;
        case ChainRule::Nishio:
            return Technique::NishioForcingChain;
        case ChainRule::Multiple:
            return Technique::MultipleForcingChain;
        case ChainRule::Dynamic:
            return Technique::DynamicForcingChain;
        case ChainRule::DynamicPlus:
            return Technique::DynamicForcingChainPlus;
        default:
            return Technique::NestedForcingChain;
    }
}

std::string NestedSuffix(int level) {
    switch (level) {
        case 0:
            return "";
        case 1:
            return " (+)";
        case 2:
            return " (+ Forcing Chains)";
        case 3:
            return " (+ Multiple Forcing Chains)";
        case 4:
            return " (+ Dynamic Forcing Chains)";
        default:
            return " (+ Dynamic Forcing Chains (+))";
    }
}

std::string NameOf(const chain::Hint& hint, const chain::Config& config) {
    switch (hint.kind) {
        case HintKind::Cycle:
            if (hint.xChain && hint.yChain) {
                return "Bidirectional Cycle";
            }
            if (hint.yChain) {
                return "Bidirectional Y-Cycle";
            }
            return hint.cycleCells == 4 ? "Generalized X-Wing" : "Bidirectional X-Cycle";
        case HintKind::ForcingChain:
            if (hint.xChain && hint.yChain) {
                return "Forcing Chain";
            }
            return hint.complexity == 6 ? "Turbot Fish" : "Forcing X-Chain";
        default:
            break;
    }
    std::string prefix;
    if (config.level > 0 || (config.dynamic && !config.nishio)) {
        prefix = "Dynamic ";
    } else if (config.nishio) {
        prefix = "Nishio ";
    }
    std::string kind;
    switch (hint.kind) {
        case HintKind::Contradiction:
            kind = config.nishio ? "Forcing" : "Contradiction Forcing";
            break;
        case HintKind::Double:
            kind = "Double Forcing";
            break;
        case HintKind::Cell:
            kind = "Cell Forcing";
            break;
        default:
            kind = "Region Forcing";
            break;
    }
    return prefix + kind + " Chains" + NestedSuffix(config.level);
}

// The chain from its assumption to target, along the first deduction each link rests on.
std::vector<Step::Link> BranchTo(const chain::Net& net, int target) {
    std::vector<Step::Link> branch;
    for (int node = target; node >= 0; node = net.FirstParent(node)) {
        branch.push_back({CandidateFrom(net.At(node).candidate), net.At(node).on});
    }
    return {branch.rbegin(), branch.rend()};
}

Step StepFrom(const chain::Hint& hint, ChainRule rule, const chain::Config& config) {
    Step step;
    step.technique = TechniqueOf(rule);
    step.difficulty = static_cast<int>(std::lround(hint.difficulty * 10));
    step.name = NameOf(hint, config);
    if (hint.placement) {
        step.placements.push_back(CandidateFrom(*hint.placement));
    }
    for (std::uint16_t candidate : hint.removable) {
        step.eliminations.push_back(CandidateFrom(candidate));
    }
    std::array<bool, chain::kCandidates> shown{};
    for (const chain::Target& target : hint.targets) {
        std::vector<int> todo{target.node};
        std::vector<bool> done(static_cast<std::size_t>(target.net->Size()), false);
        while (!todo.empty()) {
            const int node = todo.back();
            todo.pop_back();
            if (done[static_cast<std::size_t>(node)]) {
                continue;
            }
            done[static_cast<std::size_t>(node)] = true;
            const chain::Node& at = target.net->At(node);
            if (!shown[at.candidate]) {
                shown[at.candidate] = true;
                step.pattern.push_back(CandidateFrom(at.candidate));
                step.digits |= DigitBit(chain::DigitOf(at.candidate));
            }
            const int* parents = target.net->Parents(node);
            todo.insert(todo.end(), parents, parents + at.parentCount);
        }
        step.branches.push_back(BranchTo(*target.net, target.node));
    }
    if (hint.kind == HintKind::Region) {
        step.houses.push_back(hint.house);
    }
    return step;
}

}  // namespace

std::optional<Step> FindEasiestChain(const Position& position, ChainRule rule) {
    // One searcher per rule and thread, so that the buffers and nets of one search serve the
    // next; the searches of one rule on one thread never overlap.
    struct Searchers {
        chain::Effort effort;
        std::array<std::unique_ptr<chain::Chainer>, 9> byRule;
    };
    thread_local Searchers searchers;
    const chain::Config config = chain::ConfigOf(rule);
    std::unique_ptr<chain::Chainer>& chainer = searchers.byRule[static_cast<std::size_t>(rule)];
    if (!chainer) {
        chainer = std::make_unique<chain::Chainer>(config,
                                                   config.level >= 2 ? &searchers.effort : nullptr);
    }
    searchers.effort.left = kNestedEffort;
    std::optional<Step> best;
    chainer->Search(position, true,
                    [&](const chain::Hint& hint) { best = StepFrom(hint, rule, config); });
    return best;
}

}  // namespace sudoku::rating
