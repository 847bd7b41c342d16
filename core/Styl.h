#pragma once
// The text styles of a printout: TStyl is one style (font, cell size, colour), TStyle the list
// of them, whose index 0 is always the built-in default style "Domyslny".
#include "platform/text/GdiFont.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

#include <memory>
#include <optional>
#include <vector>

class TInflateStream;
class TMLineWydruk;

class TStyl {
public:
    // A style with the defaults, its height taken from the owner's LinesPerPage.
    explicit TStyl(TMLineWydruk *owner);

    // Reads the style record (marker 1).
    void Read(TInflateStream &stream);
    TMLineWydruk *Owner() const { return owner_; }

    qint32 Color = 0;     // text and rule colour, 0x00BBGGRR
    float CharHeight;     // character cell, mm
    float CharWidth;      // mm
    bool Changed = true;  // the font must be made again before its next use
    quint8 FontStyle = 0; // 1 bold, 2 italic, 4 underline
    QByteArray FontName = "Courier New";
    QByteArray Name;
    qint32 Columns = 132;  // characters per line the style was designed for
    qint32 LineHeight = 0; // device units; 0: not measured yet
    qint32 DigitWidth = 0; // device units
    qint32 Charset = 186;
    qint32 Reserved = -1;
    QByteArray Alias;                    // a second name the style is found by
    std::optional<platform::TFont> Font; // made on first use and when Changed (see StyleFont)

private:
    TMLineWydruk *owner_;
};

class TStyle {
public:
    // The list with its default style, sized for the owner's LinesPerPage at this moment.
    explicit TStyle(TMLineWydruk *owner);
    TStyle(const TStyle &) = delete;
    TStyle &operator=(const TStyle &) = delete;

    // Reads the style count and appends each style after the default one.
    void Read(TInflateStream &stream);

    int Count() const { return static_cast<int>(items_.size()); }
    TStyl *operator[](int i) const { return items_[static_cast<size_t>(i)].get(); }
    TStyl *Default() const { return items_.front().get(); }
    TStyl *Add(std::unique_ptr<TStyl> styl);
    // Removes every style but the default one.
    void ClearFileStyles();

    // The first style from index 1 up whose Name, then Alias, equals `name` ignoring case
    // (Windows-1250 upper-casing); the default style when none does.
    TStyl *Find(QByteArrayView name) const;

    // Over the styles read from the file (index 1 and up) only.
    bool AnyChanged() const;
    void SetChanged();
    void ClearChanged();

private:
    TMLineWydruk *owner_;
    std::vector<std::unique_ptr<TStyl>> items_;
    // Upper-cased names and aliases to the first style that has them, filled as Find first needs
    // the styles added since: a lookup costs one hash, not a pass over every style.
    mutable QHash<QByteArray, int> index_;
    mutable size_t indexed_ = 1;
};
