// The viewer's application object and its command line. Has its own main: the application object
// under test must be the only one of the process.
#include "app/Program.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

TEST(QtArguments, EveryArgumentIsTheProgramsOwn)
{
    // "wenoglad -reverse plik.wyd" opened the file mirrored: Qt took "-reverse" as its option.
    char program[] = "wenoglad", reverse[] = "-reverse", style[] = "-style", windows[] = "windows", plik[] = "plik.wyd";
    char *argv[] = {program, reverse, style, windows, plik, nullptr};
    TAplikacja app(5, argv);
    EXPECT_EQ(app.PierwszyArgument(), "-reverse");
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(QCoreApplication::arguments(), QStringList{"wenoglad"});
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
