// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The root: the content of the browser's first column. Fixed entries (a caption, the
// playing-artist follower, the curated picks, the recommendations and a separator), then one
// lookup entry per saved artist name. The saved names survive restarts.

#include "Application/Node.h"

class MainNode : public Node {
public:
    static constexpr int numberOfFixedEntries = 5;

    // Builds the fixed entries and the saved lookups, and saves them at quit.
    void init() override;
    void loadDefaults();
    void saveDefaults();
    // Finds the entry whose primary text equals the name ignoring case (fixed entries
    // included), or appends a new lookup for it; with select, selects it in column 0 and
    // gives column 0 the keyboard focus.
    void addNewLookupNodeWithStringAndSelect(const QString& name, bool select);
    // Whether the entry is a saved lookup (which the user may delete), not a fixed entry.
    static bool isSavedLookup(const Node& node);
};
