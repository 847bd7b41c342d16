#pragma once
// TPreviewFind: finding text in the preview. It joins the find bar, the find index and the viewer:
// pages are read into the index while the bar is open, or once the build is over, a few at a time
// between other events; the viewer draws the matches of the pages in view and scrolls to the
// current one.
#include "view/PageFind.h"

#include <QDeadlineTimer>
#include <QObject>

class QTimer;
class TEmfViewer;
class TFindBar;

class TPreviewFind : public QObject {
    Q_OBJECT
public:
    explicit TPreviewFind(TEmfViewer *viewer);

    TFindBar *Bar() const { return bar_; }
    const TPageFind &Model() const { return find_; }
    bool IsOpen() const;
    // Whether the bar's text field has the focus.
    bool HasFocus() const;
    // Opens the bar (Ctrl+F) or, open, puts the focus back into its field.
    void Open();
    // Closes the bar; the marks go and the focus goes back to the viewer.
    void Close();
    // The next or previous match, opening the bar when it is closed (F3, Shift+F3).
    void Next();
    void Previous();
    // While the printout is being built, pages are indexed only for an open bar.
    void SetBuilding(bool building);
    // Pages were added to the viewer or it was emptied.
    void PagesChanged();
    // What Ctrl+C copies: the current match's line while the bar shows one, else the text of the
    // page in view; empty without pages.
    QString CopyText() const;
    // Indexes every page waiting for it at once (what the idle steps do bit by bit).
    void IndexAll();

private:
    void TextEdited(const QString &text);
    void Step();
    // Indexes the pages waiting for it until the deadline.
    void IndexPages(const QDeadlineTimer &deadline);
    void Schedule();
    // Shows the current match: scrolls it into view, repaints the marks, updates the count.
    void ShowCurrent();
    void ShowCount();
    QList<TPageMark> Marks(int index);

    TEmfViewer *viewer_;
    TFindBar *bar_;
    TPageFind find_;
    QTimer *steps_;
    bool building_ = false;
};
