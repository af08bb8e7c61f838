#pragma once
// What a program prints counts only once it has reached its destination: a full disk or a
// closed standard output turns a run into a failure, as it does for the system's own tools.

namespace tesk {

/// Exit status of a run whose printed output could not be written.
inline constexpr int kExitOutputLost = 2;

/// Called first in main. Makes the process flush and close standard output when it exits:
/// when something printed could not be written, it prints "<program>: cannot write the
/// output: <reason>" on stderr and exits with kExitOutputLost instead of the status it was
/// leaving with. A standard stream that was closed at start gets a descriptor that refuses
/// its use, so that no file the program opens later takes its number and receives its text.
void guardStandardStreams(const char* program);

} // namespace tesk
