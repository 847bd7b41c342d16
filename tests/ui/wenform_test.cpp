// The base window: size limits and the clamp, the frame's hit test, maximize and restore, the
// sub-window rule, the window keys, the disabled flag and the deferred show.
#include "platform/base/Exception.h"
#include "ui/HintBar.h"
#include "ui/WenFormGeometry.h"
#include "ui/bajery.h"
#include "ui/uWenForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TTestForm : public TWenForm {
    Q_OBJECT
public:
    explicit TTestForm(QWidget *owner = nullptr) : TWenForm(owner, staticMetaObject) {}
    using TWenForm::DefaultNormalBounds;
    int accepts = 0, cancels = 0, deferred = 0;
    bool plainLook = true; // false: the look leaves every control as it is
    QWidget *helpful = nullptr;
    std::vector<QWidget *> asked;

protected:
    void hbAccept() override { ++accepts; }
    void hbCancel() override { ++cancels; }
    void DeferredShow() override { ++deferred; }
    void UpdateActiveLook() override
    {
        if (plainLook)
            TWenForm::UpdateActiveLook();
    }
    QString ShowControlHelp(QWidget *control) override
    {
        asked.push_back(control);
        return control == helpful ? QStringLiteral("Pomoc") : QString();
    }
};

QRect WorkArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

bool Offscreen()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

} // namespace

TEST(WenForm, SizeLimitsHoldEachOtherAndTheWindow)
{
    // From the creation state: minimum 300 x 200, preferred 300 x 200, no maximum, 300 x 200.
    struct Row {
        const char *name;
        std::function<void(TWenForm &)> change;
        int minW, maxW, minH, maxH, prefW, prefH, w, h;
    };
    const Row rows[] = {
        {"minimum never below 20", [](TWenForm &f) { f.SetMinWidth(5); }, 20, 0, 200, 0, 300, 200, 300, 200},
        {"minimum raises preferred and size", [](TWenForm &f) { f.SetMinHeight(260); }, 300, 0, 260, 0, 300, 260, 300,
         260},
        {"maximum lowers minimum, preferred and size", [](TWenForm &f) { f.SetMaxWidth(250); }, 250, 250, 200, 0, 250,
         200, 250, 200},
        {"larger maximum leaves the rest", [](TWenForm &f) { f.SetMaxHeight(400); }, 300, 0, 200, 400, 300, 200, 300,
         200},
        {"minimum raises a smaller maximum",
         [](TWenForm &f) {
             f.SetMaxWidth(400);
             f.SetMinWidth(600);
         },
         600, 600, 200, 0, 600, 200, 600, 200},
        {"maximum 0 lifts the limit",
         [](TWenForm &f) {
             f.SetMaxWidth(250);
             f.SetMaxWidth(0);
             f.resize(700, 200);
         },
         250, 0, 200, 0, 250, 200, 700, 200},
    };
    for (const Row &r : rows) {
        TTestForm form;
        r.change(form);
        const QRect preferred = form.DefaultNormalBounds();
        EXPECT_EQ(QList<int>({form.MinWidth(), form.MaxWidth(), form.MinHeight(), form.MaxHeight(), preferred.width(),
                              preferred.height(), form.width(), form.height()}),
                  QList<int>({r.minW, r.maxW, r.minH, r.maxH, r.prefW, r.prefH, r.w, r.h}))
            << r.name;
    }
}

