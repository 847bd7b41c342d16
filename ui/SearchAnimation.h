#pragma once
// The wait window's small looping animation: a magnifying glass searching over a page.
#include <QTimer>
#include <QWidget>

class TSearchAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrames = 8;
    static constexpr int kFrameMs = 125;

    explicit TSearchAnimation(QWidget *parent = nullptr);

    void Start();
    void Stop();
    bool Active() const { return timer_.isActive(); }
    int Frame() const { return frame_; }
    // Advances to the next frame, back to the first after the last.
    void NextFrame();
    // Draws one frame into a picture the size of the animation (for the gallery and checks).
    static QImage RenderFrame(int frame, const QSize &size);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer timer_;
    int frame_ = 0;
};
