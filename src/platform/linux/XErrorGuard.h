#pragma once
// Keeps Xlib from ending the program over an error on one connection.
struct _XDisplay;

namespace pelmora {

// Xlib reports errors through process-wide handlers whose defaults end the
// program, a lost server included. While a guard lives, handlers are put in
// that swallow the errors of the guarded connection in this thread (a
// failed request, a window that vanished) and pass any other connection's
// errors on to the handlers the program had. One guard at a time per thread.
class XErrorGuard {
public:
    // `lost`, when given, is set once the guarded connection breaks.
    explicit XErrorGuard(_XDisplay* display, bool* lost = nullptr);
    ~XErrorGuard();
    XErrorGuard(const XErrorGuard&) = delete;
    XErrorGuard& operator=(const XErrorGuard&) = delete;

    // A connection opened inside the guard is guarded from then on. A lost
    // one only comes back to the program if its exit handler returns
    // (XSetIOErrorExitHandler).
    static void guardConnection(_XDisplay* display);
};

}  // namespace pelmora
