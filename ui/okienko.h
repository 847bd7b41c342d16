#pragma once
// The program's own message box and wait window. Every question, warning and error a window puts
// to the user goes through one of the six entry operations below; TWorkingDlg shows the same form,
// without pictures and buttons, as the non-modal wait window of long operations.
#include <QDialog>
#include <QPointer>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class TSearchAnimation;

class TMsgOkienko : public QDialog {
    Q_OBJECT
public:
    // Kind of box; adding kAutoClose asks for closing itself after 3000 ms.
    enum TKind : int { kInfo = 1, kError = 2, kQuestion = 3, kTypedConfirmation = 4, kPlain = 5, kAutoClose = 16 };
    // Button set flags.
    enum TButton : unsigned {
        bTak = 1,
        bOk = 2,
        bPowtorz = 4,
        bNie = 8,
        bAnuluj = 16,
        bCofnij = 32,
        bWszystkie = 64,
        bExtra = 128,
        bExtra2 = 256,
    };
    // Answers (modal results).
    enum TAnswer : int { mrOk = 1, mrCancel = 2, mrExtra = 3, mrNo = 7, mrAll = 8 };

    // Process-wide captions and widths of the two extra buttons; empty and 0 leave the defaults.
    static inline QString ExtraCaption, Extra2Caption;
    static inline int ExtraWidth = 0, Extra2Width = 0;

    // The owner is the application's active window (the box stays above it), or the wait window
    // while one is up, so that no message is hidden beneath it; without one the box is a topmost
    // window. A wait window has no close button and never takes the focus.
    explicit TMsgOkienko(bool waitWindow = false);
    ~TMsgOkienko() override;

    // Builds the box for a kind and a button set (UtworzOkienko's work on an existing form).
    void Zbuduj(const QString &title, const QString &text, int kind, unsigned buttons);
    int Kind() const { return kind_; }
    bool IsWaitWindow() const { return waitWindow_; }
    bool LeftAligned() const { return leftAligned_; }
    QString Text() const;
    void SetText(const QString &text);

    // Sizes and places the parts: text, buttons, typed-confirmation panel. Runs when shown.
    void Rozmiesc();
    // Where the box is centred when shown (the screen's work area unless set).
    void SetCentreOver(const QRect &globalRect) { centreOver_ = globalRect; }
    // Width of the centre panel (the client width less the visible side columns).
    int CentreWidth() const;

    // The parts, under their designed names.
    QWidget *panLewy, *panPrawy, *Panel3, *Panel2, *panPostep, *panPostep2, *panBtns, *panTAK, *pTAK;
    QLabel *iqmark1, *iexclam1, *iqmark2, *iexclam2;
    TSearchAnimation *ani;
    QLabel *lbl, *lblPostep, *lblPostep2, *lblTAK;
    QProgressBar *pbar;
    QPushButton *btnOk, *btnNo, *btnCancel, *btnAll, *btnExtra, *BtnExtra2;
    QPushButton *btnT, *btnA, *btnK, *btnN;
    QTimer *TimerClose;

    // Pixel heights of the text label's two point sizes (13 and 11 points).
    static int TextPixels13();
    static int TextPixels11();

public Q_SLOTS:
    void TimerCloseTimer();
    void reject() override; // Esc and the close button answer 2

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Enter: the focused or the default button; in the typed confirmation it only starts again.
    void Enter();
    // The keys besides Enter and Esc: the typed confirmation's letters, the buttons' underlined letters.
    bool KeyPreview(const QKeyEvent &event);
    void TypedLetter(QChar letter);
    void ResetTak();
    void LayoutText(int &clientWidth, int &centreHeight);
    int SideColumnsWidth() const;

    int kind_ = kPlain;
    bool leftAligned_ = false;
    bool waitWindow_ = false;
    QRect centreOver_;
};

// The window a new message box belongs to: the wait window while one is up, else the active window.
QWidget *WlascicielOkienka();

// Builds a message box (no owner besides the active window), centred on the screen.
std::unique_ptr<TMsgOkienko> UtworzOkienko(const QString &title, const QString &text, int kind, unsigned buttons);
// Builds, shows modally, destroys, and returns the answer.
int PokazOkienko(const QString &title, const QString &text, int kind, unsigned buttons);

void PokazBlad(const QString &title, const QString &text);
void PokazInfo(const QString &title, const QString &text);
bool PytanieTakNie(const QString &title, const QString &text);
bool PytanieOkAnuluj(const QString &title, const QString &text);
bool PytaniePowtorzAnuluj(const QString &title, const QString &text);
bool PotwierdzTAK(const QString &title, const QString &text);

// The wait window of long operations. Owned by the window that uses it (its parent); it centres
// the wait window over that window and destroys the wait window when hidden or destroyed itself.
class TWorkingDlg : public QObject {
    Q_OBJECT
public:
    explicit TWorkingDlg(QObject *owner = nullptr);
    ~TWorkingDlg() override;

    QString Caption = QStringLiteral(" Zaczekaj chwilę...");
    QString Tekst;
    bool JestPostepLbl = false;
    bool JestPostepLbl2 = false;
    bool JestPostepBar = false;
    bool ScreenCenter = false;
    int ZipAllSize32k = 0;

    int ProgressMax() const { return progressMax_; }
    void SetProgressMax(int max);

    void Pokaz();
    void PokazTekst(const QString &text, bool withLabel, bool withBar);
    void Ukryj();
    void UstawOpis(const QString &text);
    void UstawOpis2(const QString &text);
    void UstawPozycje(int n);
    // One unit more; the units are counted here, so a job of thousands of units still moves the bar.
    void Krok();

    TMsgOkienko *Okno() const { return okno_; }
    int Pozycja() const; // the bar's position, -1 without a wait window

private:
    void SetBar(long long units);

    QPointer<TMsgOkienko> okno_;
    int progressMax_ = 100;
    long long units_ = 0;
};
