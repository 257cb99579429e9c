// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Lets a screen reader announce each row's item list by its own name ("Item, row 3") rather than
// by the entry it shows. Safe to call more than once.
void installItemListAccessibility();