TEST(WenForm, SizingClampHoldsTheOppositeEdge)
{
    TWenSizeLimits limits;
    limits.SetMinWidth(300);
    limits.SetMaxWidth(500);
    limits.SetMinHeight(200);
    struct Row {
        const char *name;
        int code;
        QRect dragged, expected;
    };
    const Row rows[] = {
        {"bottom-right below the minimum", HTBOTTOMRIGHT, {100, 100, 50, 50}, {100, 100, 300, 200}},
        {"left edge past the maximum: the right edge stays", HTLEFT, {0, 100, 800, 300}, {300, 100, 500, 300}},
        {"top edge below the minimum: the bottom stays", HTTOP, {100, 290, 400, 10}, {100, 100, 400, 200}},
        {"no maximum height", HTBOTTOM, {100, 100, 400, 3000}, {100, 100, 400, 3000}},
        {"top-left dragged over the opposite corner", HTTOPLEFT, {600, 500, -100, -100}, {200, 200, 300, 200}},
        {"a move is not clamped", HTCAPTION, {100, 100, 50, 50}, {100, 100, 50, 50}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ClampSizing(r.dragged, r.code, limits), r.expected) << r.name;

    // Every other way of sizing the window is held to the limits too.
    TWenForm form;
    form.SetMaxWidth(500);
    form.SetMaxHeight(400);
    form.setGeometry(10, 20, 1000, 1000);
    EXPECT_EQ(form.frameGeometry(), QRect(10, 20, 500, 400));
    form.SetWenBounds(QRect(30, 40, 10, 10));
    EXPECT_EQ(form.frameGeometry(), QRect(30, 40, 300, 200));
}

TEST(WenForm, CenterPullsTheWindowInsideTheWorkArea)
{
    // A work area of 800 x 600 beside a 40-pixel panel on the left.
    const QRect area(40, 0, 800, 600);
    TWenSizeLimits limits;
    limits.SetMinWidth(300);
    limits.SetMinHeight(200);
    struct Row {
        const char *name;
        int w, h, maxW;
        QRect expected;
    };
    const Row rows[] = {
        {"centred", 400, 300, 0, {240, 150, 400, 300}},
        {"0 is the work area's size", 0, 0, 0, {40, 0, 800, 600}},
        {"too wide: shrinks to fit", 1000, 300, 0, {40, 150, 800, 300}},
        {"clamped to the maximum first", 1000, 300, 500, {190, 150, 500, 300}},
        {"below the minimum", 100, 100, 0, {290, 200, 300, 200}},
    };
    for (const Row &r : rows) {
        TWenSizeLimits rowLimits = limits;
        if (r.maxW)
            rowLimits.SetMaxWidth(r.maxW);
        EXPECT_EQ(CenteredBounds(r.w, r.h, area, rowLimits), r.expected) << r.name;
    }
    // Even the minimum does not fit: the top-left corner, where the caption is, stays inside.
    limits.SetMinWidth(1000);
    EXPECT_EQ(CenteredBounds(0, 0, area, limits), QRect(40, 0, 1000, 600));
    // Without a preferred size a restored window takes two thirds of the work area's far corner.
    EXPECT_EQ(DefaultRestoredBounds(TWenSizeLimits(), area), QRect(160, 100, 560, 400));
}

TEST(WenForm, DraggingTheFrameWithoutTheWindowSystem)
{
    if (!Offscreen())
        GTEST_SKIP() << "the window manager moves and sizes the window here";
    TWenForm form;
    form.SetWenBounds(QRect(100, 100, 400, 300));
    form.show();
    const auto drag = [&form](QPoint from, QPoint by) {
        QTest::mousePress(&form, Qt::LeftButton, {}, from);
        QTest::mouseMove(&form, from + by);
        QTest::mouseRelease(&form, Qt::LeftButton, {}, from + by);
    };
    drag(QPoint(398, 298), QPoint(-300, -300)); // bottom-right corner far below the minimum
    EXPECT_EQ(form.frameGeometry(), QRect(100, 100, 300, 200));
    drag(QPoint(50, 10), QPoint(40, 30)); // the caption
    EXPECT_EQ(form.frameGeometry(), QRect(140, 130, 300, 200));
    form.SetMaxWidth(300);
    form.SetMaxHeight(200);
    drag(QPoint(298, 198), QPoint(50, 50)); // a fixed size has no corner to drag
    EXPECT_EQ(form.frameGeometry(), QRect(140, 130, 300, 200));
}

TEST(WenForm, FrameHitTestAndItsRestrictions)
{
    enum Setup { Normal, Fixed, Maximized };
    struct Row {
        const char *name;
        Setup setup;
        QPoint pos;
        int expected;
    };
    // A normal window is 400 x 300, the fixed one 640 x 380; the frame is 4 pixels wide, corners
    // reach 10 pixels along the edges.
    const Row rows[] = {
        {"caption", Normal, {50, 10}, HTCAPTION},
        {"top-left corner", Normal, {1, 1}, HTTOPLEFT},
        {"top-left reaches along the top", Normal, {9, 2}, HTTOPLEFT},
        {"top beyond the corner", Normal, {10, 2}, HTTOP},
        {"top right before the corner", Normal, {389, 2}, HTTOP},
        {"top-right", Normal, {390, 2}, HTTOPRIGHT},
        {"left", Normal, {2, 150}, HTLEFT},
        {"right", Normal, {397, 150}, HTRIGHT},
        {"inside the frame", Normal, {4, 150}, HTCLIENT},
        {"bottom", Normal, {200, 298}, HTBOTTOM},
        {"bottom-left reaches up the side", Normal, {1, 290}, HTBOTTOMLEFT},
        {"bottom-right", Normal, {399, 299}, HTBOTTOMRIGHT},
        {"fixed: caption still moves", Fixed, {50, 10}, HTCAPTION},
        {"fixed: no left", Fixed, {1, 150}, HTBORDER},
        {"fixed: no bottom", Fixed, {300, 378}, HTBORDER},
        {"fixed: no corner", Fixed, {639, 379}, HTBORDER},
        {"maximized: caption does not move", Maximized, {50, 10}, HTBORDER},
    };
    for (const Row &r : rows) {
        TWenForm form;
        form.SetBorderIcons(TWenForm::biHelp | TWenForm::biMaximize);
        form.SetWenBounds(QRect(0, 0, 400, 300));
        if (r.setup == Fixed) {
            form.SetMinWidth(640);
            form.SetMaxWidth(640);
            form.SetMinHeight(380);
            form.SetMaxHeight(380);
        }
        if (r.setup == Maximized)
            form.SetWenWindowState(TWenForm::wsMaximized);
        EXPECT_EQ(form.FrameHitTest(r.pos), r.expected) << r.name;
    }
}

TEST(WenForm, DoubleClickOnTheCaptionMaximizesAndRestores)
{
    TWenForm form;
    form.SetBorderIcons(TWenForm::biHelp | TWenForm::biMaximize);
    form.SetWenBounds(QRect(100, 80, 400, 300));
    form.show();
    QCoreApplication::processEvents();
    QTest::mouseDClick(form.pCapText, Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_EQ(form.frameGeometry(), WorkArea());
    EXPECT_EQ(form.WenWindowState(), TWenForm::wsMaximized);
    EXPECT_EQ(form.btnCapMaximize->text(), QStringLiteral("2"));
    EXPECT_EQ(form.btnCapMaximize->toolTip(), QStringLiteral("Ctrl+Enter - Przywróć"));

    QTest::mouseDClick(form.pCapText, Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_EQ(form.frameGeometry(), QRect(100, 80, 400, 300)) << "the remembered bounds";
    EXPECT_EQ(form.WenWindowState(), TWenForm::wsNormal);
    EXPECT_EQ(form.btnCapMaximize->text(), QStringLiteral("1"));
    EXPECT_EQ(form.btnCapMaximize->toolTip(), QStringLiteral("Ctrl+Enter - Maksymalizuj"));

    // Restoring a window that is already normal gives it the preferred size, centred.
    form.SetWenWindowState(TWenForm::wsNormal);
    const QRect area = WorkArea();
    EXPECT_EQ(form.frameGeometry(),
              QRect(area.left() + (area.width() - 300) / 2, area.top() + (area.height() - 200) / 2, 300, 200));

    // Without the maximize icon the caption's double click does nothing.
    form.SetBorderIcons(TWenForm::biHelp);
    QTest::mouseDClick(form.pCapText, Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_EQ(form.WenWindowState(), TWenForm::wsNormal);
}

TEST(WenForm, SecondSubWindowIsRefused)
{
    TWenForm owner;
    auto sub = std::make_unique<TTestForm>(&owner);
    EXPECT_EQ(owner.SubWindow(), sub.get());
    EXPECT_EQ(sub->OwnerForm(), &owner);
    try {
        TWenForm second(&owner);
        ADD_FAILURE() << "a second sub-window was created";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TWenForm.Create - próba utworzenia drugiego podokna przed zamknięciem "
                                              "poprzedniego (TTestForm)"));
    }
    EXPECT_EQ(owner.SubWindow(), sub.get()) << "the refused window left no trace";
    sub.reset();
    EXPECT_EQ(owner.SubWindow(), nullptr);
    TWenForm third(&owner);
    EXPECT_EQ(owner.SubWindow(), &third);

    // A sub-window still there when its owner goes is destroyed first, and reaches no further.
    auto owner2 = std::make_unique<TWenForm>();
    QPointer<TWenForm> left = new TWenForm(owner2.get());
    owner2.reset();
    EXPECT_TRUE(left.isNull());
}

TEST(WenForm, EnterAndEscOnlyWithoutModifiers)
{
    struct Row {
        const char *name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString cancelText;
        int accepts, cancels;
    };
    const QString zamknij = QStringLiteral("Zamknij");
    const Row rows[] = {
        {"Enter accepts", Qt::Key_Return, {}, zamknij, 1, 0},
        {"keypad Enter accepts", Qt::Key_Enter, Qt::KeypadModifier, zamknij, 1, 0},
        {"Ctrl+Enter does nothing", Qt::Key_Return, Qt::ControlModifier, zamknij, 0, 0},
        {"Shift+Enter does nothing", Qt::Key_Return, Qt::ShiftModifier, zamknij, 0, 0},
        {"Esc cancels", Qt::Key_Escape, {}, zamknij, 0, 1},
        {"Alt+Esc does nothing", Qt::Key_Escape, Qt::AltModifier, zamknij, 0, 0},
        {"Esc without a cancel caption does nothing", Qt::Key_Escape, {}, QString(), 0, 0},
    };
    for (const Row &r : rows) {
        TTestForm form;
        form.SetBorderIcons(TWenForm::biHelp | TWenForm::biMaximize);
        form.hb->SetTextAccept(QStringLiteral("Drukuj"));
        form.hb->SetTextCancel(r.cancelText);
        auto *button = new QPushButton(QStringLiteral("Właściwości"), form.pFrame);
        button->move(20, 40);
        bool clicked = false;
        QObject::connect(button, &QPushButton::clicked, [&clicked] { clicked = true; });
        form.show();
        button->setFocus();
        QCoreApplication::processEvents();
        const QRect before = form.frameGeometry();
        QTest::keyClick(button, r.key, r.modifiers);
        EXPECT_EQ(form.accepts, r.accepts) << r.name;
        EXPECT_EQ(form.cancels, r.cancels) << r.name;
        EXPECT_FALSE(clicked) << r.name << ": the dialog's default button";
        EXPECT_TRUE(form.isVisible()) << r.name << ": the dialog's own Esc";
        EXPECT_EQ(form.frameGeometry(), before) << r.name;
    }
}

TEST(WenForm, DisabledDropsInput)
{
    TTestForm form;
    form.plainLook = false; // the flag alone must keep input out, whatever the look does
    form.hb->SetTextAccept(QStringLiteral("Drukuj"));
    auto *button = new QPushButton(QStringLiteral("Opcje"), form.pFrame);
    button->move(20, 40);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    form.show();
    QCoreApplication::processEvents();
    form.SetDisabled(true);
    QCoreApplication::processEvents();
    QTest::keyClick(&form, Qt::Key_Return);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(form.hb->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(form.accepts, 0);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form.cancels, 0);
    form.resize(500, 400);
    EXPECT_EQ(form.width(), 500) << "sizing still works";

    form.SetDisabled(false);
    QTest::keyClick(&form, Qt::Key_Return);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(form.accepts, 1);
    EXPECT_EQ(clicks, 1);
}

TEST(WenForm, ActiveLookFollowsTheFlagAfterTheCurrentEvent)
{
    TWenForm form;
    auto *edit = new QLineEdit(form.pFrame);
    edit->setEnabled(false); // stored disabled, usable once the window is shown
    auto *label = new QLabel(QStringLiteral("Strony:"), form.pFrame);
    label->setEnabled(false);
    form.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_FALSE(label->isEnabled()) << "labels keep their own state";
    EXPECT_FALSE(form.btnCapMaximize->isEnabled()) << "no maximize icon";
    EXPECT_EQ(form.pCaption->Color(), QColor(0, 0, 128));

    form.SetActive(false);
    EXPECT_TRUE(edit->isEnabled()) << "not before the current event is handled";
    QCoreApplication::processEvents();
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(form.btnCapClose->isEnabled());
    EXPECT_FALSE(form.hb->Active());
    EXPECT_EQ(form.pCaption->Color(), QColor(128, 128, 128));
    EXPECT_EQ(form.pCapText->palette().color(QPalette::WindowText), QColor(192, 192, 192));
}

TEST(WenForm, DeferredShowRunsOnceAfterTheShow)
{
    TTestForm form;
    form.show();
    EXPECT_EQ(form.deferred, 0) << "not while the show is being handled";
    QCoreApplication::processEvents();
    EXPECT_EQ(form.deferred, 1);
    form.hide();
    form.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.deferred, 1);
}

TEST(WenForm, HelpModeAsksTheControlUnderThePointerAndItsParents)
{
    TTestForm form;
    auto *panel = new QWidget(form.pFrame);
    panel->setGeometry(20, 40, 200, 100);
    auto *button = new QPushButton(QStringLiteral("Opcje"), panel);
    button->move(10, 10);
    form.helpful = panel;
    form.show();
    QCoreApplication::processEvents();
    QTest::mouseClick(form.btnCapHelp, Qt::LeftButton);
    EXPECT_TRUE(form.btnCapHelp->isChecked());
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(form.asked, (std::vector<QWidget *>{button, panel})) << "up to the first that answers";
    EXPECT_EQ(clicks, 0) << "the click was the help mode's";
    EXPECT_FALSE(form.btnCapHelp->isChecked());

    form.asked.clear();
    button->setFocus();
    QTest::keyClick(button, Qt::Key_F1);
    EXPECT_EQ(form.asked, (std::vector<QWidget *>{button, panel})) << "F1: the focused control";
}

#include "wenform_test.moc"
