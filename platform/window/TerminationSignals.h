#pragma once
// SIGINT and SIGTERM (Ctrl-C, a desktop logging out, a system shutting down) as a request to
// end the program that nothing may refuse. The handlers only note the signal; the window
// backends turn it into a Terminate message. The first signal puts the default action back,
// so that a second one ends a program that no longer answers.
namespace platform::window {

// Installs the handlers (again after a signal), keeping the ones the first call replaces;
// calls nest.
void WatchTerminationSignals();
// The last call matching a watch puts the replaced handlers back.
void StopWatchingTerminationSignals();
// True once for each signal noted since the last call.
bool TakeTerminationRequest();

}  // namespace platform::window
