// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <concepts>
#include <functional>
#include <type_traits>

// Sorted insertion into a list that is already sorted, and filtering.
//
// A comparison answers, for an element of the list and the new element, -1 when the list
// element comes before the new element, 0 when they share a place and 1 when the list
// element comes after it. It comes in three forms: a function with a context; a member
// function of the elements (called on the list element with the new element); and a
// member function together with an implementation that is called directly with the list
// element, the member function and the new element.
namespace ArrayExtensions {

template <typename T>
using ComparisonFunction = int (*)(const T& element, const T& object, void* context);

namespace detail {

// The search keeps only an upper bound: a step to the left halves the position towards 0,
// a step to the right moves halfway to the bound. It stops where the left neighbour does
// not come after the new element and the right one does not come before it.
template <typename T, typename Compare>
qsizetype insertSorted(QList<T>& list, const T& object, Compare compare)
{
    const qsizetype n = list.size();
    qsizetype hi = n;
    qsizetype mid = n / 2;
    for (;;) {
        const bool hasLeft = mid >= 1;
        const bool hasRight = mid < n;
        const int c = hasLeft ? compare(list.at(mid - 1), object) : 0;
        const int d = hasRight ? compare(list.at(mid), object) : 0;
        const bool insertHere = ((c == -1 || !hasLeft) && (d == 1 || !hasRight)) || (c == 0 && d == 1)
            || (c == -1 && d == 0) || (c == 0 && d == 0);
        // Every step narrows the search; a comparison that answers differently for the
        // same elements could leave no room to move and loop for ever, so where a step
        // would make no progress the element goes here.
        if (!insertHere) {
            if (c == 1) {
                if (mid < hi) {
                    hi = mid;
                    mid = mid / 2;
                    continue;
                }
            } else {
                const qsizetype next = (mid + hi + 1) / 2;
                if (next != mid) {
                    mid = next;
                    continue;
                }
            }
        }
        // Copy first: the object may be an element of the list itself.
        T copy = object;
        list.insert(mid, std::move(copy));
        return mid;
    }
}

} // namespace detail

// Sorted insertion with a comparison function; answers the index of the new element.
template <typename T>
qsizetype insertObjectIntoSortedArrayUsingFunctionContext(QList<T>& list, const T& object,
                                                         ComparisonFunction<T> function, void* context)
{
    return detail::insertSorted(list, object,
                                [&](const T& element, const T& other) { return function(element, other, context); });
}

namespace detail {

// Calls the member function on the element with the new element, or, for lists of
// pointers whose member function takes the object itself, with the object pointed to.
template <typename T, typename Selector>
int callSelector(Selector selector, const T& element, const T& other)
{
    if constexpr (std::is_invocable_v<Selector, const T&, const T&>)
        return int(std::invoke(selector, element, other));
    else
        return int(std::invoke(selector, element, *other));
}

} // namespace detail

// Sorted insertion with a member function of the elements (on pointers and smart
// pointers it is called on the object pointed to).
template <typename T, typename Selector>
    requires std::is_member_function_pointer_v<Selector>
qsizetype insertObjectIntoSortedArrayUsingSelector(QList<T>& list, const T& object, Selector selector)
{
    return detail::insertSorted(list, object, [&](const T& element, const T& other) {
        return detail::callSelector(selector, element, other);
    });
}

// Sorted insertion with a member function and its implementation, called as
// implementation(element, selector, object).
template <typename T, typename Selector, typename Implementation>
    requires std::is_member_function_pointer_v<Selector>
    && std::invocable<Implementation&, const T&, Selector, const T&>
qsizetype insertObjectIntoSortedArrayUsingSelectorImp(QList<T>& list, const T& object, Selector selector,
                                                     Implementation implementation)
{
    return detail::insertSorted(list, object, [&](const T& element, const T& other) {
        return int(std::invoke(implementation, element, selector, other));
    });
}

// Removes every element the function rejects and, with it, every element equal to it;
// the others keep their order.
template <typename T>
void filterElementsUsingFunctionContext(QList<T>& list, bool (*function)(const T& element, void* context),
                                        void* context)
{
    qsizetype i = 0;
    while (i < list.size()) {
        if (function(list.at(i), context)) {
            ++i;
            continue;
        }
        const T rejected = list.at(i);
        qsizetype before = 0;
        for (qsizetype j = 0; j < i; ++j) {
            if (list.at(j) == rejected)
                ++before;
        }
        list.removeAll(rejected);
        i -= before;
    }
}

// Calls the function for each element by index from 0, re-reading the length before each
// step, so the function may change the list; it gets a copy of the element.
template <typename T>
void filterElementsUsingFunctionAContext(QList<T>& list, void (*function)(const T& element, void* context),
                                         void* context)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        const T element = list.at(i);
        function(element, context);
    }
}

// Calls the function for each element in order; the function must not change the list.
template <typename T>
void filterElementsUsingFunctionBContext(const QList<T>& list, void (*function)(const T& element, void* context),
                                         void* context)
{
    for (const T& element : list)
        function(element, context);
}

} // namespace ArrayExtensions
