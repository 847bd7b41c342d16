#pragma once
// File masks of the search ("*.wyd", "RAP??.*") matched the way Windows' find-first matches them.
#include <QString>

// True when name matches mask: "*" stands for any run of characters, "?" for one character, case
// ignored. A mask ending in ".*" or "." also matches a name without an extension ("*.*" matches
// every name, "*." only names without one). An empty mask matches nothing.
bool MaskMatches(const QString &mask, const QString &name);
