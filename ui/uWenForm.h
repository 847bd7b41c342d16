#pragma once
// TWenForm: the base of the program's own-look dialogs. A frameless window that draws its own frame
// and caption bar, moves and resizes itself within its size limits, maximizes to the work area,
// maps Enter and Esc to its hint bar, offers a context-help mode and shows whether it is active.
// Derived windows place their controls inside pFrame, below the caption bar and above the hint bar.
#include <QDialog>
#include <QRect>

#include <memory>

class QToolButton;
class TPanelEx;
class THintBar;

class TWenForm : public QDialog {
    Q_OBJECT
public:
    // Which caption buttons the window offers besides close.
    enum TBorderIcon { biHelp = 1, biMinimize = 2, biMaximize = 4 };
    enum TWenWindowState { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

    // owner: the window this one is a sub-window of; raises Exception when owner, a TWenForm, still
    // has one.
    explicit TWenForm(QWidget *owner = nullptr);
    ~TWenForm() override;

    TPanelEx *pFrame = nullptr;
    TPanelEx *pCaption = nullptr;
    TPanelEx *pCaptionBtns = nullptr;
    TPanelEx *pCapIkona = nullptr;
    TPanelEx *pCapText = nullptr;
    QToolButton *btnCapHelp = nullptr;
    QToolButton *btnCapMinimize = nullptr;
    QToolButton *btnCapMaximize = nullptr;
    QToolButton *btnCapClose = nullptr;
    THintBar *hb = nullptr;

    unsigned BorderIcons() const;
    void SetBorderIcons(unsigned icons);

    // The caption text, shown in pCapText after a blank.
    void SetCaption(const QString &text);

    // Size limits of the outer bounds; a maximum of 0 is no limit (see the setters' interplay).
    int MinWidth() const;
    int MaxWidth() const;
    int MinHeight() const;
    int MaxHeight() const;
    void SetMinWidth(int width);
    void SetMaxWidth(int width);
    void SetMinHeight(int height);
    void SetMaxHeight(int height);
    void SetPreferredSize(int width, int height);
    // Outer bounds, the size clamped to the limits.
    void SetWenBounds(const QRect &bounds);
    // Centres the window on the work area at width x height (0: the work area's), pulled inside it.
    void Center(int width, int height);

    // What the frame offers at a point in window coordinates (a THitCode of ui/bajery.h): the
    // caption moves the window, an edge or corner resizes it, the plain border does nothing.
    int FrameHitTest(const QPoint &pos) const;

    TWenWindowState WenWindowState() const;
    void SetWenWindowState(TWenWindowState state);

    bool Active() const;
    void SetActive(bool active);
    bool Disabled() const;
    void SetDisabled(bool disabled);

    // The owning base window and the current sub-window, when there are.
    TWenForm *OwnerForm() const;
    TWenForm *SubWindow() const;

protected:
    // For derived windows: their class name for the sub-window error, which the base cannot learn
    // while it is being built.
    TWenForm(QWidget *owner, const QMetaObject &windowClass);

    // Applies the active or inactive look; run after every change of the active or disabled flag,
    // once the current event has been handled.
    virtual void UpdateActiveLook();
    // Help for one control: a text, or empty when the control is not handled here.
    virtual QString ShowControlHelp(QWidget *control);
    // The bounds of a restored window without usable remembered ones.
    virtual QRect DefaultNormalBounds();
    // Work that must wait until the window is on the screen; runs once after the first show, after
    // the current event.
    virtual void DeferredShow();

    // The hint bar's buttons: accept does nothing, cancel closes, help asks help for the window.
    virtual void hbAccept();
    virtual void hbCancel();
    virtual void hbHelp();

private:
    struct TPrivate;
    std::unique_ptr<TPrivate> d_;
};
