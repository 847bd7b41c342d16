// The key preview: which keys a window takes before its controls, and which it leaves to them or
// to another window.
#include "ui/KeyPreview.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSet>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A window with a text field, a dialog of its own with another, and a preview without a help action.
struct Okno {
    QWidget window;
    QLineEdit *field = new QLineEdit(&window);
    QDialog *dialog = new QDialog(&window);
    QLineEdit *dialogField = new QLineEdit(dialog);
    TKeyPreview *preview = new TKeyPreview(&window);
    QLineEdit *laterField = nullptr;
    QString log;       // the hint-bar actions run
    QSet<int> offered; // the keys offered to the window's own handler

    Okno()
    {
        preview->OnAccept = [this] { log += QStringLiteral("accept "); };
        preview->OnCancel = [this] { log += QStringLiteral("cancel "); };
        preview->OnKey = [this](const QKeyEvent &key) {
            offered.insert(key.key());
            return key.key() == Qt::Key_F2;
        };
        // Created after the preview, as a window may add controls as it goes.
        laterField = new QLineEdit(&window);
    }
};

} // namespace

TEST(KeyPreview, WindowKeysBeforeTheControlsAndOnlyOfItsOwnWindow)
{
    enum Target { Field, LaterField, DialogField };
    const struct {
        const char *name;
        Target target;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *log;  // the action run
        bool offered;     // given to the window's handler
        const char *text; // what reached the field
    } rows[] = {
        {"Enter accepts", Field, Qt::Key_Return, Qt::NoModifier, "accept ", false, ""},
        {"keypad Enter accepts", Field, Qt::Key_Enter, Qt::KeypadModifier, "accept ", false, ""},
        {"Esc cancels", Field, Qt::Key_Escape, Qt::NoModifier, "cancel ", false, ""},
        {"Shift+Esc is another key", Field, Qt::Key_Escape, Qt::ShiftModifier, "", true, ""},
        {"Ctrl+Enter is another key", Field, Qt::Key_Return, Qt::ControlModifier, "", true, ""},
        {"F1 without a help action is another key", Field, Qt::Key_F1, Qt::NoModifier, "", true, ""},
        {"a key the window uses stops there", Field, Qt::Key_F2, Qt::NoModifier, "", true, ""},
        {"a key it leaves goes on to the field", Field, Qt::Key_A, Qt::NoModifier, "", true, "a"},
        {"a control added later", LaterField, Qt::Key_Escape, Qt::NoModifier, "cancel ", false, ""},
        {"a dialog's keys are the dialog's", DialogField, Qt::Key_Escape, Qt::NoModifier, "", false, ""},
        {"a dialog's letters too", DialogField, Qt::Key_A, Qt::NoModifier, "", false, "a"},
    };
    for (const auto &row : rows) {
        Okno okno;
        QLineEdit *target = row.target == Field        ? okno.field
                            : row.target == LaterField ? okno.laterField
                                                       : okno.dialogField;
        QTest::keyClick(target, row.key, row.modifiers);
        EXPECT_EQ(okno.log, QString::fromLatin1(row.log)) << row.name;
        EXPECT_EQ(okno.offered.contains(row.key), row.offered) << row.name;
        EXPECT_EQ(target->text(), QString::fromLatin1(row.text)) << row.name;
    }
}

TEST(KeyPreview, InactiveWindowLeavesEveryKeyToTheControls)
{
    Okno okno;
    okno.preview->Active = [] { return false; };
    QTest::keyClick(okno.field, Qt::Key_Escape);
    QTest::keyClick(okno.field, Qt::Key_A);
    EXPECT_EQ(okno.log, QString());
    EXPECT_TRUE(okno.offered.isEmpty());
    EXPECT_EQ(okno.field->text(), QStringLiteral("a"));
}

TEST(KeyPreview, WindowKeyIsNoControlsShortcut)
{
    Okno okno;
    int shortcuts = 0;
    auto *shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), okno.field);
    shortcut->setContext(Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, [&shortcuts] { ++shortcuts; });
    okno.window.show();
    okno.field->setFocus();
    QApplication::setActiveWindow(&okno.window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&okno.window));
    QTest::keyClick(okno.field, Qt::Key_Escape);
    EXPECT_EQ(okno.log, QStringLiteral("cancel "));
    EXPECT_EQ(shortcuts, 0);
}
