#include "ui/KrokKomunikatow.h"

#include <QCoreApplication>

namespace {

bool czekaj = true;

// Sets the flag back however the step ends.
struct TBezCzekania {
    TBezCzekania() { czekaj = false; }
    ~TBezCzekania() { czekaj = true; }
    TBezCzekania(const TBezCzekania &) = delete;
    TBezCzekania &operator=(const TBezCzekania &) = delete;
};

} // namespace

bool CzekajNaKomunikaty()
{
    return czekaj;
}

void KrokKomunikatow()
{
    TBezCzekania step;
    // Without WaitForMoreEvents the call never blocks on an empty queue.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
