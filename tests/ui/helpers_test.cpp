// Shared helpers: the Polish plural, the nesting wait cursor, safe focus with its error text, and
// the application's standard error box.
#include "ui/BusyCursor.h"
#include "ui/ErrorBox.h"
#include "ui/Plural.h"
#include "ui/SafeFocus.h"

#include "ModalDriver.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

TEST(PolishPlural, ChoosesTheForm)
{
    const QString one = QStringLiteral("strona"), few = QStringLiteral("strony"), many = QStringLiteral("stron");
    const struct {
        long long n;
        const QString &expected;
    } rows[] = {
        {1, one},
        {2, few},
        {3, few},
        {4, few},
        {5, many},
        {0, many},
        {11, many},
        {12, many},
        {14, many},
        {19, many},
        {21, many},
        {22, few},
        {23, few},
        {25, many},
        {101, many},
        {102, few},
        // The teens of every hundred take the third form: "112 stron", not "112 strony".
        {112, many},
        {113, many},
        {114, many},
        {122, few},
        {1012, many},
        {-3, few},
    };
    for (const auto &row : rows)
        EXPECT_EQ(PolishPlural(row.n, one, few, many), row.expected) << row.n;
}

TEST(BusyCursor, NestsAndChoosesTheShapeOfTheLastCall)
{
    ASSERT_EQ(BusyCursorCount(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    BusyCursor(true);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    BusyCursor(true, true);
    EXPECT_EQ(BusyCursorCount(), 2);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    BusyCursor(false);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor) << "still on: one left";
    BusyCursor(false);
    EXPECT_EQ(BusyCursorCount(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    BusyCursor(false); // an extra switch-off does not go below zero
    EXPECT_EQ(BusyCursorCount(), 0);
    BusyCursor(true);
    EXPECT_EQ(BusyCursorCount(), 1);
    BusyCursor(false);
}

TEST(BusyCursor, GuardSwitchesOffWhenAnErrorPasses)
{
    try {
        TBusyCursorGuard busy;
        EXPECT_EQ(BusyCursorCount(), 1);
        throw Exception(QStringLiteral("błąd"));
    } catch (const Exception &) {
    }
    EXPECT_EQ(BusyCursorCount(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(SafeFocus, RefusalNamesTheControlPath)
{
    QWidget form;
    auto *panel = new QWidget(&form);
    panel->setObjectName(QStringLiteral("pFrame"));
    auto *edit = new QLineEdit(panel);
    edit->setObjectName(QStringLiteral("edNazwa"));
    form.show();
    edit->hide();
    try {
        SafeSetFocus(edit);
        FAIL() << "a hidden control cannot take the focus";
    } catch (const ESetFocusError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Problem z SetFocus dla: QWidget, QWidget-pFrame, QLineEdit-edNazwa\r"
                                              "(Visible=0, Enabled=1, CanFocus=0)"));
    }
    edit->show();
    edit->setEnabled(false);
    try {
        SafeSetFocus(edit);
        FAIL() << "a disabled control cannot take the focus";
    } catch (const ESetFocusError &e) {
        EXPECT_TRUE(e.Message().endsWith(QStringLiteral("(Visible=1, Enabled=0, CanFocus=0)"))) << e.what();
    }
    edit->setEnabled(true);
    EXPECT_NO_THROW(SafeSetFocus(edit));
    EXPECT_EQ(form.focusWidget(), edit);
}

TEST(SafeFocus, NoControl)
{
    try {
        SafeSetFocus(nullptr);
        FAIL();
    } catch (const ESetFocusError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Problem z SetFocus dla: nil\r(Visible=0, Enabled=0, CanFocus=0)"));
    }
}

TEST(ErrorBox, FullStopRule)
{
    const struct {
        QString in, out;
    } rows[] = {
        {QStringLiteral("Brak pliku"), QStringLiteral("Brak pliku.")},
        {QStringLiteral("Koniec."), QStringLiteral("Koniec.")},
        {QStringLiteral("Uwaga!"), QStringLiteral("Uwaga!")},           // "!" sorts below "."
        {QStringLiteral("(kod 3)"), QStringLiteral("(kod 3)")},         // so does ")"
        {QStringLiteral("Postęp 100%"), QStringLiteral("Postęp 100%")}, // and "%"
        {QStringLiteral("Czy?"), QStringLiteral("Czy?.")},              // "?" sorts above it
        {QStringLiteral("Strona 7"), QStringLiteral("Strona 7.")},      // digits too
        {QStringLiteral("Zażółć"), QStringLiteral("Zażółć.")},          // and Polish letters
        {QStringLiteral("Ścieżka: c:/"), QStringLiteral("Ścieżka: c:/.")},
        {QString(), QString()},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ErrorBoxText(row.in), row.out) << qPrintable(row.in);
}

TEST(ErrorBox, ShowsTheMessageWithStopSignAndOk)
{
    ModalDriver driver;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton *> buttons;
    driver.Then([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons();
        QTest::keyClick(box, Qt::Key_Return);
    });
    HandleUncaughtException(std::make_exception_ptr(Exception(QStringLiteral("Nie można otworzyć pliku"))));
    EXPECT_TRUE(driver.ran);
    EXPECT_FALSE(driver.closedBySafety);
    EXPECT_EQ(title, QStringLiteral("Wenoglad"));
    EXPECT_EQ(text, QStringLiteral("Nie można otworzyć pliku."));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons.size(), 1);
}

TEST(ErrorBox, SilentAbortShowsNothing)
{
    bool sawModal = false;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            sawModal = true;
            w->close();
        }
    });
    watch.start();
    HandleUncaughtException(std::make_exception_ptr(EAbort()));
    watch.stop();
    EXPECT_FALSE(sawModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
