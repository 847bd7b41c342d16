// The hint bar: button layout rules, the coloured centre text with its marks in active, inactive
// and error states, its keys and its two text operations.
#include "ui/HintBar.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Colours {
    int red = 0, green = 0, yellow = 0, silver = 0, white = 0;
};

Colours Count(const QImage &image, const QRect &area)
{
    Colours c;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p(image.pixel(x, y));
            c.red += p == QColor(255, 0, 0);
            c.green += p == QColor(0, 255, 0);
            c.yellow += p == QColor(255, 255, 0);
            c.silver += p == QColor(192, 192, 192);
            c.white += p == QColor(255, 255, 255);
        }
    return c;
}

QImage Grab(THintBar &bar)
{
    return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(HintBar, DefaultsAndLayout)
{
    THintBar bar;
    bar.resize(400, 24);
    bar.SetTextAccept(QStringLiteral("Drukuj"));
    bar.SetTextCancel(QStringLiteral("Zamknij"));
    EXPECT_EQ(bar.height(), 24);
    EXPECT_EQ(bar.BtnWidth(), 75);
    EXPECT_TRUE(bar.Active());
    EXPECT_FALSE(bar.ErrorState());
    EXPECT_EQ(bar.HelpButtonWidget()->text(), QStringLiteral("Pomoc"));
    EXPECT_EQ(bar.HelpHint(), QStringLiteral("F1"));
    EXPECT_EQ(bar.AcceptHint(), QStringLiteral("Enter"));
    EXPECT_EQ(bar.CancelHint(), QStringLiteral("Esc"));
    // m = (24 - 20) / 2 = 2; buttons 75 wide and 20 high, 3 pixels apart.
    EXPECT_EQ(bar.HelpButtonWidget()->geometry(), QRect(2, 2, 75, 20));
    EXPECT_EQ(bar.CancelButton()->geometry(), QRect(400 - 2 - 75, 2, 75, 20));
    EXPECT_EQ(bar.AcceptButton()->geometry(), QRect(400 - 2 - 75 - 3 - 75, 2, 75, 20));
    EXPECT_EQ(bar.TextArea().left(), 2 + 75 + 3);
    EXPECT_EQ(bar.TextArea().right() + 1, bar.AcceptButton()->x() - 3);
}

TEST(HintBar, EmptyAcceptTextHidesTheButtonAndMovesCancelRight)
{
    THintBar bar;
    bar.resize(400, 24);
    bar.SetTextAccept(QStringLiteral("Otwórz"));
    bar.SetTextCancel(QStringLiteral("Zamknij"));
    bar.show();
    const int cancelBefore = bar.CancelButton()->x();
    bar.SetTextAccept(QString());
    EXPECT_FALSE(bar.AcceptButton()->isVisible());
    EXPECT_EQ(bar.AcceptButton()->height(), 0);
    EXPECT_EQ(bar.CancelButton()->x(), cancelBefore);
    EXPECT_EQ(bar.CancelButton()->geometry().right(), 400 - 2 - 1) << "rightmost place";
    EXPECT_EQ(bar.TextArea().right() + 1, bar.CancelButton()->x() - 3) << "the text area grows";

    // With the cancel text empty instead, accept takes the rightmost place.
    bar.SetTextAccept(QStringLiteral("Otwórz"));
    bar.SetTextCancel(QString());
    EXPECT_FALSE(bar.CancelButton()->isVisible());
    EXPECT_EQ(bar.AcceptButton()->geometry().right(), 400 - 2 - 1);
}

TEST(HintBar, WithoutHelpButtonTheTextStartsAtTheMargin)
{
    THintBar bar;
    bar.resize(400, 24);
    bar.show();
    bar.SetHelpButton(false);
    EXPECT_FALSE(bar.HelpButtonWidget()->isVisible());
    EXPECT_EQ(bar.TextArea().left(), 2);
}

TEST(HintBar, RedMarkedTextIsRedWhileActiveAndSilverWhileNot)
{
    THintBar bar;
    bar.resize(500, 24);
    bar.SetTextCenter(QStringLiteral("#RED#Brak drukarki"));
    Colours active = Count(Grab(bar), bar.TextArea());
    EXPECT_GT(active.red, 20);
    EXPECT_EQ(active.green, 0) << "red throughout";

    bar.SetActive(false);
    const QImage image = Grab(bar);
    Colours inactive = Count(image, bar.TextArea());
    EXPECT_GT(inactive.silver, 20);
    EXPECT_EQ(inactive.red, 0);
    EXPECT_EQ(QColor(image.pixel(bar.TextArea().left() + 1, 1)), QColor(128, 128, 128)) << "grey bar";
    EXPECT_FALSE(bar.AcceptButton()->isEnabled());
    EXPECT_FALSE(bar.HelpButtonWidget()->isEnabled());
}

TEST(HintBar, CentreTextColours)
{
    const struct {
        const char *name;
        QString text;
        bool error;
        bool red, green, yellow;
    } rows[] = {
        {"plain text is green", QStringLiteral("Gotowe"), false, false, true, false},
        {"error state is red with a yellow shadow", QStringLiteral("Błąd"), true, true, false, true},
        {"marks switch colours", QStringLiteral("Strona #YELLOW#5#NORMAL# z 9"), false, false, true, true},
        {"normal mark goes back to green", QStringLiteral("#RED#Uwaga#NORMAL# dalej"), false, true, true, false},
    };
    for (const auto &row : rows) {
        THintBar bar;
        bar.resize(500, 24);
        bar.SetTextCenter(row.text);
        bar.SetErrorState(row.error);
        const Colours c = Count(Grab(bar), bar.TextArea());
        EXPECT_EQ(c.red > 0, row.red) << row.name;
        EXPECT_EQ(c.green > 0, row.green) << row.name;
        EXPECT_EQ(c.yellow > 0, row.yellow) << row.name;
    }
}

TEST(HintBar, SideTextsAreWhiteAtTheEdgesOfTheTextArea)
{
    THintBar bar;
    bar.resize(500, 24);
    bar.SetTextLeft(QStringLiteral("Strona 1"));
    bar.SetTextRight(QStringLiteral("100%"));
    const QImage image = Grab(bar);
    const QRect area = bar.TextArea();
    EXPECT_GT(Count(image, QRect(area.left(), 0, 40, 24)).white, 10);
    EXPECT_GT(Count(image, QRect(area.right() - 30, 0, 30, 24)).white, 10);
    EXPECT_EQ(Count(image, QRect(area.left() + 120, 0, 100, 24)).white, 0);
}

TEST(HintBar, SplitColourMarks)
{
    using P = TColourPiece;
    EXPECT_EQ(SplitColourMarks(QStringLiteral("abc")), (std::vector<P>{{QStringLiteral("abc"), P::Normal}}));
    EXPECT_EQ(SplitColourMarks(QStringLiteral("#RED#a#YELLOW#b#NORMAL#c")),
              (std::vector<P>{
                  {QStringLiteral("a"), P::Red}, {QStringLiteral("b"), P::Yellow}, {QStringLiteral("c"), P::Normal}}));
    // Unknown names and lone "#" are text; adjacent marks leave no empty pieces.
    EXPECT_EQ(SplitColourMarks(QStringLiteral("#BLUE# nr #1")),
              (std::vector<P>{{QStringLiteral("#BLUE# nr #1"), P::Normal}}));
    EXPECT_EQ(SplitColourMarks(QStringLiteral("#RED##YELLOW#x")), (std::vector<P>{{QStringLiteral("x"), P::Yellow}}));
    EXPECT_TRUE(SplitColourMarks(QString()).empty());
}

TEST(HintBar, KeysClickAssignedButtonsAndAreConsumed)
{
    THintBar bar;
    bar.SetTextAccept(QStringLiteral("Drukuj"));
    bar.SetTextCancel(QStringLiteral("Zamknij"));
    int accepts = 0, cancels = 0, helps = 0;
    QObject::connect(&bar, &THintBar::OnAccept, [&] { ++accepts; });
    QObject::connect(&bar, &THintBar::OnCancel, [&] { ++cancels; });
    QTest::keyClick(&bar, Qt::Key_Return);
    QTest::keyClick(&bar, Qt::Key_Escape);
    QTest::keyClick(&bar, Qt::Key_F1); // no OnHelp: consumed, nothing happens
    EXPECT_EQ(accepts, 1);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(helps, 0);
    EXPECT_TRUE(bar.HasAcceptHandler());
    EXPECT_FALSE(bar.HasHelpHandler());
    QTest::keyClick(&bar, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(accepts, 1) << "only without modifiers";
    QObject::connect(&bar, &THintBar::OnHelp, [&] { ++helps; });
    QTest::keyClick(&bar, Qt::Key_F1);
    EXPECT_EQ(helps, 1);
}

TEST(HintBar, TextOperations)
{
    THintBar bar;
    bar.SetErrorState(true);
    bar.ShowMessageText(QStringLiteral("Znaleziono 3 pliki"));
    EXPECT_EQ(bar.TextCenter(), QStringLiteral("Znaleziono 3 pliki"));
    EXPECT_FALSE(bar.ErrorState());
    bar.ShowLeftText(QStringLiteral("Tworzenie stron... 40%"));
    EXPECT_EQ(bar.TextLeft(), QStringLiteral("Tworzenie stron... 40%"));
}
