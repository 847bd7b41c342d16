#pragma once
// THintBar: the black bar at the bottom of a window with its accept, cancel and help buttons and
// room for short texts between them (left, centre and right). The centre text may carry colour
// marks "#RED#", "#YELLOW#" and "#NORMAL#".
#include <QAbstractButton>
#include <QWidget>
#include <vector>

// A flat button of the bar: glyph at the left margin, caption beside it, a frame only under the
// pointer.
class THintBarButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit THintBarButton(const QPixmap &glyph, QWidget *parent = nullptr);
    void SetTextColour(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPixmap glyph_, disabledGlyph_;
    QColor textColour_;
    bool hot_ = false;
};

// One run of the centre text and the mark that starts it.
struct TColourPiece {
    enum Mark { Normal, Red, Yellow };
    QString text;
    Mark mark = Normal;
    bool operator==(const TColourPiece &) const = default;
};

// Splits a centre text at its colour marks; the marks themselves are dropped.
std::vector<TColourPiece> SplitColourMarks(const QString &text);

class THintBar : public QWidget {
    Q_OBJECT
public:
    explicit THintBar(QWidget *parent = nullptr);

    int BtnWidth() const { return btnWidth_; }
    void SetBtnWidth(int width);
    bool Active() const { return active_; }
    void SetActive(bool active);
    bool HelpButton() const { return helpButton_; }
    void SetHelpButton(bool show);
    QString TextAccept() const { return accept_->text(); }
    void SetTextAccept(const QString &text);
    QString TextCancel() const { return cancel_->text(); }
    void SetTextCancel(const QString &text);
    QString TextLeft() const { return textLeft_; }
    void SetTextLeft(const QString &text);
    QString TextCenter() const { return textCenter_; }
    void SetTextCenter(const QString &text);
    QString TextRight() const { return textRight_; }
    void SetTextRight(const QString &text);
    bool ErrorState() const { return errorState_; }
    void SetErrorState(bool error);
    QString HelpHint() const { return help_->toolTip(); }
    void SetHelpHint(const QString &hint) { help_->setToolTip(hint); }
    QString AcceptHint() const { return accept_->toolTip(); }
    void SetAcceptHint(const QString &hint) { accept_->setToolTip(hint); }
    QString CancelHint() const { return cancel_->toolTip(); }
    void SetCancelHint(const QString &hint) { cancel_->setToolTip(hint); }

    // TextCenter := text and ErrorState cleared.
    void ShowMessageText(const QString &text);
    // TextLeft := text, repainted at once.
    void ShowLeftText(const QString &text);

    // Whether OnAccept, OnCancel, OnHelp have a receiver (an "assigned" event).
    bool HasAcceptHandler() const;
    bool HasCancelHandler() const;
    bool HasHelpHandler() const;

    THintBarButton *AcceptButton() const { return accept_; }
    THintBarButton *CancelButton() const { return cancel_; }
    THintBarButton *HelpButtonWidget() const { return help_; }
    // The area between the help button and the leftmost shown right-hand button.
    QRect TextArea() const;

Q_SIGNALS:
    void OnAccept();
    void OnCancel();
    void OnHelp();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Relayout();
    void ApplyActiveLook();
    QColor BarColour() const;

    THintBarButton *cancel_;
    THintBarButton *accept_;
    THintBarButton *help_;
    int btnWidth_ = 75;
    bool active_ = true;
    bool helpButton_ = true;
    bool errorState_ = false;
    QString textLeft_, textCenter_, textRight_;
};
