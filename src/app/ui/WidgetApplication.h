#pragma once

namespace pelmora {

// Creates the application, the widget window and then the background window,
// and runs the message loop until the widget closes. Returns the exit code.
int runWidget(int& argc, char** argv);

}  // namespace pelmora
