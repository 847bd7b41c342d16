#pragma once
// The print dialog's strip of sheet pictures: the sheets in the order the printer gets them, each
// with the page pictures drawn in their places, front and back side by side when printing on both
// sides. Only the sheets in view are drawn; small page images are kept for scrolling and changes.
#include "platform/metafile/PageMetafile.h"
#include "print/PageSelection.h"
#include "print/PrintDlgSettings.h"
#include "print/SheetOrder.h"

#include <QAbstractScrollArea>
#include <QCache>
#include <QImage>
#include <QList>

// What the strip shows: the printout's pages and the print options that decide the sheets.
struct TArkuszeWejscie {
    QList<const platform::PageMetafile *> Pages; // the printout's pages (index 0 = page 1); may hold nulls
    PageSelection Selection;                     // the pages chosen, numbers from 1, not padded
    TPrintMode Tryb = TPrintMode::Normalne;
    bool Odwrotnie = false;       // reverse order
    bool Dwustronnie = false;     // manual two-sided printing
    bool DwustronnieAuto = false; // the printer prints both sides itself
    bool operator==(const TArkuszeWejscie &) const = default;
};

// One sheet of the strip. Sides hold page numbers from 1 (0 is a blank place); in the normal mode
// a side's page is Left alone, in the reduced and booklet modes Left and Right are its halves.
struct TArkuszPodgladu {
    TSheetSide Przod;
    TSheetSide Tyl;
    bool MaTyl = false; // printed on both sides
    bool operator==(const TArkuszPodgladu &) const = default;
};

class TPodgladArkuszy : public QAbstractScrollArea {
public:
    explicit TPodgladArkuszy(QWidget *parent = nullptr);

    // Takes new input: the sheets are worked out again at once and the strip goes back to its
    // start. The pages must outlive the strip or the next call; images of the old pages are
    // dropped when the page list changes.
    void UstawWejscie(const TArkuszeWejscie &wejscie);

    const TArkuszeWejscie &Wejscie() const { return wejscie_; }
    // The sheets shown, in order.
    const QList<TArkuszPodgladu> &Arkusze() const { return arkusze_; }
    // Where the page of a side's place is drawn, in the viewport's coordinates at the current
    // scroll position: the whole side in the normal mode (right ignored), else its left or right
    // half. Empty for a sheet that does not exist or a back of a one-sided sheet.
    QRectF MiejsceStrony(int arkusz, bool tyl, bool prawa) const;
    // How many page pictures have been played into images since the strip was made: each page is
    // played once per size and kept, so this counts the work scrolling and changes cost.
    int ZagraneStrony() const { return zagrane_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // The sizes of one sheet picture at the current viewport height.
    struct Uklad {
        qreal Wysokosc = 0;  // of a side
        qreal Szerokosc = 0; // of a side
        qreal Odstep = 0;    // between front and back
        qreal Krok = 0;      // from one sheet to the next
    };
    Uklad Rozmiary() const;
    bool Poziomo() const;
    bool RecznieDwustronnie() const;
    QRectF Strona(const Uklad &uklad, int arkusz, bool tyl) const;
    QRectF Miejsce(const QRectF &strona, bool prawa) const;
    void UstawPasek();
    void RysujStrone(QPainter &painter, const QRectF &strona, const TSheetSide &strony, const QRectF &widok);
    void RysujStroneWydruku(QPainter &painter, const QRectF &miejsce, int numer);
    void RysujOdwrocenie(QPainter &painter, const QRectF &przod, const QRectF &tyl) const;

    TArkuszeWejscie wejscie_;
    QList<TArkuszPodgladu> arkusze_;
    // Page images keyed by page number and pixel size; cost in kilobytes.
    QCache<quint64, QImage> miniatury_;
    int zagrane_ = 0;
};
