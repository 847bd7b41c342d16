#pragma once
// Pagination: drawing blocks and records line by line onto pages, breaking pages before blocks
// and lines that do not fit and repeating the column headers of the records still open. The
// model's page build (TMLineWydruk::BuildPages) runs it from the root record.
#include "core/MLine.h"

// Page height in millimetres that lines are laid out into.
inline constexpr float kUsablePageHeight = 294;
// Lines shorter than this count as short: the last two short lines of a block stay together.
inline constexpr float kShortLine = 20;

// A line dropped where it would open a page and in repeated headers: SkipAtTop set, or a lone
// horizontal rule outside a column header being drawn.
bool IsSkippable(const TLinia &line);
// Whether all the block's lines fit between y and the bottom of the page.
bool BlockFits(TLinie &block, float y);
// Draws the block at y, breaking pages as its rules say; stops after a line when the model's
// abort flag is set.
void DrawBlock(TLinie &block, float &y);
// Draws the record, its column header, its items and its summary, keeping its State.
void DrawRecord(TMLine &record, float &y);
