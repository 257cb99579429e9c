// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Lets a screen reader announce each row's item list by its own name ("Item, row 3") and then
// the item chosen in it, as it does any drop-down list. Safe to call more than once.
void installItemListAccessibility();
