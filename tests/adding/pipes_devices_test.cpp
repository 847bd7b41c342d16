// Adding (chosen or dropped files) and the chooser's filter on pipes named like printouts.
#include "adding/Dodawanie.h"
#include "platform/base/NativePath.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class Rozmowa : public TRozmowaDodawania {
public:
    QStringList zapis;
    bool PytanieTakNie(const QString &, const QString &tekst) override
    {
        zapis << "pytanie: " + tekst;
        return true;
    }
    void PokazBlad(const QString &, const QString &tekst) override { zapis << "błąd: " + tekst; }
    void PokazBladAplikacji(const QString &komunikat) override { zapis << "Wenoglad: " + komunikat; }
    void Postep(const QString &) override {}
    void Odmaluj() override {}
};

// Runs body in a child process that is stopped after a few seconds, so that a step which waits
// on the pipe fails the test instead of hanging the suite. The child's exit code, or -1 when it
// had to be stopped.
template <typename F> int InChild(F body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(5);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// Dropping a pipe named *.wyd froze the window under an empty wait window: the copy waited on it.
TEST(AddingSpecialFiles, APipeIsRefusedAtOnceWithItsName)
{
    QTemporaryDir dir, library;
    const std::filesystem::path fifo = platform::NativePath(dir.filePath("potok.wyd"));
    const std::filesystem::path pack = platform::NativePath(dir.filePath("paczka.exe"));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(pack.c_str(), 0600), 0);
    const std::filesystem::path target = platform::NativePath(library.path());

    // A printout: the add ends with the error, which reaches the window's error box.
    EXPECT_EQ(InChild([&] {
                  Rozmowa rozmowa;
                  try {
                      DodajPliki({fifo}, target, rozmowa);
                  } catch (const platform::ENotARegularFile &e) {
                      return e.Message().contains(dir.filePath("potok.wyd")) ? 0 : 2;
                  }
                  return 3;
              }),
              0);
    // A package: its error is shown and the add goes on.
    EXPECT_EQ(InChild([&] {
                  Rozmowa rozmowa;
                  DodajPliki({pack}, target, rozmowa);
                  return rozmowa.zapis.size() == 1 && rozmowa.zapis[0].contains("potok nazwany") ? 0 : 2;
              }),
              0);
    // The chooser's filter does not offer either.
    EXPECT_EQ(InChild([&] {
                  QString opis;
                  bool a = true, b = true;
                  ExplorerDodajPlik(fifo, opis, a);
                  ExplorerDodajPlik(pack, opis, b);
                  return !a && !b ? 0 : 2;
              }),
              0);
}
