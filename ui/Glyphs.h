#pragma once
// The small pictures of the window parts, drawn by our own code: the hint bar's accept, cancel and
// help glyphs, the message box's button glyphs and its question-mark and exclamation-mark pictures.
#include <QPixmap>

QPixmap HintBarCancelGlyph(); // "HINTBARCANCEL", 16 x 16
QPixmap HintBarAcceptGlyph(); // "HINTBARACCEPT", 16 x 16
QPixmap HintBarHelpGlyph();   // "HINTBARHELP", 12 x 12

QPixmap TickGlyph();  // the OK-kind button
QPixmap CrossGlyph(); // the cancel button
QPixmap NoGlyph();    // the "Nie" button

QPixmap QuestionPicture();    // 41 x 40
QPixmap ExclamationPicture(); // 39 x 41
