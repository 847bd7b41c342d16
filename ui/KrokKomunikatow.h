#pragma once
// The non-blocking message step: long work on the user-interface thread (building pages, adding
// printouts, searching) calls it at fixed points so that windows repaint and a Close or Esc is
// noticed, without ever waiting for an event that is not there.

// The idle flag: true when the event loop may wait for the next event, false while a message step
// runs. True from start-up on.
bool CzekajNaKomunikaty();

// Handles the events that are pending now and returns at once when there are none. The idle flag
// is false meanwhile and true again afterwards, also when an event handler raised.
void KrokKomunikatow();
