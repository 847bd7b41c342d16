#pragma once
// Places a top-level window by its outer bounds, frame included, as the preview's stored bounds,
// the desktop work area and the smallest size count it. A window manager's frame is known only
// once the window is on screen: until then the bounds go to the window as they are (the frame
// then adds to them), and they are applied again, once, as soon as the frame is known. Without a
// window manager there is no frame and the two are the same.
#include <QObject>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

class TRamkaOkna : public QObject {
public:
    // Watches window, which it does not own; minimum is the smallest outer size.
    TRamkaOkna(QWidget *window, QSize minimum);

    // Gives the window these outer bounds; maximised or minimised, it gets them when restored.
    void Ustaw(const QRect &outer);
    // The outer bounds the window has now.
    QRect Obramowanie() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Applies what waits for the frame, when the frame is known.
    void Dopasuj();

    QWidget *window_;
    QSize minimum_;
    std::optional<QRect> czeka_; // outer bounds still to be corrected for the frame
    bool minimumUstawione_ = false;
};
