#pragma once

#include <exception>

// Reports a failure that ended the clerk's operation the way the program's failure handler
// does ("V programu nastala výjimka typu: ..."); the desk then goes on.
void ReportFailure(const std::exception& failure);
