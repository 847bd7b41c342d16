#pragma once
// The process-wide wait cursor: a nesting counter. Each switch-on must be paired with a
// switch-off on every path; TBusyCursorGuard does the pairing for a scope.

// on adds one, off takes one away (never below 0). Afterwards the cursor is the normal one at 0,
// otherwise the arrow with a small hourglass when this call passed light, else the hourglass.
void BusyCursor(bool on, bool light = false);
int BusyCursorCount();

class TBusyCursorGuard {
public:
    explicit TBusyCursorGuard(bool light = false) : light_(light) { BusyCursor(true, light_); }
    ~TBusyCursorGuard() { BusyCursor(false, light_); }
    TBusyCursorGuard(const TBusyCursorGuard &) = delete;
    TBusyCursorGuard &operator=(const TBusyCursorGuard &) = delete;

private:
    bool light_;
};
