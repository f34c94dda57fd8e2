// The solver's lower bound on the pushes a kind still needs, against every
// way of splitting the kind into groups tried one by one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "solver/bound.h"
#include "solver/solver.h"

namespace {

// The least narrowing over every split of the columns into groups of two or
// more, tried one by one: the group holding the first column left, then the rest.
int32_t everySplit(std::vector<int32_t> left) {
    if (left.empty()) return 0;
    constexpr int32_t NONE = 1 << 20;
    int32_t best = NONE;
    const int32_t n = static_cast<int32_t>(left.size());
    for (uint32_t mask = 1; mask < (1u << n); mask += 2) {  // always holding left[0]
        std::vector<int32_t> group, rest;
        for (int32_t k = 0; k < n; ++k) (mask & (1u << k) ? group : rest).push_back(left[k]);
        if (group.size() < 2) continue;
        const int32_t span = *std::max_element(group.begin(), group.end()) - *std::min_element(group.begin(), group.end());
        const int32_t others = everySplit(rest);
        if (others < NONE) best = std::min(best, std::max(0, span - static_cast<int32_t>(group.size() - 1)) + others);
    }
    return best;
}

TEST(Solver, BoundIsTheLeastNarrowingOverEverySplitOfAKind) {
    // The walk along the sorted columns against every split tried: equal on
    // seeded random kinds of two to ten blocks, crowded and spread.
    std::mt19937 rng(20261208);
    for (int trial = 0; trial < 400; ++trial) {
        const int32_t n = 2 + static_cast<int32_t>(rng() % 9);
        const int32_t width = 1 + static_cast<int32_t>(rng() % 14);
        std::vector<int32_t> columns(n);
        for (int32_t& c : columns) c = static_cast<int32_t>(rng() % (width + 1));
        ASSERT_EQ(solver::fewestToGroup(columns.data(), n), everySplit(columns)) << "trial " << trial;
    }
    // Worked cases: a pair four apart needs three; twelve of a kind every
    // third column need two a pair, twelve, where the closest pair alone
    // would say two; twelve with neighbours among them need only the ends
    // brought in.
    const int32_t pair[] = {2, 6};
    EXPECT_EQ(solver::fewestToGroup(pair, 2), 3);
    const int32_t spread[] = {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 33};
    EXPECT_EQ(solver::fewestToGroup(spread, 12), 12);
    const int32_t neighbours[] = {17, 0, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15};
    EXPECT_EQ(solver::fewestToGroup(neighbours, 12), 2);
    const int32_t lone[] = {7};
    EXPECT_EQ(solver::fewestToGroup(lone, 1), 0) << "a lone block is the hopeless check's, not the bound's";
}

TEST(Solver, BoundAsksOfEachGroupTheColumnsToTheNearestOfIt) {
    // A kind's columns, whether blocks within a column of each other can
    // meet unpushed, and its need: a block four columns from the rest needs
    // three pushes however the rest stand; a pair side by side that can
    // never meet unpushed needs one; two such pairs far apart, a push for
    // the near pair and four to close the other.
    const struct {
        std::vector<int32_t> columns;
        bool meet;
        int32_t need;
    } cases[] = {{{3, 7, 8, 8, 9, 10, 10, 11}, true, 3}, {{4, 0, 4, 4, 4}, true, 3}, {{4, 5}, false, 1}, {{1, 6, 11, 10}, false, 5}};
    for (const auto& c : cases) {
        const int32_t n = static_cast<int32_t>(c.columns.size());
        std::vector<uint64_t> partners(n);
        for (int32_t i = 0; i < n; ++i)
            for (int32_t j = 0; j < n; ++j)
                if (i != j && c.meet && std::abs(c.columns[i] - c.columns[j]) <= 1) partners[i] |= uint64_t{1} << j;
        EXPECT_EQ(solver::fewestToGroupAndMeet(c.columns.data(), partners.data(), n), c.need);
    }
}

TEST(Solver, BoundCoversTheBlocksLeftAloneWithWindowsOfThreeColumns) {
    // Columns of the blocks left alone, and the fewest windows of three
    // neighbouring columns that cover them.
    const struct {
        std::vector<int32_t> columns;
        int32_t windows;
    } cases[] = {
        {{}, 0}, {{5}, 1}, {{5, 7}, 1}, {{5, 8}, 2}, {{9, 1, 5}, 3}, {{1, 2, 3, 4}, 2}, {{0, 2, 4, 6, 8}, 3},
    };
    for (const auto& c : cases) {
        std::vector<int32_t> columns = c.columns;
        EXPECT_EQ(solver::windowsToCover(columns.data(), static_cast<int32_t>(columns.size())), c.windows);
    }
}

}  // namespace
