#pragma once
// A data-source command (or a key allocation) failed and its message has been shown: the run
// ends. Thrown by the command, it unwinds the handler that ran it up to the place where Qt called
// into the program, which closes the main window (see CommandBoundary in the window layer).
#include <exception>

class CommandFailed : public std::exception {
public:
    const char* what() const noexcept override { return "A data-source command failed."; }
};
