#pragma once
// The pictures of the print dialog's buttons, drawn here: each strip holds the enabled picture in its
// left half and the greyed one in its right half, as the bitmap buttons take them.
#include <QPixmap>

// A sheet with one page of text lines (one page a side).
QPixmap IconNormalne();
// A landscape sheet with two pages side by side.
QPixmap IconZmniejszone();
// An open booklet folded in the middle.
QPixmap IconKsiazeczka();
// The small arrows of the buttons that show and hide the advanced options.
QPixmap IconPokazOpcje();
QPixmap IconSchowajOpcje();
