#pragma once
// Measuring and drawing the fields and lines of a printout onto the page canvas. Positions on the
// page are millimetres from the top edge (`y`, single precision); everything drawn is in device
// units of the page canvas.
#include "core/Linia.h"

// The field's height in device units, measured once and kept (kind 3 is never measured).
int FieldMeasuredHeight(TPole &pole);
// Draws the field with its top at y. R is the largest drawn height of the fields before it in
// the line (0 for the first), S the largest style line height of the line, both in mm. A rich
// text that runs off the page continues on new pages and moves y onto the last of them.
void DrawField(TPole &pole, float &y, float R, float S);

// The tallest measured field of the line (kind 3 aside); 0 when there is none.
int LineHeight(TLinia &line);
// Draws the line at y and moves y below it (and the model's LineSpacing).
void DrawLine(TLinia &line, float &y);
