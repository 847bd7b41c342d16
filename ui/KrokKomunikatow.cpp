#include "ui/KrokKomunikatow.h"

#include <QCoreApplication>
#include <QScopeGuard>

namespace {

bool czekaj = true;

} // namespace

bool CzekajNaKomunikaty()
{
    return czekaj;
}

void KrokKomunikatow()
{
    czekaj = false;
    const auto step = qScopeGuard([] { czekaj = true; }); // however the step ends
    // Without WaitForMoreEvents the call never blocks on an empty queue.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
