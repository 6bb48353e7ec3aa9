// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSArrayExtensions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

using namespace ArrayExtensions;

namespace {

int compareNumbers(const double& element, const double& object, void*)
{
    return element < object ? -1 : (element > object ? 1 : 0);
}

struct Score {
    double value = 0;
    int compare(const Score& other) const { return value < other.value ? -1 : (value > other.value ? 1 : 0); }
    bool operator==(const Score& other) const { return value == other.value; }
};

struct CountingImplementation {
    int* calls;
    int operator()(const Score& element, int (Score::*selector)(const Score&) const, const Score& object) const
    {
        ++*calls;
        return (element.*selector)(object);
    }
};

// 0..n-1 in a scrambled order, each value twice.
QList<double> scrambledWithDuplicates(int n)
{
    QList<double> values;
    for (int i = 0; i < n; ++i)
        values.append((i * 37) % n);
    for (int i = 0; i < n; i += 3)
        values.append((i * 11) % n);
    return values;
}

} // namespace

TEST(BinaryInsert, InsertsWhereTheComparisonSays)
{
    struct Case {
        QList<double> list;
        double value;
        qsizetype expected;
    };
    const Case cases[] = {
        {{}, 4, 0},
        {{1, 5}, 3, 1},
        {{1, 2, 3, 4, 5, 6, 7, 8}, 0, 0},
        {{1, 2, 3, 4, 5, 6, 7, 8}, 9, 8},
        {{1, 2, 3, 4, 5, 6, 7, 8}, 7.5, 7},
        {{1, 2, 3, 4, 5, 6, 7, 8}, 1.5, 1},
        {{1}, 0, 0},
        {{1}, 2, 1},
        {{2, 4, 6}, 5, 2},
    };
    for (const auto& c : cases) {
        QList<double> list = c.list;
        EXPECT_EQ(insertObjectIntoSortedArrayUsingFunctionContext(list, c.value, compareNumbers, nullptr), c.expected)
            << c.value;
        ASSERT_EQ(list.size(), c.list.size() + 1);
        EXPECT_EQ(list.at(c.expected), c.value);
    }
}

TEST(BinaryInsert, RepeatedInsertionKeepsTheListSortedInEveryForm)
{
    const QList<double> values = scrambledWithDuplicates(101);
    QList<double> expected = values;
    std::sort(expected.begin(), expected.end());

    QList<double> byFunction;
    QList<Score> bySelector;
    QList<std::shared_ptr<Score>> byPointer;
    QList<Score> byImplementation;
    int implementationCalls = 0;
    for (const double v : values) {
        const qsizetype at = insertObjectIntoSortedArrayUsingFunctionContext(byFunction, v, compareNumbers, nullptr);
        ASSERT_EQ(byFunction.at(at), v);
        insertObjectIntoSortedArrayUsingSelector(bySelector, Score{v}, &Score::compare);
        insertObjectIntoSortedArrayUsingSelector(byPointer, std::make_shared<Score>(Score{v}), &Score::compare);
        insertObjectIntoSortedArrayUsingSelectorImp(byImplementation, Score{v}, &Score::compare,
                                                    CountingImplementation{&implementationCalls});
    }
    EXPECT_EQ(byFunction, expected);
    QList<double> fromSelector, fromPointer, fromImplementation;
    for (const Score& s : bySelector)
        fromSelector.append(s.value);
    for (const auto& s : byPointer)
        fromPointer.append(s->value);
    for (const Score& s : byImplementation)
        fromImplementation.append(s.value);
    EXPECT_EQ(fromSelector, expected);
    EXPECT_EQ(fromPointer, expected);
    EXPECT_EQ(fromImplementation, expected);
    EXPECT_GT(implementationCalls, 0);
}

TEST(BinaryInsert, ContextReachesTheFunction)
{
    // Descending order through the context's sign.
    auto compare = [](const int& element, const int& object, void* context) {
        const int sign = *static_cast<int*>(context);
        return element * sign < object * sign ? -1 : (element * sign > object * sign ? 1 : 0);
    };
    int descending = -1;
    QList<int> list = {9, 7, 3, 1};
    EXPECT_EQ(insertObjectIntoSortedArrayUsingFunctionContext<int>(list, 5, compare, &descending), 2);
    EXPECT_EQ(list, (QList<int>{9, 7, 5, 3, 1}));
}

