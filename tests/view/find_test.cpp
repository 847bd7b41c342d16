// Finding text in the preview as a user does it: Ctrl+F, typing, Enter and F3 through the matches,
// Esc, and copying with Ctrl+C.
#include "tests/support/LayoutHelpers.h"

#include "print/PrintDlgSettings.h"
#include "view/EmfViewer.h"
#include "view/FindBar.h"
#include "view/PreviewFind.h"
#include "view/uFrmPodglad.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace wydtest;

namespace {

// n one-line items "l1", "l2", ..., 83 to a page.
QString WriteItems(const QString &path, int n)
{
    Document doc = DeviceDocument();
    for (int i = 1; i <= n; ++i) {
        Record item;
        item.Title = BlockOf({TextLine("l" + QByteArray::number(i))});
        doc.Root.Items.push_back(item);
    }
    WriteWyd(path, doc);
    return path;
}

class FindInPreview : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp_.path() + "/conf");
        PrintDlgSettings = TPrintDlgSettings();
        QObject::connect(&frm_, &TFrmPodglad::Drukuj, [this] { ++printed_; });
        frm_.resize(800, 600);
    }
    QLineEdit *Field() const { return frm_.find->Bar()->Field(); }
    QString Count() const { return frm_.find->Bar()->CountText(); }
    // The page of the current match, from 1.
    int MatchPage() const { return frm_.find->Model().Found(frm_.find->Model().Current()).Page + 1; }
    // Whether page nr (from 1) is at least partly in view.
    bool InView(int nr) const
    {
        const TVisiblePages v = VisiblePages(frm_.viewer->VertPos(), frm_.viewer->PageHeight(),
                                             frm_.viewer->ClientHeight(), frm_.viewer->PageCount());
        return nr - 1 >= v.First && nr - 1 < v.First + v.Count;
    }

    QTemporaryDir tmp_;
    int printed_ = 0;
    TFrmPodglad frm_;
};

} // namespace

TEST_F(FindInPreview, MatchScrollsIntoViewNextWrapsAndEscClosesOnlyTheBar)
{
    frm_.UstawPlik(WriteItems(tmp_.filePath("dziesiec.wyd"), 830));
    frm_.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(frm_.viewer->PageCount(), 10);
    ASSERT_TRUE(InView(1));

    QTest::keyClick(frm_.viewer, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(frm_.find->IsOpen());
    EXPECT_TRUE(Field()->hasFocus());
    frm_.find->IndexAll();
    QTest::keyClicks(Field(), "L503"); // item 503 is on page 7
    EXPECT_EQ(Count(), "1 z 1");
    EXPECT_EQ(MatchPage(), 7);
    EXPECT_TRUE(InView(7));
    EXPECT_FALSE(InView(1));
    const QList<TPageMark> marks = frm_.viewer->OnPageMarks(6);
    ASSERT_EQ(marks.size(), 1);
    EXPECT_TRUE(marks[0].Current);
    EXPECT_TRUE(QRectF(QPointF(0, 0), frm_.viewer->Pages()[6]->Size()).contains(marks[0].Rect));

    // "l50" and "l500" to "l509": the first match from the page in view is current.
    Field()->selectAll();
    QTest::keyClicks(Field(), "l50");
    EXPECT_EQ(Count(), "2 z 11");
    QTest::keyClick(Field(), Qt::Key_Return);
    EXPECT_EQ(Count(), "3 z 11");
    EXPECT_EQ(printed_, 0) << "Enter in the find field is no print request";
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(Field(), Qt::Key_F3);
    EXPECT_EQ(Count(), "11 z 11");
    QTest::keyClick(Field(), Qt::Key_F3);
    EXPECT_EQ(Count(), "1 z 11") << "next from the last is the first";
    EXPECT_EQ(MatchPage(), 1);
    EXPECT_TRUE(InView(1));
    QTest::keyClick(Field(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Count(), "11 z 11");
    QTest::keyClick(frm_.viewer, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Count(), "10 z 11");

    QTest::keyClick(Field(), Qt::Key_Escape);
    EXPECT_FALSE(frm_.find->IsOpen());
    EXPECT_TRUE(frm_.isVisible()) << "Esc closed the bar alone";
    EXPECT_TRUE(frm_.viewer->OnPageMarks(6).isEmpty()) << "no marks without the bar";
    QTest::keyClick(frm_.viewer, Qt::Key_Escape);
    EXPECT_FALSE(frm_.isVisible());
}

TEST_F(FindInPreview, SearchStartedDuringTheBuildTakesInLaterPagesAndCtrlCCopies)
{
    frm_.UstawPlik(WriteItems(tmp_.filePath("dziesiec.wyd"), 830));
    frm_.show();
    // Delivered on the build's first message step, with one page built.
    QCoreApplication::postEvent(frm_.viewer, new QKeyEvent(QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier));
    for (const char c : QByteArray("l800"))
        QCoreApplication::postEvent(Field(), new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c))));
    QCoreApplication::processEvents();
    ASSERT_EQ(Field()->text(), "l800");
    QCoreApplication::processEvents();
    EXPECT_EQ(frm_.find->Model().IndexedPages(), 10);
    EXPECT_EQ(Count(), "1 z 1");
    EXPECT_EQ(MatchPage(), 10);
    EXPECT_TRUE(InView(10));

    QTest::keyClick(frm_.viewer, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "l800");
    QTest::keyClick(frm_.viewer, Qt::Key_Escape);
    QTest::keyClick(frm_.viewer, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("l748\nl749\n")) << "the page in view, whole";
    // A selection in the field is the field's to copy.
    QTest::keyClick(frm_.viewer, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(Field(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "l800");
}