TEST(BinaryInsert, ComparisonThatChangesItsMindStillEndsWithinTheList)
{
    // A comparison that answers at random for a few calls and then "comes before" for
    // ever must neither hang nor insert out of bounds. Past a limit it answers "same
    // place", which always ends the search, so a search that would never end fails the
    // test instead of hanging it.
    static std::mt19937 random;
    static int calls;
    static int randomCalls;
    auto erratic = [](const int&, const int&, void*) {
        ++calls;
        if (calls > 10000)
            return 0;
        return calls <= randomCalls ? int(random() % 3) - 1 : -1;
    };
    for (unsigned seed = 0; seed < 400; ++seed) {
        random.seed(seed);
        randomCalls = int(seed % 7);
        QList<int> list(int(seed % 17), 0);
        const qsizetype before = list.size();
        calls = 0;
        const qsizetype at = insertObjectIntoSortedArrayUsingFunctionContext<int>(list, 1, erratic, nullptr);
        EXPECT_LE(calls, 10000) << "seed " << seed;
        EXPECT_GE(at, 0);
        EXPECT_LE(at, before);
        EXPECT_EQ(list.size(), before + 1);
    }
}

TEST(BinaryInsert, InsertingAnElementOfTheListItself)
{
    QList<double> list = {1, 2, 3};
    insertObjectIntoSortedArrayUsingFunctionContext(list, list.at(1), compareNumbers, nullptr);
    EXPECT_EQ(list, (QList<double>{1, 2, 2, 3}));
}

namespace {

struct Tagged {
    int value;
    bool reject;
    bool operator==(const Tagged& other) const { return value == other.value; }
};

bool keepUnlessTagged(const Tagged& element, void* context)
{
    ++*static_cast<int*>(context);
    return !element.reject;
}

QList<int> valuesOf(const QList<Tagged>& list)
{
    QList<int> values;
    for (const Tagged& t : list)
        values.append(t.value);
    return values;
}

} // namespace

TEST(Filter, RemovesRejectedElementsAndEveryElementEqualToThem)
{
    struct Case {
        QList<Tagged> list;
        QList<int> expected;
    };
    const Case cases[] = {
        // Rejects 2: both 2s go.
        {{{1, false}, {2, true}, {3, false}, {2, true}}, {1, 3}},
        // Only the later 2 is rejected; the earlier, equal one goes with it.
        {{{1, false}, {2, false}, {3, false}, {2, true}}, {1, 3}},
        // After a removal that reaches back, the element that moved into place is still examined.
        {{{2, false}, {2, true}, {5, true}, {4, false}}, {4}},
        {{{1, true}, {1, true}}, {}},
        {{{1, false}, {2, false}}, {1, 2}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        QList<Tagged> list = c.list;
        int calls = 0;
        filterElementsUsingFunctionContext(list, keepUnlessTagged, &calls);
        EXPECT_EQ(valuesOf(list), c.expected);
    }
}

TEST(Filter, ApplyByIndexSeesElementsAddedOnTheWay)
{
    struct Visit {
        QList<int>* list;
        QList<int> seen;
    };
    auto appendSmallOnes = [](const int& element, void* context) {
        auto* visit = static_cast<Visit*>(context);
        visit->seen.append(element);
        if (element < 3)
            visit->list->append(element + 10);
    };
    QList<int> list = {1, 2, 3};
    Visit visit{&list, {}};
    filterElementsUsingFunctionAContext<int>(list, appendSmallOnes, &visit);
    EXPECT_EQ(visit.seen, (QList<int>{1, 2, 3, 11, 12}));
    EXPECT_EQ(list, (QList<int>{1, 2, 3, 11, 12}));
}

TEST(Filter, ApplyToEachVisitsInOrderAndRemovesNothing)
{
    auto record = [](const int& element, void* context) { static_cast<QList<int>*>(context)->append(element); };
    const QList<int> original = {4, 1, 4, 2};

    QList<int> list = original;
    QList<int> seenA;
    filterElementsUsingFunctionAContext<int>(list, record, &seenA);
    EXPECT_EQ(list, original);
    EXPECT_EQ(seenA, original);

    QList<int> seenB;
    filterElementsUsingFunctionBContext<int>(list, record, &seenB);
    EXPECT_EQ(list, original);
    EXPECT_EQ(seenB, original);
}
